#include "dialogs/message_box_sink.h"
#include "dialogs/message_utils.h"

#include "core/recording_sink.h"
#include "support/test_support.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

using plotwell::MessageBoxSink;
using plotwell::RecordingSink;

namespace {

QLabel* InformativeLabel(QMessageBox& box)
{
    return box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
}

} // namespace

TEST(MessageBoxSink, VerifyBoxAsksWithTheQuestionIconAndShowsTextAsWritten)
{
    const auto box = MessageBoxSink::BuildVerifyBox(QStringLiteral("Overwrite the file?\r\rIt exists."),
                                                     QStringLiteral("<b>notes</b>.txt"), nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Verify"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
    EXPECT_EQ(box->text(), QStringLiteral("Overwrite the file?\n\nIt exists."));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->informativeText(), QStringLiteral("<b>notes</b>.txt"));
    ASSERT_NE(InformativeLabel(*box), nullptr);
    EXPECT_EQ(InformativeLabel(*box)->textFormat(), Qt::PlainText) << "a file name is not markup";

    const auto alone = MessageBoxSink::BuildVerifyBox(QStringLiteral("Item not found. Start again at the beginning?"),
                                                       QString(), nullptr);
    EXPECT_EQ(alone->text(), QStringLiteral("Item not found. Start again at the beginning?"));
    EXPECT_TRUE(alone->informativeText().isEmpty());
}

TEST(MessageBoxSink, InformationAndMessageBoxesHaveOkOnly)
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Plotwell"));
    const auto info = MessageBoxSink::BuildInfoBox(QStringLiteral("Could not find \"x\""), QString(), QString(), nullptr);
    EXPECT_EQ(info->windowTitle(), QStringLiteral("Plotwell")) << "an empty caption is the application title";
    EXPECT_EQ(info->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(info->standardButtons(), QMessageBox::Ok);

    const auto captioned = MessageBoxSink::BuildInfoBox(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("Notes"), nullptr);
    EXPECT_EQ(captioned->windowTitle(), QStringLiteral("Notes"));
    EXPECT_EQ(captioned->informativeText(), QStringLiteral("b"));

    const auto message = MessageBoxSink::BuildMessageBox(QStringLiteral("File not found:\r\r/tmp/x.txt"), nullptr);
    EXPECT_EQ(message->text(), QStringLiteral("File not found:\n\n/tmp/x.txt"));
    EXPECT_EQ(message->standardButtons(), QMessageBox::Ok);
}

TEST(MessageUtils, OtherSinksGetTheTextsAndAnswer)
{
    RecordingSink sink;
    sink.QueueAnswer(true);
    plotwell::ShowInfo(sink, QStringLiteral("Could not find \"x\""), QString(), QString());
    EXPECT_TRUE(plotwell::VerifyYesNo(sink, QStringLiteral("Save changes?"), QStringLiteral("notes.txt")));
    EXPECT_FALSE(plotwell::VerifyYesNo(sink, QStringLiteral("Item not found. Start again at the beginning?"), QString()));
    EXPECT_EQ(sink.Messages(), (QStringList{QStringLiteral("Could not find \"x\""), QStringLiteral("Save changes?\r\rnotes.txt"),
                                            QStringLiteral("Item not found. Start again at the beginning?")}));
}
