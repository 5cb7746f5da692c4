// The About window, its component and the link label.

#include "dialogs/about_window.h"
#include "dialogs/about_dialog.h"
#include "dialogs/url_label.h"

#include "core/recording_launcher.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

class AboutDialogTest : public ::testing::Test
{
protected:
    RecordingLauncher launcher;
    AboutDialog about{launcher, nullptr};
};

TEST_F(AboutDialogTest, DefaultsOfTheComponent)
{
    EXPECT_EQ(about.Title(), u"About this program");
    EXPECT_EQ(about.ProgramName(), u"Program Name");
    EXPECT_EQ(about.VersionString(), u"v1.0");
    EXPECT_EQ(about.FilesLocationText(), u"Data files location");
    EXPECT_EQ(about.Position(), WindowPlacement::ScreenCenter);
    EXPECT_TRUE(about.DataPath().isEmpty());
    EXPECT_FALSE(about.CopyrightMessage().isEmpty());
}

TEST_F(AboutDialogTest, WithoutDataPathTheWindowIsFiftyPixelsShorter)
{
    about.SetProgramName(QStringLiteral("Plotwell"));
    about.SetVersionString(QStringLiteral("1.11"));
    const auto form = about.BuildForm();
    EXPECT_EQ(form->windowTitle(), u"About this program");
    EXPECT_EQ(form->productname->text(), u"Plotwell");
    EXPECT_EQ(form->version->text(), u"1.11");
    EXPECT_EQ(form->size(), QSize(377, 265));
    EXPECT_EQ(form->okButton->geometry(), QRect(142, 224, 92, 31));
    EXPECT_EQ(form->bevel1->y(), 214);
    EXPECT_TRUE(form->pathedit->isHidden());
    EXPECT_TRUE(form->datalocationlabel->isHidden());
    EXPECT_TRUE(form->upDown1->isHidden());
}

TEST_F(AboutDialogTest, DataPathRowShowsThePathFromItsStartAndTheArrowsMoveToEitherEnd)
{
    const QString path = QStringLiteral("/home/someone/.local/share/Plotwell/a/rather/long/folder/name/for/data/files");
    about.SetDataPath(path);
    about.SetFilesLocationText(QStringLiteral("Data folder"));
    const auto form = about.BuildForm();
    form->show();
    EXPECT_EQ(form->size(), QSize(377, 315));
    EXPECT_EQ(form->okButton->y(), 274);
    EXPECT_EQ(form->datalocationlabel->text(), u"Data folder:");
    EXPECT_EQ(form->pathedit->text(), path);
    EXPECT_EQ(form->pathedit->cursorPosition(), 0);
    QTest::mouseClick(form->upDown1->findChild<QWidget*>(QStringLiteral("UpDown1Right")), Qt::LeftButton);
    EXPECT_EQ(form->pathedit->cursorPosition(), path.size());
    QTest::mouseClick(form->upDown1->findChild<QWidget*>(QStringLiteral("UpDown1Left")), Qt::LeftButton);
    EXPECT_EQ(form->pathedit->cursorPosition(), 0);
}

TEST_F(AboutDialogTest, BlankVersionAndNoticeAreHidden)
{
    about.SetVersionString(QStringLiteral("  "));
    about.SetCopyrightMessage(QString());
    about.SetEmailAddress(QString());
    const auto form = about.BuildForm();
    EXPECT_TRUE(form->version->isHidden());
    EXPECT_TRUE(form->copyrightlabel->isHidden());
    EXPECT_TRUE(form->emaillabel->isHidden());
    EXPECT_EQ(form->productname->geometry(), QRect(16, 10, 337, 31));
}

TEST_F(AboutDialogTest, EmailLinkOpensAMessageWithTheSubject)
{
    about.SetEmailAddress(QStringLiteral("help@example.org"));
    about.SetEmailSubject(QStringLiteral("Plotwell 1.11"));
    const auto form = about.BuildForm();
    form->show();
    QTest::mouseClick(form->emaillabel, Qt::LeftButton);
    EXPECT_EQ(launcher.urls, QStringList{QStringLiteral("mailto:help@example.org?subject=Plotwell%201.11")});
    QTest::mouseClick(form->pagelabel, Qt::LeftButton);
    EXPECT_EQ(launcher.urls.last(), QString::fromLatin1(AboutWindow::kSoftwarePage));
}

TEST_F(AboutDialogTest, ExecuteShowsTheWindowModallyUntilOk)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        ASSERT_NE(about.Form(), nullptr);
        seen = about.Form()->isVisible();
        QTest::keyClick(about.Form(), Qt::Key_Return);
    });
    EXPECT_TRUE(about.Execute());
    EXPECT_TRUE(seen);
    EXPECT_EQ(about.Form(), nullptr);
}

struct LabelCase
{
    const char* url;
    const char* email;
    const char* subject;
    const char* opened; // empty: nothing opens
};

class URLLabelTest : public ::testing::TestWithParam<LabelCase>
{
};

TEST_P(URLLabelTest, OpensAPageOrANewMessage)
{
    RecordingLauncher launcher;
    URLLabel label(launcher);
    label.SetURL(QString::fromUtf8(GetParam().url));
    label.SetEmailAddress(QString::fromUtf8(GetParam().email));
    label.SetEmailSubject(QString::fromUtf8(GetParam().subject));
    label.resize(200, 20);
    label.show();
    int clicks = 0;
    QObject::connect(&label, &URLLabel::clicked, [&] { ++clicks; });
    QTest::mouseClick(&label, Qt::LeftButton);
    const QString opened = QString::fromUtf8(GetParam().opened);
    EXPECT_EQ(launcher.urls, opened.isEmpty() ? QStringList() : QStringList{opened});
    EXPECT_EQ(clicks, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, URLLabelTest,
    ::testing::Values(LabelCase{"https://example.org", "", "", "https://example.org"},
                      // An address in URL opens a new message.
                      LabelCase{"someone@example.org", "", "Hi", "mailto:someone@example.org?subject=Hi"},
                      // An e-mail address beginning with "@" is not used: the URL is.
                      LabelCase{"https://example.org", "@example.org", "", "https://example.org"},
                      LabelCase{"", "a@b.org", "", "mailto:a@b.org"},
                      LabelCase{"file:///etc/passwd", "", "", ""}, LabelCase{"", "", "", ""}));

TEST(URLLabel, PointerHighlightsAndTheKeyboardFollowsTheLink)
{
    RecordingLauncher launcher;
    URLLabel label(launcher);
    label.SetURL(QStringLiteral("https://example.org"));
    EXPECT_EQ(label.text(), u"https://example.org");
    EXPECT_EQ(label.FontColor(), RGBToColor(56, 121, 190));
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    label.show();
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&label, &enter);
    EXPECT_TRUE(label.font().underline());
    EXPECT_EQ(label.FontColor(), RGBToColor(255, 0, 0));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&label, &leave);
    EXPECT_FALSE(label.font().underline());
    EXPECT_EQ(label.FontColor(), RGBToColor(56, 121, 190));
    QTest::keyClick(&label, Qt::Key_Space);
    EXPECT_EQ(launcher.urls, QStringList{QStringLiteral("https://example.org")});
}

} // namespace
