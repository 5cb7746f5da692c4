#include "dialogs/plain_text.h"

#include <QTextDocument>

namespace plotwell {

QString PlainTextHint(const QString& text)
{
    // A tooltip that merely looks like markup is laid out as rich text, pictures and all: a
    // series named <img src="/dev/zero"> would read that device without end.
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

} // namespace plotwell
