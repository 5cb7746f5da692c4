#pragma once
// A message sink that keeps every message and answers questions from a queue; for tests and
// for headless runs that report the messages afterwards.

#include "core/message_sink.h"

#include <QList>
#include <QStringList>

namespace plotwell {

class RecordingSink : public MessageSink
{
public:
    void ShowMessage(const QString& text) override { messages_.append(text); }
    void ShowInfo(const QString& text, const QString& detail, const QString&) override
    {
        messages_.append(JoinMessage(text, detail));
    }
    bool VerifyYesNo(const QString& question, const QString& detail) override
    {
        messages_.append(JoinMessage(question, detail));
        return answers_.isEmpty() ? defaultAnswer_ : answers_.takeFirst();
    }

    // Every message so far, in the order shown, each as the whole text of its box.
    const QStringList& Messages() const { return messages_; }
    void Clear() { messages_.clear(); }

    void QueueAnswer(bool yes) { answers_.append(yes); }
    void SetDefaultAnswer(bool yes) { defaultAnswer_ = yes; }

private:
    QStringList messages_;
    QList<bool> answers_;
    bool defaultAnswer_ = false;
};

} // namespace plotwell
