#include "dialogs/message_utils.h"

#include "dialogs/message_box_sink.h"

namespace plotwell {

// Only boxes on screen have a place; every other sink gets the texts alone.

void ShowInfo(MessageSink& sink, const QString& text, const QString& detail, const QString& caption, bool relative,
              int x, int y)
{
    if (auto* boxes = dynamic_cast<MessageBoxSink*>(&sink))
        boxes->ShowInfoBox(text, detail, caption, relative, x, y);
    else
        sink.ShowInfo(text, detail, caption);
}

bool VerifyYesNo(MessageSink& sink, const QString& question, const QString& detail, bool relative)
{
    if (auto* boxes = dynamic_cast<MessageBoxSink*>(&sink))
        return boxes->VerifyBox(question, detail, relative);
    return sink.VerifyYesNo(question, detail);
}

} // namespace plotwell
