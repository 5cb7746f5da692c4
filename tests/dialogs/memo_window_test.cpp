#include "memo_test_support.h"
#include "support/test_support.h"

#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QStatusBar>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

using plotwell::FindDialog;

namespace {

const QString kOverwrite = QStringLiteral("File exists. Are you sure you want to overwrite it?");
const QString kCancelQuestion = QStringLiteral("Text has been changed.  Are you sure you want to cancel?");
const QString kWrapQuestion = QStringLiteral("Item not found. Start again at the beginning?");

} // namespace

TEST_F(MemoWindowTest, StatusLineShowsCaretAndHowFull)
{
    struct Case
    {
        const char* name;
        int maxLength;
        bool lineAndCol;
        bool percent;
        QString text;
        int caret;
        QString expected;
    };
    const QString fifty(50, QLatin1Char('x'));
    const Case cases[] = {
        {"empty, no limit", 0, true, true, QString(), 0, QStringLiteral(" Line: 1  Col: 1")},
        {"second line, no limit", 0, true, true, QStringLiteral("abc\r\ndefg"), 7, QStringLiteral(" Line: 2  Col: 4")},
        {"limit, caret and percentage", 100, true, true, fifty, 50, QStringLiteral(" Line: 1  Col: 51    50 % full")},
        {"limit, percentage only", 100, false, true, fifty, 0, QStringLiteral("  50 % full")},
        {"half rounds to even: 12.5", 8, false, true, QStringLiteral("x"), 0, QStringLiteral("  12 % full")},
        {"half rounds to even: 37.5", 8, false, true, QStringLiteral("xxx"), 0, QStringLiteral("  38 % full")},
        {"limit with percentage off", 100, true, false, fifty, 0, QStringLiteral(" Line: 1  Col: 1")},
        {"nothing to show", 100, false, false, fifty, 0, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor->SetMaxLength(c.maxLength);
        form->SetShowLineAndColNums(c.lineAndCol);
        form->SetShowPercentageFull(c.percent);
        editor->SetText(c.text);
        PlaceCaret(c.caret);
        EXPECT_EQ(form->StatusText(), c.expected);
    }
}

TEST_F(MemoWindowTest, TypingStopsAtTheLimitAndTheStatusFollowsTheCaret)
{
    ShowActive();
    editor->SetMaxLength(4);
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("abcdef"));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("abcd"));
    EXPECT_EQ(form->StatusText(), QStringLiteral(" Line: 1  Col: 5    100 % full"));
    QTest::keyClick(editor, Qt::Key_Left);
    EXPECT_EQ(form->StatusText(), QStringLiteral(" Line: 1  Col: 4    100 % full"));
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(editor->textCursor().selectedText(), QStringLiteral("abcd"));
}

// Opens the find box with Ctrl+F and asks for `text` with its Find Next button.
class MemoFindTest : public MemoWindowTest
{
protected:
    void SetUp() override
    {
        MemoWindowTest::SetUp();
        editor->SetText(QStringLiteral("One two one\nthree one"));
        ShowActive();
        QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
        find = form->FindDialogBox();
        ASSERT_TRUE(find->isVisible());
    }

    void FindNext(const QString& text, bool matchCase = false)
    {
        find->SetFindText(text);
        find->SetMatchCase(matchCase);
        QTest::mouseClick(find->findChild<QPushButton*>(QStringLiteral("findnextbtn")), Qt::LeftButton);
    }

    int SelectionStart() const { return editor->textCursor().hasSelection() ? editor->textCursor().selectionStart() : -1; }

    FindDialog* find = nullptr;
};

