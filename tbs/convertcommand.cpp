#include "commandparser.h"
#include "commands.h"
#include "conversionoptions.h"
#include "displayarea.h"
#include "inputfiles.h"
#include "inputpicture.h"
#include "outputoptions.h"
#include "screenlink.h"
#include "screenparts.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

struct Target
{
    QString input;
    QString output;
};

// Where each input goes: the output itself for one input, or a file named after the input in
// the output folder.
QList<Target> targets(const QStringList &inputs, const QString &output, bool intoFolder,
                      const fileformats::Format &format)
{
    QList<Target> result;
    int links = 0;
    for (const QString &input : inputs) {
        if (!intoFolder) {
            result.append({input, output});
            continue;
        }
        // A link's text is no name for a file (it is longer than a name may be): the links are
        // numbered in their order instead.
        const QString stem = input == QLatin1String("-") ? QStringLiteral("stdin")
                             : screenlink::looksLikeLink(input.toStdString())
                                 ? QStringLiteral("link-%1").arg(++links)
                                 : QFileInfo(input).completeBaseName();
        result.append({input, QDir(output).filePath(stem + QLatin1Char('.') + format.extension)});
    }
    return result;
}

} // namespace

int runConvert(const QStringList &arguments, Streams &streams)
{
    CommandParser parser(
        QStringLiteral("convert"), QStringLiteral("[options] INPUT... -o OUTPUT"),
        QStringLiteral("Converts pictures (PNG, JPEG, BMP, GIF, PBM/PGM/PPM, ...) and boot\n"
                       "screen files. INPUT may be - for standard input. OUTPUT's extension\n"
                       "picks the format: .tbs (boot screen), .bmp (the editor's 160 x 640\n"
                       "bitmap), .png, .pbm or another image format (32 x 128, lit = white);\n"
                       "- writes the boot screen to standard output. With several inputs,\n"
                       "OUTPUT is an existing folder and each result is named after its input.\n"
                       "--invert applies to every input, the other picture options to the\n"
                       "pictures that are converted. With --area, a picture is fitted into the\n"
                       "area; a .tbs file or the editor's bitmap gives the pixels it has there."));
    QCommandLineParser &options = parser.options();
    options.addPositionalArgument(QStringLiteral("INPUT"),
                                  QStringLiteral("Pictures or .tbs files."),
                                  QStringLiteral("INPUT..."));
    parser.addTableOptions(optiontable::Convert);
    if (const std::optional<int> done = parser.parse(arguments, streams))
        return *done;

    const QStringList inputs = options.positionalArguments();
    if (inputs.isEmpty())
        return parser.usageError(streams, QStringLiteral("No INPUT given."));
    QString problem;
    const std::optional<pictureconversion::Options> conversion =
        conversionOptions(parser, &problem);
    const std::optional<outputoptions::Output> output =
        conversion ? outputoptions::outputOptions(parser, true, &problem) : std::nullopt;
    if (!output)
        return parser.usageError(streams, problem);
    const geometry::Rect area = conversion->area;
    const QString over = screenparts::overScreen(parser);
    if (inputs.size() > 1 && !output->intoFolder)
        return parser.usageError(
            streams, QStringLiteral("With several inputs, OUTPUT must be an existing folder."));
    if (inputs.count(QStringLiteral("-")) + (over == QLatin1String("-") ? 1 : 0) > 1)
        return parser.usageError(streams, QStringLiteral("Standard input can be read only once."));
    bootscreen::DisplayPicture base;
    QString reason;
    if (!screenparts::readBase(over, streams.in, &base, &reason)) {
        reportFileError(streams, over, reason);
        return Failure;
    }

    int status = Success;
    const InputFiles inputFiles(inputs);
    QSet<QString> written;
    for (const Target &target : targets(inputs, output->path, output->intoFolder, output->format)) {
        // Two inputs of the same name would write one file twice; the second is refused.
        const QString key = QFileInfo(target.output).absoluteFilePath();
        if (target.output != QLatin1String("-") && written.contains(key)) {
            reportFileError(streams, target.input,
                            QStringLiteral("another input was already written to %1")
                                .arg(QDir::toNativeSeparators(target.output)));
            status = Failure;
            continue;
        }
        if (const std::optional<QString> input = inputFiles.replacedBy(target.output)) {
            reportFileError(streams, *input,
                            QStringLiteral("the output would replace this input; choose another "
                                           "name"));
            status = Failure;
            continue;
        }
        bootscreen::DisplayPicture picture;
        std::optional<pictureconversion::Conversion> converted;
        if (!inputpicture::readPicture(target.input, *conversion, streams.in, &picture, &reason,
                                       &converted)) {
            reportFileError(streams, target.input, reason);
            status = Failure;
            continue;
        }
        if (converted)
            reportConversion(streams, target.input, *converted,
                             displayarea::composed({}, picture, area, false),
                             options.isSet(QStringLiteral("verbose")));
        if (!outputoptions::writeOutput(streams, target.output, *output,
                                        displayarea::composed(base, picture, area, false))) {
            status = Failure;
            continue;
        }
        written.insert(key);
    }
    return status;
}
