#include "commandparser.h"
#include "commands.h"
#include "conversionoptions.h"
#include "displayarea.h"
#include "filewording.h"
#include "inputpicture.h"
#include "screenlink.h"

int runLink(const QStringList &arguments, Streams &streams)
{
    CommandParser parser(
        QStringLiteral("link"), QStringLiteral("[options] INPUT [--base URL]"),
        QStringLiteral("Prints a link that holds the screen: URL followed by #screen= and the\n"
                       "screen's 512 bytes in base64url. The studio at URL opens it as a file,\n"
                       "and tbs reads it wherever it reads an input. INPUT is read and converted\n"
                       "as by tbs convert: a .tbs file, the editor's bitmap, a picture or a link;\n"
                       "- for standard input. Nothing is sent anywhere: the part after # never\n"
                       "leaves the browser."));
    QCommandLineParser &options = parser.options();
    options.addPositionalArgument(QStringLiteral("INPUT"),
                                  QStringLiteral("A picture, a .tbs file or a link."));
    parser.addTableOptions(optiontable::Link);
    if (const std::optional<int> done = parser.parse(arguments, streams))
        return *done;
    const QStringList inputs = options.positionalArguments();
    if (inputs.size() != 1)
        return parser.usageError(streams, QStringLiteral("Give exactly one INPUT."));
    QString problem;
    const std::optional<pictureconversion::Options> conversion =
        conversionOptions(parser, &problem);
    if (!conversion)
        return parser.usageError(streams, problem);
    const std::string base = options.value(QStringLiteral("base")).toStdString();
    if (!screenlink::baseFits(base))
        return parser.usageError(
            streams, QString::fromStdString(filewording::linkBaseTooLong(
                         screenlink::baseOf(base).size(), filewording::Naming::CommandLine)) +
                         QLatin1Char('.'));

    bootscreen::DisplayPicture picture;
    std::optional<pictureconversion::Conversion> converted;
    QString reason;
    if (!inputpicture::readPicture(inputs.first(), *conversion, streams.in, &picture, &reason,
                                   &converted)) {
        reportFileError(streams, inputs.first(), reason);
        return Failure;
    }
    // As convert writes it without --over: the result in the area, dark around it.
    const bootscreen::DisplayPicture screen =
        displayarea::composed({}, picture, conversion->area, false);
    if (converted)
        reportConversion(streams, inputs.first(), *converted, screen, false);
    const std::optional<std::string> link = screenlink::screenLink(screen, base);
    return writeReport(streams, QByteArray::fromStdString(*link) + '\n', Success);
}