TEST_F(MemoFindTest, FindsEachMatchInTurnThenOffersToStartAgain)
{
    FindNext(QStringLiteral("one"));
    EXPECT_EQ(SelectionStart(), 0) << "without Match case \"One\" matches";
    EXPECT_EQ(editor->textCursor().selectedText(), QStringLiteral("One"));
    FindNext(QStringLiteral("one"));
    EXPECT_EQ(SelectionStart(), 8);
    FindNext(QStringLiteral("one"));
    EXPECT_EQ(SelectionStart(), 18);
    EXPECT_EQ(form->StatusText(), QStringLiteral(" Line: 2  Col: 10"));
    EXPECT_TRUE(sink.Messages().isEmpty());

    sink.QueueAnswer(true);
    FindNext(QStringLiteral("one"));
    EXPECT_EQ(sink.Messages(), QStringList{kWrapQuestion});
    EXPECT_EQ(SelectionStart(), 0) << "Yes starts again at the beginning";

    sink.QueueAnswer(false);
    FindNext(QStringLiteral("three"));
    EXPECT_EQ(SelectionStart(), 12);
    FindNext(QStringLiteral("three"));
    EXPECT_EQ(sink.Messages().size(), 2);
    EXPECT_FALSE(find->isVisible()) << "No closes the find box";
}

TEST_F(MemoFindTest, MatchCaseAndTextsThatDoNotOccur)
{
    FindNext(QStringLiteral("one"), true);
    EXPECT_EQ(SelectionStart(), 8);
    FindNext(QStringLiteral("ONE"), true);
    EXPECT_EQ(sink.Messages(), QStringList{kWrapQuestion}) << "a continued search asks first";
    sink.Clear();

    // After Yes, the fresh search fails too and says so instead of asking again.
    sink.QueueAnswer(true);
    FindNext(QStringLiteral("one"));
    FindNext(QStringLiteral("four"));
    EXPECT_EQ(sink.Messages(), (QStringList{kWrapQuestion, QStringLiteral("Could not find \"four\"")}));

    // Ctrl+F starts over: the first search is a fresh one.
    sink.Clear();
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    FindNext(QStringLiteral("zzz"));
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Could not find \"zzz\"")});
}

TEST_F(MemoWindowTest, DoubleClickCopiesTheWordAndOffersAddresses)
{
    struct Case
    {
        const char* name;
        QString word;
        QList<bool> answers;
        QStringList questions;
        QStringList opened;
    };
    const Case cases[] = {
        {"plain word", QStringLiteral("Avg:"), {}, {}, {}},
        {"e-mail, Yes", QStringLiteral("ann@example.org"), {true},
         {QStringLiteral("Create email to ann@example.org ?")}, {QStringLiteral("mailto:ann@example.org")}},
        {"e-mail, No", QStringLiteral("ann@example.org"), {false}, {QStringLiteral("Create email to ann@example.org ?")}, {}},
        {"e-mail declined, then web", QStringLiteral("ann@www.example.org"), {false, true},
         {QStringLiteral("Create email to ann@www.example.org ?"), QStringLiteral("Open web URL:\nann@www.example.org ?")},
         {QStringLiteral("http://ann@www.example.org")}},
        {"web address without scheme", QStringLiteral("www.example.org/a"), {true},
         {QStringLiteral("Open web URL:\nwww.example.org/a ?")}, {QStringLiteral("http://www.example.org/a")}},
        {"https", QStringLiteral("https://example.org"), {true}, {QStringLiteral("Open web URL:\nhttps://example.org ?")},
         {QStringLiteral("https://example.org")}},
        {"not a web address", QStringLiteral("file:///tmp/www.x"), {true}, {QStringLiteral("Open web URL:\nfile:///tmp/www.x ?")},
         {}},
    };
    ShowActive();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sink.Clear();
        launcher.urls.clear();
        for (bool answer : c.answers)
            sink.QueueAnswer(answer);
        editor->SetText(QStringLiteral("Seen: ") + c.word + QStringLiteral(" today"));
        PlaceCaret(8);
        const QPoint inWord = editor->cursorRect().center();
        QTest::mouseDClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier, inWord);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), c.word);
        EXPECT_EQ(sink.Messages(), c.questions);
        EXPECT_EQ(launcher.urls, c.opened);
    }

    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    editor->SetText(QStringLiteral("word\n\n"));
    PlaceCaret(6);
    QTest::mouseDClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier, editor->cursorRect().center());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept")) << "nothing selected, nothing copied";
}

