#pragma once
// The information box and the "Verify" yes/no question, through the message sink; a box on
// screen also honours the placement.

#include <QString>

namespace plotwell {

class MessageSink;

// `text`, then "\r\r" and `detail` when there is one; an empty caption is the application's
// title. With x and y not negative the box stands at that screen position.
void ShowInfo(MessageSink& sink, const QString& text, const QString& detail, const QString& caption,
              bool relative = true, int x = -1, int y = -1);

// Captioned "Verify", with Yes and No; true for Yes.
bool VerifyYesNo(MessageSink& sink, const QString& question, const QString& detail, bool relative = true);

} // namespace plotwell
