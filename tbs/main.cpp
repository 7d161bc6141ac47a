#include "tbsprogram.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

// The tool reports every failure itself, as one line per file; Qt's own warnings (an image
// plugin's complaint about a broken file, say) would only repeat it less clearly.
void dropToolkitMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "tbs: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(dropToolkitMessages);
    // Qt Core only: the tool must run without a display.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tbs"));
    QFile in;
    QFile out;
    QFile err;
    in.open(stdin, QIODevice::ReadOnly);
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    Streams streams{in, out, err};
    return runTbs(QCoreApplication::arguments(), streams);
}
