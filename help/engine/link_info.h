#pragma once
// LinkInfo and the link list: the links, anchors, contents markers and missing images of a page.

#include <QList>
#include <QString>
#include <QtGlobal>

namespace plotwell {

enum LinkKind : quint8 { kUrlLink = 0, kContentsLink = 1, kAnchorLink = 2, kFileLink = 3, kImageLink = 4 };

struct LinkInfo
{
    // Character position of the first character of the link's text.
    qint32 start = 0;
    // Characters of the link's text; 0 until its end tag is met.
    qint32 length = 0;
    LinkKind kind = kUrlLink;
};

// One entry of the link list: the link's target and its record.
struct LinkEntry
{
    QString target;
    LinkInfo info;
};

using LinkList = QList<LinkEntry>;

} // namespace plotwell
