#pragma once
// The one way any layer shows a message to the user. The GUI shows message boxes, the CLI
// writes to stderr, tests record. Callers pass the whole text, carriage returns included ("\r\r"
// between paragraphs); each sink shows them its own way (the box as line breaks, stderr as \r).

#include <QString>

namespace plotwell {

class MessageSink
{
public:
    virtual ~MessageSink() = default;

    // A modal message with an OK button (the program's error and notice boxes).
    virtual void ShowMessage(const QString& text) = 0;

    // An information message with OK: `text`, then the detail; an empty caption means the
    // application's title.
    virtual void ShowInfo(const QString& text, const QString& detail, const QString& caption) = 0;

    // A question captioned "Verify" with Yes and No; true for Yes.
    virtual bool VerifyYesNo(const QString& question, const QString& detail) = 0;
};

// Joins a text and its detail the way every message box shows them: text, "\r\r", detail.
inline QString JoinMessage(const QString& text, const QString& detail)
{
    return detail.isEmpty() ? text : text + QStringLiteral("\r\r") + detail;
}

} // namespace plotwell
