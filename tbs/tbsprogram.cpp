#include "tbsprogram.h"

#include "commands.h"
#include "messages.h"
#include "safesave.h"

namespace {

struct Command
{
    const char *name;
    int (*run)(const QStringList &, Streams &);
    const char *summary;
};

const Command commands[] = {
    {"convert", runConvert,
     "Convert pictures and boot screen files: tbs convert INPUT... -o OUTPUT"},
    {"text", runText, "Set text in a bundled pixel font: tbs text TEXT... -o OUTPUT"},
    {"check", runCheck, "Report every line that differs from what the editor writes"},
    {"show", runShow, "Print the picture to the terminal"},
    {"thumbnail", runThumbnail, "Write a PNG thumbnail for file managers"},
    {"compare", runCompare,
     "Write one picture converted several ways, side by side: tbs compare INPUT -o SHEET.png"},
    {"link", runLink, "Print a link that holds the screen: tbs link INPUT --base URL"},
};

QString generalHelp()
{
    QString help = QStringLiteral(
        "Usage: tbs COMMAND [options] ...\n"
        "Converts, sets text on, checks, shows and links boot screen files (.tbs) of the\n"
        "Tarrow marker.\n\n"
        "Commands:\n");
    for (const Command &command : commands)
        help += QStringLiteral("  %1%2\n")
                    .arg(QLatin1String(command.name), -11)
                    .arg(QLatin1String(command.summary));
    help += QStringLiteral("\nOptions:\n"
                           "  -h, --help     Show this help and exit.\n"
                           "  -v, --version  Show the version and exit.\n\n"
                           "Run 'tbs COMMAND --help' for a command's options.\n");
    return help;
}

} // namespace

void reportFileError(Streams &streams, const QString &file, const QString &reason)
{
    writeLine(streams.err, QStringLiteral("tbs: %1: %2").arg(messages::inputName(file), reason));
}

void reportOutputError(Streams &streams, const QString &file, const QString &reason)
{
    writeLine(streams.err, QStringLiteral("tbs: %1: %2").arg(messages::outputName(file), reason));
}

int writeReport(Streams &streams, const QByteArray &report, int status)
{
    QString reason;
    const bool written = safesave::writeStream(
        streams.out,
        [&report](QIODevice &device, QString *) { return device.write(report) == report.size(); },
        &reason);
    if (written)
        return status;
    reportOutputError(streams, QStringLiteral("-"), reason);
    return Failure;
}

int runTbs(const QStringList &arguments, Streams &streams)
{
    const QString first = arguments.value(1);
    if (first == QLatin1String("-h") || first == QLatin1String("--help") ||
        first == QLatin1String("help")) {
        streams.out.write(generalHelp().toUtf8());
        return Success;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        writeLine(streams.out, QStringLiteral("tbs " TARROW_VERSION));
        return Success;
    }
    for (const Command &command : commands) {
        if (first == QLatin1String(command.name))
            return command.run(arguments.mid(2), streams);
    }
    writeLine(streams.err,
              first.isEmpty()
                  ? QStringLiteral("tbs: No command given. Try 'tbs --help'.")
                  : QStringLiteral("tbs: Unknown command '%1'. Try 'tbs --help'.").arg(first));
    return UsageError;
}
