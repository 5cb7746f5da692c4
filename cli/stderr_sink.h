#pragma once
// The command-line tool's message sink: every message on one line of stderr, carriage
// returns and line feeds written as the two characters \r and \n.

#include "core/message_sink.h"

#include <cstdio>

namespace plotwell {

class StderrSink : public MessageSink
{
public:
    explicit StderrSink(std::FILE* out = stderr) : out_(out) {}

    void ShowMessage(const QString& text) override;
    void ShowInfo(const QString& text, const QString& detail, const QString& caption) override;
    // Nobody can answer: the safe answer is No.
    bool VerifyYesNo(const QString& question, const QString& detail) override;

    // The one-line form of a message.
    static QByteArray Escape(const QString& text);

private:
    std::FILE* out_;
};

} // namespace plotwell
