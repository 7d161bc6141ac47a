#include "outputoptions.h"

#include "commandparser.h"
#include "commands.h"
#include "messages.h"
#include "outputfile.h"

#include <QFileInfo>

namespace outputoptions {

namespace {

// A --format that contradicts OUTPUT's own extension would leave a file whose name lies about
// what it holds.
bool contradictsExtension(const QString &output, const fileformats::Format &format)
{
    const std::optional<fileformats::Format> named = fileformats::formatForFileName(output);
    return named && (named->kind != format.kind || named->imageFormat != format.imageFormat);
}

} // namespace

std::optional<Output> outputOptions(const CommandParser &parser, bool folderAllowed,
                                    QString *problem)
{
    const QCommandLineParser &options = parser.options();
    const QString path = options.value(QStringLiteral("output"));
    if (path.isEmpty()) {
        *problem = QStringLiteral("No OUTPUT given (-o OUTPUT).");
        return std::nullopt;
    }
    const std::optional<int> scale =
        parser.wholeNumber(*optiontable::find(parser.tableCommand(), "scale"), problem);
    if (!scale)
        return std::nullopt;
    const bool toStandardOutput = path == QLatin1String("-");
    const bool intoFolder = !toStandardOutput && QFileInfo(path).isDir();
    if (intoFolder && !folderAllowed) {
        *problem = QStringLiteral("OUTPUT is a folder; name the file to write.");
        return std::nullopt;
    }
    const bool formatGiven = options.isSet(QStringLiteral("format"));
    const QString formatName = formatGiven  ? options.value(QStringLiteral("format"))
                               : intoFolder ? QStringLiteral("tbs")
                                            : QFileInfo(path).suffix();
    const std::optional<fileformats::Format> format = fileformats::formatNamed(
        toStandardOutput && !formatGiven ? QStringLiteral("tbs") : formatName);
    if (!format) {
        *problem = formatName.isEmpty()
                       ? QStringLiteral("OUTPUT has no extension to tell its format; use --format.")
                       : QStringLiteral("Cannot write '%1' files.").arg(formatName);
        return std::nullopt;
    }
    if (!intoFolder && !toStandardOutput && formatGiven && contradictsExtension(path, *format)) {
        *problem = QStringLiteral("--format %1 does not match OUTPUT's extension .%2.")
                       .arg(formatName, QFileInfo(path).suffix());
        return std::nullopt;
    }
    if (options.isSet(QStringLiteral("scale")) &&
        format->kind != fileformats::Format::Kind::DisplayImage) {
        *problem = QStringLiteral("--scale applies to image outputs such as .png, not to .%1.")
                       .arg(format->extension);
        return std::nullopt;
    }
    return Output{path, intoFolder, *format, *scale};
}

bool writeOutput(Streams &streams, const QString &path, const Output &output,
                 const bootscreen::DisplayPicture &picture)
{
    QString reason;
    if (outputfile::writePicture(path, output.format, picture, output.scale, streams.out, &reason))
        return true;
    // A failed standard output has no file to name, only the system's reason.
    reportOutputError(streams, path,
                      path == QLatin1String("-") ? reason : messages::cannotWrite(reason));
    return false;
}

} // namespace outputoptions