TEST_F(MemoWindowTest, OkLeavesAnUnchangedFileAlone)
{
    const QString path = Path("notes.txt");
    WriteFile(path, "first\n");
    form->Loadfile(path);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("first\n"));
    WriteFile(path, "written elsewhere\n");
    ShowActive();
    editor->SetText(QStringLiteral("first\n")); // as it was, not modified
    QSignalSpy accepted(form.get(), &QDialog::accepted);
    QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_TRUE(sink.Messages().isEmpty());
    EXPECT_EQ(ReadFile(path), QByteArray("written elsewhere\n"));
}

TEST_F(MemoWindowTest, OkSavesAChangedFileAfterAsking)
{
    const QString path = Path("notes.txt");
    WriteFile(path, "one\r\ntwo\r\n");
    form->Loadfile(path);
    ShowActive();
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, QStringLiteral("three"));
    ASSERT_TRUE(editor->Modified());

    sink.QueueAnswer(false);
    QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    EXPECT_EQ(sink.Messages(), QStringList{kOverwrite + QStringLiteral("\r\r") + path});
    EXPECT_TRUE(form->isVisible()) << "No keeps the window open";
    EXPECT_EQ(ReadFile(path), QByteArray("one\r\ntwo\r\n"));

    sink.Clear();
    sink.QueueAnswer(true);
    QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    EXPECT_EQ(sink.Messages(), QStringList{kOverwrite + QStringLiteral("\r\r") + path});
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_FALSE(editor->Modified());
    EXPECT_EQ(ReadFile(path), QByteArray("one\r\ntwo\r\nthree\r\n")) << "line ends as the file had them";
}

