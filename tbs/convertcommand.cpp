#include "commandparser.h"
#include "commands.h"
#include "conversionoptions.h"
#include "fileformats.h"
#include "inputpicture.h"
#include "messages.h"
#include "outputfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <filesystem>
#include <system_error>

namespace {

constexpr int MaxScale = 64;

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
    for (const QString &input : inputs) {
        if (!intoFolder) {
            result.append({input, output});
            continue;
        }
        const QString stem = input == QLatin1String("-") ? QStringLiteral("stdin")
                                                         : QFileInfo(input).completeBaseName();
        result.append({input, QDir(output).filePath(stem + QLatin1Char('.') + format.extension)});
    }
    return result;
}

// The input that writing `output` would replace: the same file, whatever its spelling (links
// included).
std::optional<QString> replacedInput(const QString &output, const QStringList &inputs)
{
    if (output == QLatin1String("-"))
        return std::nullopt;
    const std::filesystem::path target = QFile::encodeName(output).toStdString();
    for (const QString &input : inputs) {
        if (input == QLatin1String("-"))
            continue;
        std::error_code error;
        if (std::filesystem::equivalent(target, QFile::encodeName(input).toStdString(), error))
            return input;
    }
    return std::nullopt;
}

// A --format that contradicts OUTPUT's own extension would leave a file whose name lies about
// what it holds.
bool contradictsExtension(const QString &output, const fileformats::Format &format)
{
    const std::optional<fileformats::Format> named = fileformats::formatForFileName(output);
    return named && (named->kind != format.kind || named->imageFormat != format.imageFormat);
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
                       "pictures that are converted."));
    QCommandLineParser &options = parser.options();
    options.addPositionalArgument(QStringLiteral("INPUT"),
                                  QStringLiteral("Pictures or .tbs files."),
                                  QStringLiteral("INPUT..."));
    options.addOption(QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                                         QStringLiteral("The file (or folder) to write."),
                                         QStringLiteral("OUTPUT")));
    options.addOption(QCommandLineOption(
        QStringLiteral("format"),
        QStringLiteral("Write this format whatever OUTPUT's extension: tbs, bmp, png, pbm."),
        QStringLiteral("FORMAT")));
    options.addOption(QCommandLineOption(
        QStringLiteral("scale"),
        QStringLiteral("Enlarge image outputs N times, one square per pixel (default 1)."),
        QStringLiteral("N"), QStringLiteral("1")));
    addConversionOptions(parser);
    if (const std::optional<int> done = parser.parse(arguments, streams))
        return *done;

    const QStringList inputs = options.positionalArguments();
    const QString output = options.value(QStringLiteral("output"));
    if (inputs.isEmpty())
        return parser.usageError(streams, QStringLiteral("No INPUT given."));
    if (output.isEmpty())
        return parser.usageError(streams, QStringLiteral("No OUTPUT given (-o OUTPUT)."));
    QString problem;
    const std::optional<pictureconversion::Options> conversion =
        conversionOptions(parser, &problem);
    const std::optional<int> scale =
        parser.wholeNumber(QStringLiteral("scale"), 1, MaxScale, &problem);
    if (!conversion || !scale)
        return parser.usageError(streams, problem);

    const bool intoFolder = output != QLatin1String("-") && QFileInfo(output).isDir();
    if (inputs.size() > 1 && !intoFolder)
        return parser.usageError(
            streams, QStringLiteral("With several inputs, OUTPUT must be an existing folder."));
    if (inputs.count(QStringLiteral("-")) > 1)
        return parser.usageError(streams, QStringLiteral("Standard input can be read only once."));
    const QString formatName = options.isSet(QStringLiteral("format"))
                                   ? options.value(QStringLiteral("format"))
                               : intoFolder ? QStringLiteral("tbs")
                                            : QFileInfo(output).suffix();
    const bool toStandardOutput = output == QLatin1String("-");
    const std::optional<fileformats::Format> format = fileformats::formatNamed(
        toStandardOutput && !options.isSet(QStringLiteral("format")) ? QStringLiteral("tbs")
                                                                     : formatName);
    if (!format)
        return parser.usageError(
            streams,
            formatName.isEmpty()
                ? QStringLiteral("OUTPUT has no extension to tell its format; use --format.")
                : QStringLiteral("Cannot write '%1' files.").arg(formatName));
    if (!intoFolder && !toStandardOutput && options.isSet(QStringLiteral("format")) &&
        contradictsExtension(output, *format))
        return parser.usageError(streams, QStringLiteral("--format %1 does not match OUTPUT's "
                                                         "extension .%2.")
                                              .arg(formatName, QFileInfo(output).suffix()));
    if (options.isSet(QStringLiteral("scale")) &&
        format->kind != fileformats::Format::Kind::DisplayImage)
        return parser.usageError(streams, QStringLiteral("--scale applies to image outputs "
                                                         "such as .png, not to .%1.")
                                              .arg(format->extension));

    int status = Success;
    QSet<QString> written;
    for (const Target &target : targets(inputs, output, intoFolder, *format)) {
        // Two inputs of the same name would write one file twice; the second is refused.
        const QString key = QFileInfo(target.output).absoluteFilePath();
        if (target.output != QLatin1String("-") && written.contains(key)) {
            reportFileError(streams, target.input,
                            QStringLiteral("another input was already written to %1")
                                .arg(QDir::toNativeSeparators(target.output)));
            status = Failure;
            continue;
        }
        if (const std::optional<QString> input = replacedInput(target.output, inputs)) {
            reportFileError(streams, *input,
                            QStringLiteral("the output would replace this input; choose another "
                                           "name"));
            status = Failure;
            continue;
        }
        bootscreen::DisplayPicture picture;
        QString reason;
        if (!inputpicture::readPicture(target.input, *conversion, streams.in, &picture, &reason)) {
            reportFileError(streams, target.input, reason);
            status = Failure;
            continue;
        }
        if (!outputfile::writePicture(target.output, *format, picture, *scale, streams.out,
                                      &reason)) {
            // A failed standard output has no file to name, only the system's reason.
            reportOutputError(streams, target.output,
                              target.output == QLatin1String("-") ? reason
                                                                  : messages::cannotWrite(reason));
            status = Failure;
            continue;
        }
        written.insert(key);
    }
    return status;
}
