#include "checkwording.h"
#include "commandparser.h"
#include "commands.h"
#include "messages.h"
#include "screencheck.h"
#include "screenfile.h"

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
    QByteArray report;
    for (const QString &fileName : files) {
        QFile file(fileName);
        const bool standardInput = fileName == QLatin1String("-");
        if (!standardInput && (QFileInfo(fileName).isDir() || !file.open(QIODevice::ReadOnly))) {
            if (!quiet)
                reportFileError(streams, fileName,
                                QFileInfo(fileName).isDir() ? messages::isAFolder()
                                                            : file.errorString());
            status = UsageError;
            continue;
        }
        const screencheck::Check check =
            screencheck::checkScreen(screenfile::readCapped(standardInput ? streams.in : file));
        if (!quiet) {
            const std::string name = fileName.toStdString();
            for (const screencheck::Finding &finding : check.findings)
                report += QByteArray::fromStdString(checkwording::report(name, finding) + '\n');
            // Written file by file, so that the reports and the errors on standard error come
            // in the order of the files.
            const int written = writeReport(streams, report, status);
            report.clear();
            if (written != status)
                return written;
        }
        if (check.takenLines == 0) {
            if (!quiet)
                reportFileError(streams, fileName, messages::notABootScreenFile());
            status = UsageError;
        } else if (!check.findings.empty()) {
            status = std::max(status, int(Failure));
        }
    }
    return status;
}
