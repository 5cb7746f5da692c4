#include "dialogs/memo_dialog.h"

#include "core/recording_launcher.h"
#include "core/recording_sink.h"
#include "dialogs/memo_editor.h"
#include "dialogs/memo_window.h"
#include "support/test_support.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using plotwell::MemoDialog;
using plotwell::MemoWindow;

namespace {

class MemoDialogTest : public ::testing::Test
{
protected:
    // Runs `whileShown` once the modal window is up; it must close the window.
    bool ExecuteModal(const std::function<void(MemoWindow&)>& whileShown)
    {
        QTimer::singleShot(0, &owner, [this, whileShown] {
            MemoWindow* form = dialog.NotesDialog();
            ASSERT_NE(form, nullptr);
            EXPECT_TRUE(form->isModal() && form->isVisible());
            whileShown(*form);
            if (form->isVisible()) {
                ADD_FAILURE() << "the window stayed open";
                form->QDialog::done(QDialog::Rejected);
            }
        });
        return dialog.Execute();
    }

    plotwell::RecordingSink sink;
    plotwell::RecordingLauncher launcher;
    QWidget owner;
    MemoDialog dialog{sink, launcher, &owner};
};

} // namespace

TEST_F(MemoDialogTest, SeriesSummaryShowsReadOnlyWithOnlyAnOkButton)
{
    const QString lines = QStringLiteral("Series 1:     4 pts    Min: 90    Max: 140    Avg: 111.25    Std Dev: 21.747\r\n"
                                         "Series 3:     1 pt    Min: 7    Max: 7    Avg: 7    Std Dev: 0\r\n");
    dialog.SetReadOnly(true);
    dialog.SetFormWidth(600);
    dialog.SetTitle(QStringLiteral("Series Summary"));
    dialog.SetText(QString());
    dialog.SetManualScale(false);
    dialog.SetText(lines);

    const bool ok = ExecuteModal([&](MemoWindow& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Series Summary"));
        EXPECT_EQ(form.width(), 600 - MemoWindow::kFrameWidth);
        EXPECT_EQ(form.height(), 352 - MemoWindow::kFrameHeight);
        EXPECT_TRUE(form.Editor()->isReadOnly());
        EXPECT_EQ(form.Editor()->toPlainText(), QString(lines).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        EXPECT_FALSE(form.CancelButton()->isVisible());
        EXPECT_TRUE(form.OkButton()->isVisible());
        EXPECT_EQ(form.OkButton()->geometry(), form.CancelButton()->geometry()) << "OK stands where Cancel would";
        EXPECT_EQ(form.StatusText(), QStringLiteral(" Line: 1  Col: 1"));
        QTest::keyClick(form.Editor(), Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(form.StatusText(), QStringLiteral(" Line: 3  Col: 1")) << "the keyboard moves through the text";
        QTest::keyClick(form.Editor(), Qt::Key_Return);
    });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(sink.Messages().isEmpty());

    // Shown again: the same window, and Escape closes it without a question.
    MemoWindow* first = dialog.NotesDialog();
    const bool again = ExecuteModal([&](MemoWindow& form) {
        EXPECT_EQ(&form, first);
        QTest::keyClick(form.Editor(), Qt::Key_Escape);
    });
    EXPECT_FALSE(again);
    EXPECT_TRUE(sink.Messages().isEmpty());
}

TEST_F(MemoDialogTest, ModalOkHandsBackTheTextAndCancelDoesNot)
{
    dialog.SetText(QStringLiteral("draft"));
    EXPECT_TRUE(ExecuteModal([](MemoWindow& form) {
        EXPECT_EQ(form.OkButton()->text(), QStringLiteral("&Ok"));
        EXPECT_EQ(form.CancelButton()->text(), QStringLiteral("&Cancel"));
        form.Editor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(form.Editor(), QStringLiteral(" one"));
        QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    }));
    EXPECT_EQ(dialog.Text(), QStringLiteral("draft one"));
    EXPECT_TRUE(dialog.Modified());

    EXPECT_FALSE(ExecuteModal([](MemoWindow& form) {
        QTest::keyClicks(form.Editor(), QStringLiteral("lost "));
        QTest::mouseClick(form.CancelButton(), Qt::LeftButton);
    }));
    EXPECT_EQ(dialog.Text(), QStringLiteral("draft one"));
}

TEST_F(MemoDialogTest, ModelessWindowSavesAndClosesAndIsGoneAfterwards)
{
    int closed = 0;
    dialog.onClose = [&](QObject* sender) {
        EXPECT_EQ(sender, &dialog);
        ++closed;
    };
    QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
    dialog.SetFont(font);
    dialog.SetFormWidth(500);
    dialog.SetModal(false);
    dialog.SetText(QStringLiteral("notes"));
    EXPECT_TRUE(dialog.Execute());
    MemoWindow* form = dialog.NotesDialog();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(form->OkButton()->text(), QStringLiteral("Save"));
    EXPECT_FALSE(form->OkButton()->isVisibleTo(form)) << "nothing to save without a file";
    EXPECT_EQ(form->CancelButton()->text(), QStringLiteral("Close"));
    EXPECT_EQ(form->Editor()->font().family(), font.family());

    QTest::mouseClick(form->CancelButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed window goes
    EXPECT_EQ(dialog.NotesDialog(), nullptr);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(dialog.Modified());
    char buffer[16];
    EXPECT_EQ(dialog.GetCString(buffer, sizeof buffer), nullptr) << "no window, no text";

    // The next window is a new one with the given size and font again.
    EXPECT_TRUE(dialog.Execute());
    ASSERT_NE(dialog.NotesDialog(), nullptr);
    EXPECT_EQ(dialog.NotesDialog()->width(), 500 - MemoWindow::kFrameWidth);
    EXPECT_EQ(dialog.NotesDialog()->Editor()->font().family(), font.family());
    EXPECT_EQ(dialog.NotesDialog()->Editor()->toPlainText(), QStringLiteral("notes"));
}

TEST_F(MemoDialogTest, ModelessSaveWritesTheBoundFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("n.txt"));
    WriteFile(path, "one\n");
    dialog.SetModal(false);
    dialog.SetVerifyOverwrite(false);
    dialog.SetFileName(path);
    dialog.Execute();
    MemoWindow* form = dialog.NotesDialog();
    ASSERT_NE(form, nullptr);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    EXPECT_EQ(form->Editor()->toPlainText(), QStringLiteral("one\n"));
    ASSERT_TRUE(form->OkButton()->isVisible());
    form->Editor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(form->Editor(), QStringLiteral("two"));
    QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    EXPECT_EQ(ReadFile(path), QByteArray("one\ntwo\n"));
    EXPECT_TRUE(form->isVisible()) << "Save keeps a modeless window open";
    EXPECT_TRUE(sink.Messages().isEmpty());
}

TEST_F(MemoDialogTest, TextFileNameAndTheCString)
{
    char buffer[8];
    EXPECT_EQ(dialog.GetCString(buffer, sizeof buffer), nullptr) << "before the first showing";
    dialog.SetModal(false);
    dialog.SetFileName(QStringLiteral("/somewhere/notes.txt"));
    dialog.SetText(QStringLiteral("caf\u00e9"));
    EXPECT_TRUE(dialog.FileName().isEmpty()) << "a text replaces the file";
    dialog.Execute();
    ASSERT_NE(dialog.NotesDialog(), nullptr);

    ASSERT_EQ(dialog.GetCString(buffer, sizeof buffer), buffer);
    EXPECT_EQ(QString::fromLocal8Bit(buffer), QStringLiteral("caf\u00e9"));
    const int needed = static_cast<int>(QStringLiteral("caf\u00e9").toLocal8Bit().size()) + 1;
    EXPECT_EQ(dialog.GetCString(buffer, needed - 1), nullptr) << "no room for the closing zero";
    EXPECT_EQ(dialog.GetCString(buffer, needed), buffer);

    dialog.SetText(QStringLiteral("now"));
    EXPECT_EQ(dialog.NotesDialog()->Editor()->toPlainText(), QStringLiteral("now")) << "at once";
    dialog.SetFileName(QStringLiteral("  "));
    EXPECT_TRUE(dialog.NotesDialog()->Editor()->toPlainText().isEmpty());
    EXPECT_FALSE(dialog.Modified());
}

TEST_F(MemoDialogTest, ManualScaleSizesLaterShowingsByTheScaleAmount)
{
    dialog.SetManualScale(true);
    dialog.SetScaleAmt(1.5);
    dialog.SetFormWidth(400);
    dialog.SetFormHeight(300);
    auto closeAndMeasure = [](QSize* size) {
        return [size](MemoWindow& form) {
            *size = form.size();
            EXPECT_EQ(form.ScaleAmt(), 1.0) << "Qt already scales for the screen";
            EXPECT_EQ(form.EditorMargin(), 30);
            QTest::mouseClick(form.CancelButton(), Qt::LeftButton);
        };
    };
    QSize first, second;
    ExecuteModal(closeAndMeasure(&first));
    ExecuteModal(closeAndMeasure(&second));
    EXPECT_EQ(first, QSize(400 - MemoWindow::kFrameWidth, 300 - MemoWindow::kFrameHeight));
    EXPECT_EQ(second, QSize(600 - MemoWindow::kFrameWidth, 450 - MemoWindow::kFrameHeight));
}
