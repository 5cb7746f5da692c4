// The help window: contents list, layout, search, copying and its keys.

#include "help/help_window.h"

#include "core/recording_launcher.h"
#include "core/recording_sink.h"
#include "dialogs/find_dialog.h"
#include "help_test_support.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

class HelpDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.SetTitle(QStringLiteral("Plotwell Help"));
        window.show();
    }

    HelpView& view() { return *window.helpView; }
    int TopLine() { return view().GetScrollLine(); }

    RecordingSink sink;
    RecordingLauncher launcher;
    HelpWindow window{sink, launcher};
};

TEST_F(HelpDialogTest, ShowsTheTitleAndLaysOutTheDesignedControls)
{
    EXPECT_EQ(window.windowTitle(), u"Plotwell Help");
    EXPECT_EQ(window.size(), QSize(682, 518));
    EXPECT_TRUE(window.sb->isVisible());
    EXPECT_EQ(window.closebtn->geometry().bottom() + 1, window.sb->y() - 6);
    EXPECT_EQ(window.backbtn->y(), view().geometry().bottom() + 1);
    EXPECT_EQ(window.closebtn->geometry().right() + 1, view().geometry().right() + 2);
    window.resize(800, 600);
    EXPECT_EQ(window.closebtn->geometry().bottom() + 1, 600 - 19 - 6);
    EXPECT_EQ(view().geometry().right() + 1, 800 - 16);
}

TEST_F(HelpDialogTest, PageWithoutContentsHidesTheListAndWidensTheView)
{
    window.AddHTML(QStringLiteral("<p>No markers</p>"), true);
    EXPECT_FALSE(window.contentslb->isVisible());
    EXPECT_FALSE(window.contentslabel->isVisible());
    EXPECT_EQ(view().x(), 16);
    EXPECT_EQ(view().width(), window.width() - 32);

    window.AddHTML(LongPage(), true);
    EXPECT_TRUE(window.contentslb->isVisible());
    EXPECT_EQ(view().x(), 184);
    EXPECT_EQ(window.contentslb->count(), 2);
}

TEST_F(HelpDialogTest, ContentsListJumpsToItsEntry)
{
    window.AddHTML(LongPage(), true);
    const QRect item = window.contentslb->visualItemRect(window.contentslb->item(1));
    QTest::mouseClick(window.contentslb->viewport(), Qt::LeftButton, {}, item.center());
    const int setup = view().Contents()[1].start;
    EXPECT_EQ(TopLine(), view().LineOf(setup));
    EXPECT_EQ(view().HistoryEntry(1), setup);

    window.AddHTML(LongPage(), true);
    EXPECT_TRUE(window.JumpToContentItem(QStringLiteral(" setup ")));
    EXPECT_EQ(window.contentslb->currentRow(), 1);
    EXPECT_EQ(TopLine(), view().LineOf(setup));
    EXPECT_FALSE(window.JumpToContentItem(QStringLiteral("Nowhere")));

    // From the keyboard: the first letters of an entry and Enter (the arrows scroll the text).
    window.AddHTML(LongPage(), true);
    window.contentslb->setFocus();
    QTest::keyClicks(window.contentslb, QStringLiteral("se"));
    EXPECT_EQ(window.contentslb->currentRow(), 1);
    QTest::keyClick(window.contentslb, Qt::Key_Return);
    EXPECT_EQ(TopLine(), view().LineOf(setup));
}

TEST_F(HelpDialogTest, SearchWrapsAroundAfterAskingAndReportsAWordNotThere)
{
    window.AddHTML(LongPage(), true);
    QTest::mouseClick(window.findbtn, Qt::LeftButton);
    ASSERT_TRUE(window.helpFindDialog->isVisible());
    const int unique = PositionOf(view(), QStringLiteral("unique"));

    emit window.helpFindDialog->findNext(QStringLiteral("unique"), false);
    EXPECT_EQ(view().textCursor().selectionStart(), unique);
    EXPECT_EQ(view().textCursor().selectedText(), u"unique");
    sink.QueueAnswer(true);
    emit window.helpFindDialog->findNext(QStringLiteral("unique"), false);
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Item not found. Start again at the beginning?")});
    EXPECT_EQ(view().textCursor().selectionStart(), unique);

    // No: the search box closes and the caret goes back to where it was.
    sink.QueueAnswer(false);
    emit window.helpFindDialog->findNext(QStringLiteral("unique"), false);
    EXPECT_FALSE(window.helpFindDialog->isVisible());
    EXPECT_EQ(view().CaretPosition(), 0);

    sink.Clear();
    QTest::keyClick(&view(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(window.helpFindDialog->isVisible());
    emit window.helpFindDialog->findNext(QStringLiteral("Unique"), true);
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Could not find \"Unique\"")});
}

