#include "dialogs/anchors.h"

#include "core/rounding.h"

#include <QEvent>
#include <QResizeEvent>

#include <utility>

namespace plotwell {

namespace {

constexpr Qt::Edges kDefaultAnchors = Qt::LeftEdge | Qt::TopEdge;

// One axis: where the child starts and how long it is, for a parent that grew by `growth`.
std::pair<int, int> FollowAxis(bool nearEdge, bool farEdge, int start, int length, int oldParent, int newParent)
{
    const int growth = newParent - oldParent;
    if (nearEdge && farEdge)
        return {start, qMax(0, length + growth)};
    if (farEdge)
        return {start + growth, length};
    if (nearEdge || oldParent <= 0)
        return {start, length};
    const double centre = (start + length / 2.0) * newParent / oldParent;
    return {static_cast<int>(Round(centre - length / 2.0)), length};
}

} // namespace

AnchorLayout::AnchorLayout(QWidget* parent) : QObject(parent)
{
    parent->installEventFilter(this);
}

AnchorLayout* AnchorLayout::Of(const QWidget* parent)
{
    return parent ? parent->findChild<AnchorLayout*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void AnchorLayout::SetAnchors(QWidget* child, Qt::Edges edges)
{
    QWidget* parent = child ? child->parentWidget() : nullptr;
    if (!parent)
        return;
    AnchorLayout* anchors = Of(parent);
    if (anchors)
        anchors->anchored_.removeIf([child](const Anchored& a) { return a.child == child || a.child.isNull(); });
    if (edges == kDefaultAnchors)
        return;
    if (!anchors)
        anchors = new AnchorLayout(parent);
    anchors->anchored_.append({child, edges, child->geometry(), parent->size()});
}

Qt::Edges AnchorLayout::Anchors(const QWidget* child)
{
    if (const AnchorLayout* anchors = Of(child ? child->parentWidget() : nullptr))
        for (const Anchored& a : anchors->anchored_)
            if (a.child == child)
                return a.edges;
    return kDefaultAnchors;
}

bool AnchorLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == parent())
        Follow(static_cast<QResizeEvent*>(event)->size());
    return QObject::eventFilter(watched, event);
}

void AnchorLayout::Follow(QSize parentSize)
{
    for (const Anchored& a : std::as_const(anchored_)) {
        if (a.child.isNull())
            continue;
        const auto [x, width] = FollowAxis(a.edges & Qt::LeftEdge, a.edges & Qt::RightEdge, a.rect.x(), a.rect.width(),
                                           a.parentSize.width(), parentSize.width());
        const auto [y, height] = FollowAxis(a.edges & Qt::TopEdge, a.edges & Qt::BottomEdge, a.rect.y(), a.rect.height(),
                                            a.parentSize.height(), parentSize.height());
        a.child->setGeometry(x, y, width, height);
    }
}

} // namespace plotwell
