#include "bootscreenformat.h"
#include "commandparser.h"
#include "commands.h"
#include "conversionoptions.h"
#include "inputpicture.h"

#ifdef Q_OS_UNIX
#include <langinfo.h>
#include <locale.h>
#endif

namespace {

using bootscreen::DisplayColumns;
using bootscreen::DisplayRows;

// The characters of the frame around the 32 x 128 area, so that a dark screen has an edge on a
// dark terminal.
struct Frame
{
    QChar topLeft;
    QChar topRight;
    QChar bottomLeft;
    QChar bottomRight;
    QChar horizontal;
    QChar vertical;
};

const Frame BoxDrawingFrame{QChar(0x250C), QChar(0x2510), QChar(0x2514),
                            QChar(0x2518), QChar(0x2500), QChar(0x2502)};
const Frame AsciiFrame{u'+', u'+', u'+', u'+', u'-', u'|'};

// Whether the character set the environment names (LC_ALL, LC_CTYPE, LANG) is UTF-8. Read
// from the environment itself: QCoreApplication may have set a UTF-8 LC_CTYPE of its own.
bool localeIsUtf8()
{
#ifdef Q_OS_UNIX
    const locale_t fromEnvironment = newlocale(LC_CTYPE_MASK, "", locale_t(0));
    if (!fromEnvironment)
        return false; // a locale that is not installed: the C locale's ASCII
    const char *codeset = nl_langinfo_l(CODESET, fromEnvironment);
    const bool utf8 = qstricmp(codeset, "UTF-8") == 0 || qstricmp(codeset, "UTF8") == 0;
    freelocale(fromEnvironment);
    return utf8;
#else
    return true; // no POSIX locale to ask: the blocks, as before
#endif
}

// Two display rows to a text row: the upper half block for the top pixel, the lower for the
// bottom one.
QStringList halfBlocks(const bootscreen::DisplayPicture &picture)
{
    QStringList rows;
    for (int row = 0; row < DisplayRows; row += 2) {
        QString text;
        for (int column = 0; column < DisplayColumns; ++column) {
            const bool top = picture.isLit(column, row);
            const bool bottom = picture.isLit(column, row + 1);
            text += top && bottom ? QChar(0x2588) // full block
                    : top         ? QChar(0x2580) // upper half block
                    : bottom      ? QChar(0x2584) // lower half block
                                  : QChar(u' ');
        }
        rows += text;
    }
    return rows;
}

QStringList asciiRows(const bootscreen::DisplayPicture &picture)
{
    QStringList rows;
    for (int row = 0; row < DisplayRows; ++row) {
        QString text;
        for (int column = 0; column < DisplayColumns; ++column)
            text += picture.isLit(column, row) ? QLatin1Char('#') : QLatin1Char('.');
        rows += text;
    }
    return rows;
}

QString framed(const QStringList &rows, const Frame &frame)
{
    const QString edge(DisplayColumns, frame.horizontal);
    QString text = frame.topLeft + edge + frame.topRight + QLatin1Char('\n');
    for (const QString &row : rows)
        text += frame.vertical + row + frame.vertical + QLatin1Char('\n');
    return text + frame.bottomLeft + edge + frame.bottomRight + QLatin1Char('\n');
}

} // namespace

int runShow(const QStringList &arguments, Streams &streams)
{
    CommandParser parser(QStringLiteral("show"), QStringLiteral("[options] FILE"),
                         QStringLiteral("Prints the picture of a boot screen file or an image "
                                        "(converted as by\ntbs convert) to the terminal: 32 "
                                        "columns of Unicode half blocks in a frame,\nlit = "
                                        "block; # and . where the locale's character set is "
                                        "not UTF-8."));
    QCommandLineParser &options = parser.options();
    options.addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("A .tbs file or a picture; - for standard input."));
    parser.addTableOptions(optiontable::Show);
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
    const QString text = options.isSet(QStringLiteral("ascii")) || !localeIsUtf8()
                             ? framed(asciiRows(picture), AsciiFrame)
                             : framed(halfBlocks(picture), BoxDrawingFrame);
    return writeReport(streams, text.toUtf8(), Success);
}
