#include "commandparser.h"

CommandParser::CommandParser(const QString &command, const QString &usage,
                             const QString &description)
    : command(command), usage(usage), helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                                 QStringLiteral("Show this help and exit."))
{
    parser.setApplicationDescription(description);
    parser.addOption(helpOption);
}

std::optional<int> CommandParser::parse(const QStringList &arguments, Streams &streams)
{
    if (!parser.parse(QStringList{QStringLiteral("tbs")} + arguments))
        return usageError(streams, parser.errorText());
    if (parser.isSet(helpOption)) {
        // Qt's help starts with a usage line naming the program as started; ours names the
        // command and its arguments.
        QString help = parser.helpText();
        help = help.mid(help.indexOf(QLatin1Char('\n')) + 1);
        streams.out.write(QStringLiteral("Usage: tbs %1 %2\n").arg(command, usage).toUtf8() +
                          help.toUtf8());
        return Success;
    }
    return std::nullopt;
}

int CommandParser::usageError(Streams &streams, const QString &problem) const
{
    writeLine(streams.err, QStringLiteral("tbs %1: %2 Try 'tbs %1 --help'.").arg(command, problem));
    return UsageError;
}

std::optional<int> CommandParser::wholeNumber(const QString &option, int lowest, int highest,
                                              QString *problem) const
{
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (ok && value >= lowest && value <= highest)
        return value;
    *problem = QStringLiteral("--%1 takes a whole number from %2 to %3, not '%4'.")
                   .arg(option)
                   .arg(lowest)
                   .arg(highest)
                   .arg(parser.value(option));
    return std::nullopt;
}
