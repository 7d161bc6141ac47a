#include "commandparser.h"
#include "commands.h"
#include "lineaudit.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

int runCheck(const QStringList &arguments, Streams &streams)
{
    CommandParser parser(QStringLiteral("check"), QStringLiteral("[--quiet] FILE..."),
                         QStringLiteral("Reports, as FILE:LINE: message, every line of a boot "
                                        "screen file that is\nnot exactly what the editor "
                                        "writes, and what the editor reads there.\nExit status: "
                                        "0 when every file is as the editor writes it, 1 when "
                                        "some\nfile is readable but differs, 2 when a file "
                                        "cannot be read or no line\nof it is taken. FILE may be "
                                        "- for standard input."));
    QCommandLineParser &options = parser.options();
    options.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Boot screen files."),
                                  QStringLiteral("FILE..."));
    options.addOption(
        QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")},
                           QStringLiteral("Print nothing; only the exit status tells.")));
    if (const std::optional<int> done = parser.parse(arguments, streams))
        return *done;
    const QStringList files = options.positionalArguments();
    if (files.isEmpty())
        return parser.usageError(streams, QStringLiteral("No FILE given."));
    const bool quiet = options.isSet(QStringLiteral("quiet"));

    int status = Success;
    for (const QString &fileName : files) {
        QFile file(fileName);
        const bool standardInput = fileName == QLatin1String("-");
        if (!standardInput && (QFileInfo(fileName).isDir() || !file.open(QIODevice::ReadOnly))) {
            if (!quiet)
                reportFileError(streams, fileName,
                                QFileInfo(fileName).isDir() ? QStringLiteral("is a folder")
                                                            : file.errorString());
            status = UsageError;
            continue;
        }
        const lineaudit::Audit audit =
            lineaudit::auditBootScreen(standardInput ? streams.in : file);
        if (!quiet) {
            QByteArray report;
            for (const lineaudit::Finding &finding : audit.findings)
                report += QStringLiteral("%1:%2: %3\n")
                              .arg(fileName)
                              .arg(finding.line)
                              .arg(finding.message)
                              .toUtf8();
            streams.out.write(report);
        }
        if (audit.takenLines == 0) {
            if (!quiet)
                reportFileError(streams, fileName,
                                QStringLiteral("not a boot screen file: no line of it is taken"));
            status = UsageError;
        } else if (!audit.findings.isEmpty()) {
            status = std::max(status, int(Failure));
        }
    }
    return status;
}