TEST_F(MemoWindowTest, MissingFolderIsReportedAndNothingIsSaved)
{
    struct Case
    {
        const char* name;
        QString fileName;
        QString folder;
    };
    const Case cases[] = {
        {"folder gone", Path("gone/notes.txt"), Path("gone/")},
        {"no folder part", QStringLiteral("notes.txt"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sink.Clear();
        form->SetFileName(c.fileName);
        ShowActive();
        QTest::keyClicks(editor, QStringLiteral("text"));
        sink.QueueAnswer(true); // to the close question that follows
        QTest::mouseClick(form->OkButton(), Qt::LeftButton);
        EXPECT_EQ(sink.Messages(),
                  (QStringList{QStringLiteral("Cannot save file\r\rFolder does not exist.\r\r") + c.folder, kCancelQuestion}));
        EXPECT_FALSE(QFileInfo::exists(c.fileName));
        EXPECT_FALSE(form->isVisible());
    }
}

TEST_F(MemoWindowTest, CloseAsksOnlyForAChangedBoundText)
{
    ShowActive();
    QTest::keyClicks(editor, QStringLiteral("no file"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(form->isVisible()) << "Enter in the editor is a new line";
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("no file\n"));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(sink.Messages().isEmpty());

    form->SetFileName(Path("notes.txt"));
    ShowActive();
    QTest::keyClicks(editor, QStringLiteral(" more"));
    sink.QueueAnswer(false);
    QTest::mouseClick(form->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(sink.Messages(), QStringList{kCancelQuestion});
    EXPECT_TRUE(form->isVisible());
    sink.QueueAnswer(true);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(editor->Modified());
}

TEST_F(MemoWindowTest, FailedSaveKeepsTheOldFileAndTheEdits)
{
    const QString path = Path("notes.txt");
    WriteFile(path, "old\n");
    form->Loadfile(path);
    form->SetVerifyOverwrite(false);
    ShowActive();
    editor->SetText(QString(4096, QLatin1Char('n')));
    editor->SetModified(true);
    {
        ScopedFileSizeLimit limit(100);
        QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    }
    ASSERT_EQ(sink.Messages().size(), 1);
    EXPECT_TRUE(sink.Messages()[0].startsWith(QStringLiteral("Cannot save file\r\r") + path + QStringLiteral("\r\r")))
        << sink.Messages()[0].toStdString();
    EXPECT_EQ(ReadFile(path), QByteArray("old\n"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("notes.txt")}) << "no leftovers";
    EXPECT_TRUE(editor->Modified());
    EXPECT_TRUE(form->isVisible()) << "the edits are not lost with the window";
}

TEST_F(MemoWindowTest, FailedSaveIntoAFolderThatCannotBeWritten)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind root";
    const QString path = Path("locked/notes.txt");
    WriteFile(path, "old\n");
    form->Loadfile(path);
    form->SetVerifyOverwrite(false);
    ASSERT_TRUE(QFile::setPermissions(Path("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    ShowActive();
    QTest::keyClicks(editor, QStringLiteral("new "));
    QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    QFile::setPermissions(Path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(sink.Messages().size(), 1);
    EXPECT_TRUE(sink.Messages()[0].startsWith(QStringLiteral("Cannot save file\r\r") + path));
    EXPECT_EQ(ReadFile(path), QByteArray("old\n"));
    EXPECT_TRUE(editor->Modified());
}

TEST_F(MemoWindowTest, ActivationReloadsTheFileOnlyWithoutUnsavedEdits)
{
    const QString path = Path("notes.txt");
    WriteFile(path, "first\n");
    form->SetFileName(path);
    ShowActive();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("first\n")) << "a bound file is loaded on activation";

    QWidget other;
    auto activateAgain = [&] {
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        ShowActive();
    };
    WriteFile(path, "second, longer\n");
    activateAgain();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("second, longer\n"));
    EXPECT_FALSE(editor->Modified());

    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, QStringLiteral("mine"));
    WriteFile(path, "third\n");
    activateAgain();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("second, longer\nmine"));
    EXPECT_TRUE(editor->Modified());
}

TEST(MemoWindow, ScaleMultipliesTheBaseMarginOnly)
{
    plotwell::RecordingSink sink;
    plotwell::RecordingLauncher launcher;
    plotwell::MemoWindow form(sink, launcher);
    EXPECT_EQ(form.EditorMargin(), 30);
    form.SetScale(2.0);
    form.SetScale(1.5);
    EXPECT_EQ(form.EditorMargin(), 45);
    EXPECT_EQ(form.ScaleAmt(), 1.5);
    form.SetScale(1.25);
    EXPECT_EQ(form.EditorMargin(), 38) << "37.5 rounds to even";
}

TEST(MemoWindow, ResizingKeepsTheButtonsAndStatusLineAtTheBottomRight)
{
    plotwell::RecordingSink sink;
    plotwell::RecordingLauncher launcher;
    plotwell::MemoWindow form(sink, launcher);
    form.show();
    form.resize(442, 313);
    const auto* status = form.findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->geometry(), QRect(0, 294, 442, 19));
    EXPECT_EQ(form.OkButton()->geometry(), QRect(257, 257, 75, 33));
    EXPECT_EQ(form.CancelButton()->geometry(), QRect(352, 257, 75, 33));
    EXPECT_EQ(form.Editor()->geometry(), QRect(15, 8, 412, 245));

    form.resize(600, 400);
    EXPECT_EQ(form.CancelButton()->geometry(), QRect(510, 344, 75, 33));
    EXPECT_EQ(form.Editor()->geometry(), QRect(15, 8, 570, 332));
    form.Editor()->SetReadOnlyText(true);
    form.LayoutControls();
    EXPECT_EQ(form.OkButton()->x(), 510) << "read-only: OK takes Cancel's place";
}

TEST(MemoWindow, EveryControlIsNamedForAssistiveTools)
{
    plotwell::RecordingSink sink;
    plotwell::RecordingLauncher launcher;
    plotwell::MemoWindow form(sink, launcher);
    for (const char* name : {"notesed", "okbutton", "cancelbtn", "StatusBar1"}) {
        const auto* control = form.findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_FALSE(control->accessibleName().isEmpty()) << name;
    }
    // The status line is heard by what it says, not by a fixed name.
    form.Editor()->SetText(QStringLiteral("one\ntwo"));
    form.show();
    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(form.findChild<QWidget*>(QStringLiteral("statuslabel")));
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(form.StatusText().contains(QStringLiteral("Line:"))) << form.StatusText().toStdString();
    EXPECT_EQ(status->text(QAccessible::Name), form.StatusText());
    EXPECT_EQ(status->text(QAccessible::Description), QStringLiteral("Status"));
}
