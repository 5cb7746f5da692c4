#pragma once
// TLinkInfo and the link list: the links, anchors, contents markers and missing images of a page.

#include <QList>
#include <QString>
#include <QtGlobal>

namespace plotwell {

enum TLinkKind : quint8 { lkURL = 0, lkContents = 1, lkAnchor = 2, lkFile = 3, lkImage = 4 };

struct TLinkInfo
{
    // Character position of the first character of the link's text.
    qint32 Start = 0;
    // Characters of the link's text; 0 until its end tag is met.
    qint32 Length = 0;
    TLinkKind Kind = lkURL;
};

// One entry of the link list: the link's target and its record.
struct TLinkEntry
{
    QString Target;
    TLinkInfo Info;
};

using TLinkList = QList<TLinkEntry>;

} // namespace plotwell
