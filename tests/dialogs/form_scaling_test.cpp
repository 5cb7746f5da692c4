#include "dialogs/form_scaling.h"

#include "dialogs/anchors.h"
#include "dialogs/form_position.h"
#include "dialog_test_support.h"
#include "support/test_support.h"

#include <QFont>
#include <QWidget>

#include <gtest/gtest.h>

using plotwell::ScaleStepOfDpi;
using plotwell::AnchorLayout;
using plotwell::FormScaler;
using plotwell::WindowPlacement;

TEST(ScaleStep, ThresholdsOfTheDotsPerInch)
{
    const struct
    {
        qreal dpi;
        int level;
        double amount;
    } cases[] = {{72, 0, 1.0},   {96, 0, 1.0},    {110, 0, 1.0},   {110.4, 0, 1.0}, {111, 1, 1.25}, {120, 1, 1.25},
                 {134, 1, 1.25}, {135, 2, 1.5},   {144, 2, 1.5},   {170, 2, 1.5},   {171, 3, 2.0},  {288, 3, 2.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(ScaleStepOfDpi(c.dpi).level, c.level);
        EXPECT_EQ(ScaleStepOfDpi(c.dpi).amount, c.amount);
    }
}

TEST(ScaleAmount, FollowsTheScreenAndRecordsTheLevel)
{
    FixedScreen screen;
    FormScaler scaler(&screen);
    screen.dpi = 144;
    EXPECT_EQ(scaler.ScaleAmountOf(nullptr), 1.5);
    EXPECT_EQ(scaler.ScaleLevel(), 2);

    // Qt scales high-density screens itself and reports the logical dots per inch that remain.
    FormScaler system;
    EXPECT_EQ(system.ScaleAmountOf(nullptr), 1.0);
    EXPECT_EQ(system.ScaleLevel(), 0);
}

namespace {

class FormScalingTest : public ::testing::Test
{
protected:
    FormScalingTest()
    {
        form_.setGeometry(500, 300, 400, 300);
        button_ = new QWidget(&form_);
        button_->setGeometry(330, 260, 60, 25);
        AnchorLayout::SetAnchors(button_, Qt::RightEdge | Qt::BottomEdge);
        panel_ = new QWidget(&form_);
        panel_->setGeometry(10, 10, 200, 100);
        inner_ = new QWidget(panel_);
        inner_->setGeometry(5, 6, 41, 21);
    }

    FixedScreen screen_;
    FormScaler scaler_{&screen_};
    QWidget form_;
    QWidget* button_;
    QWidget* panel_;
    QWidget* inner_;
};

} // namespace

TEST_F(FormScalingTest, ScalesPositionsSizesAndFontsAndKeepsAnchors)
{
    QFont pixels(QStringLiteral("Sans"));
    pixels.setPixelSize(11);
    form_.setFont(pixels);
    QFont points(QStringLiteral("Sans"), 10);
    points.setBold(true);
    panel_->setFont(points);
    form_.setMinimumSize(350, 280);
    form_.show(); // a shown window passes its resizes on to the anchors at once

    scaler_.ScaleForm(&form_, 3, 2, false);

    EXPECT_EQ(form_.size(), QSize(600, 450));
    EXPECT_EQ(form_.minimumSize(), QSize(525, 420));
    EXPECT_EQ(button_->geometry(), QRect(495, 390, 90, 38));
    EXPECT_EQ(panel_->geometry(), QRect(15, 15, 300, 150));
    EXPECT_EQ(inner_->geometry(), QRect(8, 9, 61, 32)) << "edges scaled: 5..46 -> 8..69, 6..27 -> 9..41";
    EXPECT_EQ(form_.font().pixelSize(), 17) << "11 x 1.5 = 16.5, rounded away from zero";
    EXPECT_EQ(panel_->font().pointSizeF(), 15.0) << "scaled once, not again through its parent";
    EXPECT_TRUE(panel_->font().bold());

    EXPECT_EQ(AnchorLayout::Anchors(button_), Qt::RightEdge | Qt::BottomEdge);
    form_.resize(700, 500);
    EXPECT_EQ(button_->geometry(), QRect(595, 440, 90, 38)) << "anchored from where scaling put it";
}

TEST_F(FormScalingTest, StandardizeFormFontScalesByTheScreenAndLeavesPointFonts)
{
    screen_.dpi = 120;
    QFont points(QStringLiteral("Sans"), 9);
    form_.setFont(points);
    EXPECT_EQ(scaler_.StandardizeFormFont(&form_, false), 1.25);
    EXPECT_EQ(scaler_.LastScaleAmount(), 1.25);
    EXPECT_EQ(scaler_.ScaleLevel(), 1);
    EXPECT_EQ(form_.size(), QSize(500, 375));
    EXPECT_EQ(form_.font().pointSizeF(), 9.0) << "point sizes already follow the dots per inch";

    screen_.dpi = 96;
    form_.move(-30, 2000);
    EXPECT_EQ(scaler_.StandardizeFormFont(&form_, false), 1.0);
    EXPECT_EQ(form_.size(), QSize(500, 375));
    EXPECT_EQ(form_.pos(), QPoint(0, 1040 - 375)) << "100/100 still keeps it on the work area";
}

TEST_F(FormScalingTest, KeepsCentredWindowsCentredAndWindowsOnTheWorkArea)
{
    struct Case
    {
        const char* name;
        bool centred;
        QRect start;
        int m;
        QRect expected;
        QRect workArea = QRect(0, 0, 1920, 1040);
    };
    const Case cases[] = {
        {"inside, unscaled", false, QRect(100, 100, 400, 300), 100, QRect(100, 100, 400, 300)},
        {"centred grows 200 x 150", true, QRect(500, 300, 400, 300), 150, QRect(400, 225, 600, 450)},
        {"centred shrinks", true, QRect(500, 300, 400, 300), 50, QRect(600, 375, 200, 150)},
        {"past the bottom after scaling", false, QRect(100, 700, 400, 300), 150, QRect(100, 590, 600, 450)},
        {"past the right", false, QRect(1700, 100, 400, 300), 100, QRect(1520, 100, 400, 300)},
        {"above and left of the area", false, QRect(-50, -20, 400, 300), 100, QRect(0, 0, 400, 300)},
        {"larger than the area", false, QRect(10, 10, 1500, 900), 150, QRect(0, 0, 2250, 1350)},
        {"centred and still fitting stays centred", true, QRect(1400, 100, 400, 300), 150, QRect(1300, 25, 600, 450)},
        {"work area of a second monitor", false, QRect(1900, 50, 400, 300), 100, QRect(1920, 50, 400, 300),
         QRect(1920, 0, 1280, 1024)},
        {"no monitor", false, QRect(-50, -20, 400, 300), 100, QRect(0, 0, 400, 300), QRect()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen_.workArea = c.workArea;
        QWidget form;
        form.setGeometry(c.start);
        plotwell::SetFormPosition(form, c.centred ? WindowPlacement::ScreenCenter : WindowPlacement::Designed);
        scaler_.ScaleForm(&form, c.m, 100, false);
        EXPECT_EQ(form.geometry(), c.expected);
    }
}

TEST_F(FormScalingTest, ZeroOverZeroLeavesTheWindowAlone)
{
    form_.move(-50, 5000);
    scaler_.ScaleForm(&form_, 0, 0, false);
    scaler_.ScaleForm(&form_, 0, 100, false);
    EXPECT_EQ(form_.geometry(), QRect(-50, 5000, 400, 300));
}
