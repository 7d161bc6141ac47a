#pragma once

#include "streams.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

// One command's arguments: its options and usage line, and the handling every command shares
// of --help and of usage errors (one line on standard error, exit status 2).
class CommandParser
{
public:
    // `usage` follows "tbs COMMAND " in the help, e.g. "[options] INPUT... -o OUTPUT".
    CommandParser(const QString &command, const QString &usage, const QString &description);

    QCommandLineParser &options() { return parser; }
    const QCommandLineParser &options() const { return parser; }

    // Parses the arguments after the command's name. Returns the exit status when the run is
    // already over (help shown, or a usage error reported), otherwise nothing.
    std::optional<int> parse(const QStringList &arguments, Streams &streams);

    // Reports a usage error with a hint where to look, and gives the exit status for it.
    int usageError(Streams &streams, const QString &problem) const;

    // The value of an option that must be a whole number in [lowest, highest].
    std::optional<int> wholeNumber(const QString &option, int lowest, int highest,
                                   QString *problem) const;

private:
    QString command;
    QString usage;
    QCommandLineParser parser;
    QCommandLineOption helpOption;
};
