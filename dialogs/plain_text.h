#pragma once
// Texts that come from files and command lines, made safe for widgets that take text which
// looks like markup for rich text (tooltips above all): they always show exactly their characters.

#include <QString>

namespace plotwell {

// What to hand to setToolTip so that `text` shows as written: itself when Qt would show it as
// plain text anyway, otherwise rich text that holds nothing but `text`, escaped, unwrapped.
QString PlainTextHint(const QString& text);

} // namespace plotwell
