#include "bootscreenformat.h"
#include "commandparser.h"
#include "commands.h"
#include "conversionoptions.h"
#include "inputpicture.h"

namespace {

using bootscreen::DisplayColumns;
using bootscreen::DisplayRows;

// Two display rows to a text row: the upper half block for the top pixel, the lower for the
// bottom one.
QString halfBlocks(const bootscreen::DisplayPicture &picture)
{
    QString text;
    for (int row = 0; row < DisplayRows; row += 2) {
        for (int column = 0; column < DisplayColumns; ++column) {
            const bool top = picture.isLit(column, row);
            const bool bottom = picture.isLit(column, row + 1);
            text += top && bottom ? QChar(0x2588) // full block
                    : top         ? QChar(0x2580) // upper half block
                    : bottom      ? QChar(0x2584) // lower half block
                                  : QChar(u' ');
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QString asciiRows(const bootscreen::DisplayPicture &picture)
{
    QString text;
    for (int row = 0; row < DisplayRows; ++row) {
        for (int column = 0; column < DisplayColumns; ++column)
            text += picture.isLit(column, row) ? QLatin1Char('#') : QLatin1Char('.');
        text += QLatin1Char('\n');
    }
    return text;
}

} // namespace

int runShow(const QStringList &arguments, Streams &streams)
{
    CommandParser parser(QStringLiteral("show"), QStringLiteral("[options] FILE"),
                         QStringLiteral("Prints the picture of a boot screen file or an image "
                                        "(converted as by\ntbs convert) to the terminal: 32 "
                                        "columns of Unicode half blocks, lit = block."));
    QCommandLineParser &options = parser.options();
    options.addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("A .tbs file or a picture; - for standard input."));
    options.addOption(QCommandLineOption(
        QStringLiteral("ascii"), QStringLiteral("Print 128 rows of # (lit) and . instead.")));
    addConversionOptions(parser);
    if (const std::optional<int> done = parser.parse(arguments, streams))
        return *done;
    const QStringList files = options.positionalArguments();
    if (files.size() != 1)
        return parser.usageError(streams, QStringLiteral("Give exactly one FILE."));
    QString problem;
    const std::optional<pictureconversion::Options> conversion =
        conversionOptions(parser, &problem);
    if (!conversion)
        return parser.usageError(streams, problem);

    bootscreen::DisplayPicture picture;
    QString reason;
    if (!inputpicture::readPicture(files.first(), *conversion, streams.in, &picture, &reason)) {
        reportFileError(streams, files.first(), reason);
        return Failure;
    }
    const QString text =
        options.isSet(QStringLiteral("ascii")) ? asciiRows(picture) : halfBlocks(picture);
    return writeReport(streams, text.toUtf8(), Success);
}