TEST_F(HelpDialogTest, CopyingRefusedWhenNotAllowed)
{
    window.AddHTML(LongPage(), true);
    view().selectAll();
    QApplication::clipboard()->setText(QStringLiteral("before"));
    window.SetAllowCopy(false);
    EXPECT_FALSE(window.copybtn->isVisible());
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Sorry, copying text not enabled.")});
    EXPECT_EQ(QApplication::clipboard()->text(), u"");
    EXPECT_FALSE(view().textCursor().hasSelection());

    window.SetAllowCopy(true);
    EXPECT_TRUE(window.copybtn->isVisible());
    QTest::mouseClick(window.copybtn, Qt::LeftButton);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("\r\n\r\nStart Go there now.\r\n\r\nFiller line 0")));
}

TEST_F(HelpDialogTest, KeysScrollTheTextAlsoFromTheContentsList)
{
    window.AddHTML(LongPage(), true);
    window.contentslb->setCurrentRow(0);
    window.contentslb->setFocus();
    QScrollBar* bar = view().verticalScrollBar();
    QTest::keyClick(window.contentslb, Qt::Key_Down);
    EXPECT_EQ(bar->value(), bar->singleStep());
    EXPECT_EQ(window.contentslb->currentRow(), 0);
    QTest::keyClick(window.contentslb, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), bar->singleStep() + bar->pageStep());
    QTest::keyClick(window.contentslb, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(bar->value(), 0);
    QTest::keyClick(window.contentslb, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(bar->value(), bar->maximum());
    QTest::keyClick(window.contentslb, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(HelpDialogTest, WheelScrollsTheTextByLinesAndStepsThroughTheContents)
{
    window.AddHTML(LongPage(), true);
    QScrollBar* bar = view().verticalScrollBar();
    const QPoint centre = view().viewport()->rect().center();
    QWheelEvent down(centre, view().viewport()->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view().viewport(), &down);
    EXPECT_EQ(bar->value(), QApplication::wheelScrollLines() * bar->singleStep());

    window.contentslb->setCurrentRow(0);
    const QPoint list = window.contentslb->viewport()->rect().center();
    QWheelEvent listDown(list, window.contentslb->viewport()->mapToGlobal(list), QPoint(), QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window.contentslb->viewport(), &listDown);
    QCoreApplication::sendEvent(window.contentslb->viewport(), &listDown);
    EXPECT_EQ(window.contentslb->currentRow(), 1);
}

TEST_F(HelpDialogTest, StatusBarOnlyWithItsSizeGrip)
{
    window.SetSizeGrip(SizeGripKind::Custom);
    EXPECT_FALSE(window.sb->isVisible());
    EXPECT_EQ(window.closebtn->geometry().bottom() + 1, window.height() - 6);
    window.SetSizeGrip(SizeGripKind::None);
    EXPECT_FALSE(window.sb->isVisible());
    window.SetSizeGrip(SizeGripKind::StatusBar);
    EXPECT_TRUE(window.sb->isVisible());
}

TEST_F(HelpDialogTest, StatusBarTextIsHeardByAScreenReader)
{
    window.AddHTML(QStringLiteral("<p>See <a href=\"https://example.org/help\">the site</a>.</p>"), true);
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(window.sb);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->text(QAccessible::Name), QStringLiteral("Link target"));
    const auto hover = [&](int position) {
        const QPoint at = position < 0 ? QPoint(2, view().viewport()->height() - 2) : PointOfCharacter(view(), position);
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(view().viewport()->mapToGlobal(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view().viewport(), &move);
    };
    hover(PositionOf(view(), QStringLiteral("site")));
    const QString target = QStringLiteral("https://example.org/help");
    ASSERT_EQ(window.sb->currentMessage(), target);
    EXPECT_EQ(bar->text(QAccessible::Name), target);
    EXPECT_EQ(bar->text(QAccessible::Description), QStringLiteral("Link target"));
    hover(-1);
    EXPECT_EQ(window.sb->currentMessage(), QString());
    EXPECT_EQ(bar->text(QAccessible::Name), QStringLiteral("Link target"));
}

} // namespace
