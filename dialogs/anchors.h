#pragma once
// AnchorLayout: keeps each child at its distance from the parent edges it is anchored to when the
// parent resizes, as windows laid out with pixel positions need.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace plotwell {

class AnchorLayout : public QObject
{
    Q_OBJECT

public:
    // Anchors `child` to `edges` of its parent, measured from where both are now; call it again
    // after moving the child in code. Left and top alone (the default) leave the child in place.
    // An axis with neither edge keeps the child's centre at the same fraction of the parent.
    static void SetAnchors(QWidget* child, Qt::Edges edges);
    static Qt::Edges Anchors(const QWidget* child);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Anchored
    {
        QPointer<QWidget> child;
        Qt::Edges edges;
        QRect rect;       // the child's geometry when anchored
        QSize parentSize; // the parent's size then
    };

    explicit AnchorLayout(QWidget* parent);
    static AnchorLayout* Of(const QWidget* parent);
    void Follow(QSize parentSize);

    QList<Anchored> anchored_;
};

} // namespace plotwell
