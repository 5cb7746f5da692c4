// The help dialog component: creating, showing and following its window.

#include "help/help_dialog.h"

#include "core/recording_launcher.h"
#include "core/recording_sink.h"
#include "help_test_support.h"

#include <QListWidget>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

class MfHelpDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        page = dir.filePath(QStringLiteral("plotwell help.html"));
        WriteFile(page, LongPage().toUtf8());
        help.SetHTMLFileName(page);
    }

    QTemporaryDir dir;
    QString page;
    QWidget owner;
    RecordingSink sink;
    RecordingLauncher launcher;
    HelpDialog help{sink, launcher, &owner};
};

TEST_F(MfHelpDialogTest, DefaultsOfTheComponent)
{
    EXPECT_EQ(help.Title(), u"Help");
    EXPECT_EQ(help.FormWidth(), 700);
    EXPECT_EQ(help.FormHeight(), 600);
    EXPECT_EQ(help.Position(), WindowPlacement::ScreenCenter);
    EXPECT_EQ(help.SizeGrip(), SizeGripKind::StatusBar);
    EXPECT_TRUE(help.AllowCopy());
    EXPECT_TRUE(help.ItalicHeading());
    EXPECT_DOUBLE_EQ(help.LeftMargin(), 0.3);
    EXPECT_DOUBLE_EQ(help.RightMargin(), 0.9);
    EXPECT_FALSE(help.ShowModal());
    EXPECT_FALSE(help.HelpDialogCreated());
    EXPECT_TRUE(help.IsEmpty());
}

TEST_F(MfHelpDialogTest, ExecuteTwiceBringsTheWindowForwardWithoutReloading)
{
    EXPECT_TRUE(help.Execute());
    ASSERT_TRUE(help.Visible());
    help.AddText(QStringLiteral("added later"));
    EXPECT_FALSE(help.Execute());
    EXPECT_TRUE(help.Text().contains(QStringLiteral("added later")));
    EXPECT_TRUE(sink.Messages().isEmpty());
}

TEST_F(MfHelpDialogTest, TopicsSelectTheirEntryOrAreReportedMissing)
{
    EXPECT_FALSE(help.ShowHelpTopic(QStringLiteral("  ")));
    EXPECT_FALSE(help.HelpDialogCreated());

    EXPECT_TRUE(help.ShowHelpTopic(QStringLiteral(" Setup ")));
    EXPECT_EQ(help.helpWindow->contentslb->currentRow(), 1);
    EXPECT_TRUE(sink.Messages().isEmpty());
    help.JumpToTopic(QStringLiteral("Nowhere"));
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Topic not found")});
    help.helpWindow->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    sink.Clear();
    EXPECT_TRUE(help.Execute(QStringLiteral("Nowhere")));
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Topic not found")});
}

TEST_F(MfHelpDialogTest, TextBuiltBeforeExecuteIsShownInsteadOfTheFile)
{
    help.AddText(QStringLiteral("Built in code"));
    EXPECT_TRUE(help.HelpDialogCreated());
    EXPECT_FALSE(help.Visible());
    EXPECT_TRUE(help.Execute());
    EXPECT_EQ(help.Text(), u"Built in code");
    EXPECT_FALSE(help.IsEmpty());
}

TEST_F(MfHelpDialogTest, MissingPageIsReportedAndNoWindowShown)
{
    for (bool modal : {false, true}) {
        sink.Clear();
        help.SetShowModal(modal);
        help.SetHTMLFileName(dir.filePath(QStringLiteral("none.html")));
        EXPECT_FALSE(help.Execute()) << modal;
        EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("File not found.\r\n\r\n") + dir.filePath(QStringLiteral("none.html"))});
        EXPECT_FALSE(help.Visible());
        EXPECT_FALSE(help.HelpDialogCreated());
    }
    // Text built in code is shown all the same.
    sink.Clear();
    help.SetShowModal(false);
    help.AddText(QStringLiteral("Built in code"));
    EXPECT_TRUE(help.Execute());
    EXPECT_TRUE(help.Visible());
}

TEST_F(MfHelpDialogTest, ClosingReleasesTheWindowAndTheNextOneComesBackWhereItWas)
{
    help.SetPosition(WindowPlacement::Designed);
    ASSERT_TRUE(help.Execute());
    help.helpWindow->move(40, 30);
    help.helpWindow->resize(620, 480);
    help.helpWindow->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(help.HelpDialogCreated());
    EXPECT_EQ(help.FormLeft(), 40);
    EXPECT_EQ(help.FormWidth(), 620);

    ASSERT_TRUE(help.Execute());
    EXPECT_EQ(help.helpWindow->pos(), QPoint(40, 30));
    EXPECT_EQ(help.helpWindow->size(), QSize(620, 480));
    EXPECT_EQ(help.helpWindow->contentslb->count(), 2);
}

TEST_F(MfHelpDialogTest, AWindowOffTheScreenComesBack)
{
    help.SetPosition(WindowPlacement::Designed);
    help.SetFormLeft(-650);
    help.SetFormTop(-570);
    ASSERT_TRUE(help.Execute());
    EXPECT_EQ(help.helpWindow->pos(), QPoint(0, 0));
}

TEST_F(MfHelpDialogTest, ModalWindowJumpsToTheTopicAndIsGoneAfterwards)
{
    help.SetShowModal(true);
    int row = -1;
    QTimer::singleShot(0, [&] {
        row = help.helpWindow->contentslb->currentRow();
        help.helpWindow->close();
    });
    EXPECT_TRUE(help.Execute(QStringLiteral("setup")));
    EXPECT_EQ(row, 1);
    EXPECT_FALSE(help.HelpDialogCreated());
    EXPECT_TRUE(sink.Messages().isEmpty());
}

} // namespace
