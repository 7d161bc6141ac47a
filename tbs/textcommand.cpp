#include "choiceoption.h"
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

const Choices<textlayout::Rotation> &rotations()
{
    using textlayout::Rotation;
    static const Choices<Rotation> choices{{QStringLiteral("0"), Rotation::None},
                                           {QStringLiteral("90"), Rotation::Quarter},
                                           {QStringLiteral("270"), Rotation::ThreeQuarters},
                                           {QStringLiteral("auto"), Rotation::Auto}};
    return choices;
}

const Choices<textlayout::Alignment> &alignments()
{
    using textlayout::Alignment;
    static const Choices<Alignment> choices{{QStringLiteral("left"), Alignment::Left},
                                            {QStringLiteral("center"), Alignment::Center},
                                            {QStringLiteral("right"), Alignment::Right}};
    return choices;
}

QStringList fontNames()
{
    QStringList names{QStringLiteral("auto")};
    for (const pixelfont::Font *font : pixelfont::bundledFonts())
        names << QString::fromLatin1(font->name);
    return names;
}

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
    textlayout::Options options;
    if (!pickChoice(parser, QStringLiteral("rotate"), rotations(), &options.rotation, problem) ||
        !pickChoice(parser, QStringLiteral("align"), alignments(), &options.alignment, problem))
        return std::nullopt;
    const QString font = parser.options().value(QStringLiteral("font"));
    if (font != QLatin1String("auto")) {
        options.font = pixelfont::fontNamed(font.toStdString());
        if (!options.font) {
            *problem = QStringLiteral("--font takes %1, not '%2'.")
                           .arg(fontNames().join(QStringLiteral(", ")), font);
            return std::nullopt;
        }
    }
    return options;
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
    outputoptions::addOutputOptions(parser, QStringLiteral("The file to write."));
    options.addOption(QCommandLineOption(
        QStringLiteral("font"),
        QStringLiteral("The font: a name from --list-fonts, or auto for the largest that fits "
                       "(default auto)."),
        QStringLiteral("NAME"), QStringLiteral("auto")));
    options.addOption(QCommandLineOption(QStringLiteral("list-fonts"),
                                         QStringLiteral("List the fonts with their sizes.")));
    options.addOption(choiceOption(QStringLiteral("rotate"), QStringLiteral("ANGLE"), rotations(),
                                   QStringLiteral("Clockwise turn of the text; 90 reads from top "
                                                  "to bottom, auto takes the direction that "
                                                  "allows the larger font"),
                                   QStringLiteral("auto")));
    options.addOption(choiceOption(QStringLiteral("align"), QStringLiteral("SIDE"), alignments(),
                                   QStringLiteral("Where each line goes; the lines are centred "
                                                  "as a block across them"),
                                   QStringLiteral("center")));
    options.addOption(QCommandLineOption(QStringLiteral("invert"),
                                         QStringLiteral("Dark text on a lit screen (or area).")));
    screenparts::addCompositionOptions(parser);
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
    std::optional<textlayout::Options> layout = layoutOptions(parser, &problem);
    const std::optional<screenparts::Composition> composition =
        layout ? screenparts::compositionOptions(parser, &problem) : std::nullopt;
    const std::optional<outputoptions::Output> output =
        composition ? outputoptions::outputOptions(parser, false, &problem) : std::nullopt;
    if (!output)
        return parser.usageError(streams, problem);
    layout->area = composition->area;
    if (texts.count(QStringLiteral("-")) + (composition->over == QLatin1String("-") ? 1 : 0) > 1)
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
    if (!screenparts::readBase(*composition, streams.in, &base, &reason)) {
        reportFileError(streams, composition->over, reason);
        return Failure;
    }
    const bootscreen::DisplayPicture screen =
        displayarea::composed(base, std::get<bootscreen::DisplayPicture>(part), composition->area,
                              options.isSet(QStringLiteral("invert")));
    return outputoptions::writeOutput(streams, output->path, *output, screen) ? Success : Failure;
}
