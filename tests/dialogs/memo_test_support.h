#pragma once
// A memo window with a recording sink and launcher, shown and active, and a temporary folder.

#include "core/recording_launcher.h"
#include "core/recording_sink.h"
#include "dialogs/find_dialog.h"
#include "dialogs/memo_editor.h"
#include "dialogs/memo_window.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <memory>

class MemoWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        form = std::make_unique<plotwell::MemoWindow>(sink, launcher);
        editor = form->Editor();
    }

    void ShowActive()
    {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    QString Path(const char* name) const { return folder.filePath(QLatin1String(name)); }

    void PlaceCaret(int position)
    {
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(position);
        editor->setTextCursor(cursor);
    }

    plotwell::RecordingSink sink;
    plotwell::RecordingLauncher launcher;
    QTemporaryDir folder;
    std::unique_ptr<plotwell::MemoWindow> form;
    plotwell::MemoEditor* editor = nullptr;
};
