#pragma once

#include "optiontable.h"
#include "optionvalues.h"
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

    // Adds the command's options of the option table, in the table's order, with their help.
    void addTableOptions(optiontable::Command command);

    // The table's options as given on the command line, for the core to read.
    optionvalues::GivenOptions given() const;

    // The option table's command whose options were added; 0 when none were.
    optiontable::Command tableCommand() const { return table; }

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
    // The same for an option of the table.
    std::optional<int> wholeNumber(const optiontable::Option &option, QString *problem) const;

private:
    QString command;
    QString usage;
    QCommandLineParser parser;
    QCommandLineOption helpOption;
    optiontable::Command table = optiontable::Command(0);
};
