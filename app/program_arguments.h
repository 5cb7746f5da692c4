#pragma once
// ProgramArguments: plotwell's command line. --help and --version print their text; any
// other command line opens the window, whose first argument names the data file.

#include <QString>
#include <QStringList>

#include <optional>

namespace plotwell {

class ProgramArguments
{
public:
    // `arguments` start with the program's name, as QCoreApplication::arguments() do.
    explicit ProgramArguments(const QStringList& arguments);

    // The help or the version text when the command line asks for one, or nothing.
    const std::optional<QString>& Answer() const { return answer_; }
    // What the window gets: the first names the data file, further ones are ignored.
    const QStringList& WindowArguments() const { return windowArguments_; }

private:
    std::optional<QString> answer_;
    QStringList windowArguments_;
};

} // namespace plotwell
