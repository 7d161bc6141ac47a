#include "commandparser.h"
#include "commands.h"
#include "comparesheet.h"
#include "conversionoptions.h"
#include "imagefile.h"
#include "inputpicture.h"
#include "messages.h"

#include <QImage>

namespace {

// One option a line, each short enough for a panel; the first panel says it is the one the
// options as given make.
std::vector<std::string> labelOf(const pictureconversion::Conversion &conversion, bool given)
{
    std::vector<std::string> lines;
    for (const QString &option : reproducingOptions(conversion))
        lines.push_back(option.toStdString());
    lines.push_back(given ? "(as given)" : "");
    return lines;
}

} // namespace

int runCompare(const QStringList &arguments, Streams &streams)
{
    CommandParser parser(
        QStringLiteral("compare"), QStringLiteral("[options] INPUT -o SHEET.png"),
        QStringLiteral("Converts one picture several ways and writes them side by side, each\n"
                       "screen drawn as the marker shows it: first as the options say (the\n"
                       "automatic choice by default), then each dither method, then plain\n"
                       "thresholds. Each is labelled with the --dither and --threshold that\n"
                       "give it; the other picture options apply to all of them."));
    QCommandLineParser &options = parser.options();
    options.addPositionalArgument(QStringLiteral("INPUT"),
                                  QStringLiteral("A picture; - for standard input."));
    parser.addTableOptions(optiontable::Compare);
    if (const std::optional<int> done = parser.parse(arguments, streams))
        return *done;

    const QStringList inputs = options.positionalArguments();
    const QString output = options.value(QStringLiteral("output"));
    if (inputs.size() != 1)
        return parser.usageError(streams, QStringLiteral("Give one INPUT."));
    if (output.isEmpty())
        return parser.usageError(streams, QStringLiteral("No SHEET.png given (-o SHEET.png)."));
    QString problem;
    const std::optional<pictureconversion::Options> conversion =
        conversionOptions(parser, &problem);
    if (!conversion)
        return parser.usageError(streams, problem);

    inputpicture::Input read;
    QString reason;
    if (!inputpicture::readInput(inputs.first(), *conversion, streams.in, &read, &reason)) {
        reportFileError(streams, inputs.first(), reason);
        return Failure;
    }
    if (read.screen) {
        reportFileError(streams, inputs.first(),
                        QStringLiteral("a boot screen or the editor's bitmap is shown as it is: "
                                       "there is nothing to compare"));
        return Failure;
    }

    std::vector<comparesheet::Panel> panels;
    bool first = true;
    for (const comparesheet::Candidate &candidate :
         comparesheet::candidates(read.levels, *conversion)) {
        panels.push_back({candidate.conversion.picture, labelOf(candidate.conversion, first)});
        first = false;
    }
    const comparesheet::Sheet sheet = comparesheet::draw(panels);
    // Every colour of the sheet is a grey: one byte a pixel makes a file half the size.
    const QImage image = QImage(sheet.rgba.data(), sheet.width, sheet.height, sheet.width * 4,
                                QImage::Format_RGBA8888)
                             .convertToFormat(QImage::Format_Grayscale8);
    if (!imagefile::saveImage(output, image, "png", &reason)) {
        reportOutputError(streams, output, messages::cannotWrite(reason));
        return Failure;
    }
    return Success;
}
