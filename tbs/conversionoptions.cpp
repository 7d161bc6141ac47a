#include "conversionoptions.h"

#include "commandparser.h"
#include "commands.h"
#include "filewording.h"
#include "optionvalues.h"

std::optional<pictureconversion::Options> conversionOptions(const CommandParser &parser,
                                                            QString *problem)
{
    const std::variant<pictureconversion::Options, std::string> read =
        optionvalues::conversionOptions(parser.given(), parser.tableCommand());
    if (const std::string *refused = std::get_if<std::string>(&read)) {
        *problem = QString::fromStdString(*refused);
        return std::nullopt;
    }
    return std::get<pictureconversion::Options>(read);
}

QStringList reproducingOptions(const pictureconversion::Conversion &conversion)
{
    QStringList words;
    for (const optionvalues::Given &option : optionvalues::reproducingOptions(conversion))
        words << QString::fromStdString(optionvalues::commandWords(option));
    return words;
}

void reportConversion(Streams &streams, const QString &input,
                      const pictureconversion::Conversion &conversion,
                      const bootscreen::DisplayPicture &part, bool verbose)
{
    if (verbose)
        reportFileError(streams, input,
                        QStringLiteral("converted with %1")
                            .arg(reproducingOptions(conversion).join(QLatin1Char(' '))));
    if (conversion.blank)
        reportFileError(streams, input,
                        QString::fromStdString(filewording::blankResult(
                            part.litCount() != 0, filewording::Naming::CommandLine)));
}
