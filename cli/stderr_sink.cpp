#include "cli/stderr_sink.h"

#include <QByteArray>

namespace plotwell {

QByteArray StderrSink::Escape(const QString& text)
{
    QByteArray line = text.toUtf8();
    line.replace('\r', "\\r");
    line.replace('\n', "\\n");
    return line;
}

void StderrSink::ShowMessage(const QString& text)
{
    const QByteArray line = Escape(text) + '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), out_);
    std::fflush(out_);
}

void StderrSink::ShowInfo(const QString& text, const QString& detail, const QString&)
{
    ShowMessage(JoinMessage(text, detail));
}

bool StderrSink::VerifyYesNo(const QString& question, const QString& detail)
{
    ShowMessage(JoinMessage(question, detail));
    return false;
}

} // namespace plotwell
