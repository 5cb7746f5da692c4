#pragma once
// Help window tests: page files in a temporary folder, and clicks on a character of a help view.

#include "help/help_view.h"

#include "support/test_support.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

namespace plotwell {

// A page long enough to scroll: an in-page link at the top, filler lines, contents markers.
inline QString LongPage()
{
    QString html = QStringLiteral("<a name=\"Contents:Intro\"></a><p>Start <a href=#install>Go there</a> now.</p>");
    for (int i = 0; i < 80; ++i)
        html += QStringLiteral("<p>Filler line %1 with some words.</p>").arg(i);
    html += QStringLiteral("<a name=\"Contents:Setup\"></a><p><a name=install></a>Setup begins here.</p>");
    for (int i = 0; i < 80; ++i)
        html += QStringLiteral("<p>More filler %1.</p>").arg(i);
    html += QStringLiteral("<p>The word unique appears once.</p>");
    return html;
}

// The viewport point in the middle of the character at `position`.
inline QPoint PointOfCharacter(HelpView& view, int position)
{
    QTextCursor cursor(view.document());
    cursor.setPosition(position);
    const QRect left = view.cursorRect(cursor);
    cursor.setPosition(position + 1);
    const QRect right = view.cursorRect(cursor);
    const int x = right.y() == left.y() && right.x() > left.x() ? (left.x() + right.x()) / 2 : left.x() + 2;
    return QPoint(x, left.center().y());
}

inline int PositionOf(const HelpView& view, const QString& text)
{
    return static_cast<int>(view.document()->toPlainText().indexOf(text));
}

inline void ClickCharacter(HelpView& view, int position)
{
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, PointOfCharacter(view, position));
}

} // namespace plotwell
