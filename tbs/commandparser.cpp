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

void CommandParser::addTableOptions(optiontable::Command command)
{
    table = command;
    for (const optiontable::Option *option : optiontable::optionsOf(command)) {
        QStringList names{QString::fromStdString(option->name)};
        if (!option->shortName.empty())
            names.prepend(QString::fromStdString(option->shortName));
        const QString help = QString::fromStdString(optiontable::helpText(*option));
        if (option->kind == optiontable::Kind::Flag)
            parser.addOption(QCommandLineOption(names, help));
        else
            parser.addOption(QCommandLineOption(names, help,
                                                QString::fromStdString(option->valueName),
                                                QString::fromStdString(option->defaultValue)));
    }
}

optionvalues::GivenOptions CommandParser::given() const
{
    optionvalues::GivenOptions given;
    for (const optiontable::Option *option : optiontable::optionsOf(table)) {
        const QString name = QString::fromStdString(option->name);
        if (!parser.isSet(name))
            continue;
        given.push_back({option->name, option->kind == optiontable::Kind::Flag
                                           ? std::string()
                                           : parser.value(name).toStdString()});
    }
    return given;
}

std::optional<int> CommandParser::wholeNumber(const optiontable::Option &option,
                                              QString *problem) const
{
    const std::string value = optionvalues::valueOrDefault(given(), option);
    const std::variant<int, std::string> read = optionvalues::wholeNumber(option, value);
    if (const int *number = std::get_if<int>(&read))
        return *number;
    *problem = QString::fromStdString(std::get<std::string>(read));
    return std::nullopt;
}

std::optional<int> CommandParser::wholeNumber(const QString &option, int lowest, int highest,
                                              QString *problem) const
{
    optiontable::Option row;
    row.name = option.toStdString();
    row.kind = optiontable::Kind::Whole;
    row.minimum = lowest;
    row.maximum = highest;
    const std::variant<int, std::string> read =
        optionvalues::wholeNumber(row, parser.value(option).toStdString());
    if (const int *number = std::get_if<int>(&read))
        return *number;
    *problem = QString::fromStdString(std::get<std::string>(read));
    return std::nullopt;
}
