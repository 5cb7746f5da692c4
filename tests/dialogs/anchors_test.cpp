#include "dialogs/anchors.h"

#include "dialog_test_support.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using plotwell::AnchorLayout;

TEST(Anchors, ChildrenKeepTheirDistanceToTheEdgesTheyAreAnchoredTo)
{
    struct Case
    {
        const char* name;
        Qt::Edges edges;
        QRect expected; // child at (100, 100) 60 x 20 in a 400 x 300 parent that grows to 500 x 350
    };
    const Case cases[] = {
        {"left top", Qt::LeftEdge | Qt::TopEdge, QRect(100, 100, 60, 20)},
        {"right top", Qt::RightEdge | Qt::TopEdge, QRect(200, 100, 60, 20)},
        {"right bottom", Qt::RightEdge | Qt::BottomEdge, QRect(200, 150, 60, 20)},
        {"left right", Qt::LeftEdge | Qt::RightEdge | Qt::TopEdge, QRect(100, 100, 160, 20)},
        {"all four", Qt::LeftEdge | Qt::RightEdge | Qt::TopEdge | Qt::BottomEdge, QRect(100, 100, 160, 70)},
        {"none: centre stays in proportion", {}, QRect(132, 118, 60, 20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        window.resize(400, 300);
        auto* child = new QWidget(&window);
        child->setGeometry(100, 100, 60, 20);
        AnchorLayout::SetAnchors(child, c.edges);
        EXPECT_EQ(AnchorLayout::Anchors(child), c.edges);
        window.show();
        window.resize(500, 350);
        EXPECT_EQ(child->geometry(), c.expected);
        window.resize(400, 300);
        EXPECT_EQ(child->geometry(), QRect(100, 100, 60, 20)) << "back where it started";
    }
}

TEST(Anchors, AnchoringAgainMeasuresFromTheNewPlace)
{
    QWidget window;
    window.resize(400, 300);
    auto* button = new QWidget(&window);
    button->setGeometry(300, 10, 60, 20);
    AnchorLayout::SetAnchors(button, Qt::RightEdge | Qt::TopEdge);
    window.show();
    button->move(200, 10);
    AnchorLayout::SetAnchors(button, Qt::RightEdge | Qt::TopEdge);
    window.resize(450, 300);
    EXPECT_EQ(button->geometry(), QRect(250, 10, 60, 20));

    AnchorLayout::SetAnchors(button, Qt::LeftEdge | Qt::TopEdge);
    window.resize(300, 300);
    EXPECT_EQ(button->geometry(), QRect(250, 10, 60, 20)) << "left and top: stays put";
}
