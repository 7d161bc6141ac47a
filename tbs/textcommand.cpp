#include "commandparser.h"
#include "commands.h"
#include "displayarea.h"
#include "outputoptions.h"
#include "screenparts.h"
#include "textlayout.h"
#include "textwording.h"

#include <string>
#include <vector>

namespace {

// No screen holds a thousandth of this; more is a mistake, not text for the marker.
constexpr qint64 MaxStandardInputBytes = 1024 * 1024;

QByteArray fontList()
{
    QByteArray list;
    for (const pixelfont::Font *font : pixelfont::bundledFonts())
        list += QStringLiteral("%1 %2 x %3\n")
                    .arg(QString::fromLatin1(font->name), -12)
                    .arg(font->cellWidth)
                    .arg(font->cellHeight)
                    .toUtf8();
    return list;
}

std::optional<textlayout::Options> layoutOptions(const CommandParser &parser, QString *problem)
{
    const std::variant<textlayout::Options, std::string> read =
        optionvalues::textOptions(parser.given());
    if (const std::string *refused = std::get_if<std::string>(&read)) {
        *problem = QString::fromStdString(*refused);
        return std::nullopt;
    }
    return std::get<textlayout::Options>(read);
}

// The lines of standard input, without their line ends; a byte order mark that some editors
// put first is not text.
bool readInputLines(QIODevice &device, std::vector<std::string> *lines, QString *reason)
{
    QByteArray bytes;
    for (;;) {
        const QByteArray chunk = device.read(64 * 1024);
        if (chunk.isEmpty())
            break;
        bytes += chunk;
        if (bytes.size() > MaxStandardInputBytes) {
            *reason = QStringLiteral("too large: more than %1 MB of text")
                          .arg(MaxStandardInputBytes >> 20);
            return false;
        }
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.isEmpty())
        return true;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        lines->push_back(line.toStdString());
    }
    return true;
}

} // namespace

int runText(const QStringList &arguments, Streams &streams)
{
    CommandParser parser(
        QStringLiteral("text"), QStringLiteral("[options] TEXT... -o OUTPUT"),
        QStringLiteral("Sets text on the screen in a bundled pixel font: each TEXT is one line,\n"
                       "- reads lines from standard input. Every printable Latin-1 character\n"
                       "can be set. OUTPUT is written as by tbs convert: .tbs, .bmp, .png or\n"
                       "another image format, or - for the boot screen on standard output."));
    QCommandLineParser &options = parser.options();
    options.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("A line of text."),
                                  QStringLiteral("TEXT..."));
    parser.addTableOptions(optiontable::Text);
    if (const std::optional<int> done = parser.parse(arguments, streams))
        return *done;
    if (options.isSet(QStringLiteral("list-fonts"))) {
        streams.out.write(fontList());
        return Success;
    }

    const QStringList texts = options.positionalArguments();
    if (texts.isEmpty())
        return parser.usageError(streams, QStringLiteral("No TEXT given."));
    QString problem;
    const std::optional<textlayout::Options> layout = layoutOptions(parser, &problem);
    const std::optional<outputoptions::Output> output =
        layout ? outputoptions::outputOptions(parser, false, &problem) : std::nullopt;
    if (!output)
        return parser.usageError(streams, problem);
    const QString over = screenparts::overScreen(parser);
    if (texts.count(QStringLiteral("-")) + (over == QLatin1String("-") ? 1 : 0) > 1)
        return parser.usageError(streams, QStringLiteral("Standard input can be read only once."));

    std::vector<std::string> lines;
    QString reason;
    for (const QString &text : texts) {
        if (text != QLatin1String("-")) {
            lines.push_back(text.toStdString());
        } else if (!readInputLines(streams.in, &lines, &reason)) {
            reportFileError(streams, text, reason);
            return Failure;
        }
    }
    const std::variant<bootscreen::DisplayPicture, textlayout::Error> part =
        textlayout::setText(lines, *layout);
    if (const textlayout::Error *error = std::get_if<textlayout::Error>(&part)) {
        writeLine(streams.err,
                  QStringLiteral("tbs: ") + QString::fromStdString(textwording::message(*error)));
        return Failure;
    }
    bootscreen::DisplayPicture base;
    if (!screenparts::readBase(over, streams.in, &base, &reason)) {
        reportFileError(streams, over, reason);
        return Failure;
    }
    const bootscreen::DisplayPicture screen =
        displayarea::composed(base, std::get<bootscreen::DisplayPicture>(part), layout->area,
                              optionvalues::textInverted(parser.given()));
    return outputoptions::writeOutput(streams, output->path, *output, screen) ? Success : Failure;
}
