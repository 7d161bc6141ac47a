// Medians for the boot screen file: export and import of one file through the canvas, and
// the format core alone on an in-memory device.

#include "benchstats.h"

#include "bootscreenreader.h"
#include "bootscreenwriter.h"
#include "canvasgeometry.h"
#include "screenfile.h"
#include "scribblearea.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder: %s\n", qPrintable(dir.errorString()));
        return 1;
    }
    const QString path = dir.filePath(QStringLiteral("bench.tbs"));

    ScribbleArea canvas;
    canvas.resize(canvasgeometry::CanvasSize);
    canvas.show();
    // Every cell on: the longest file (2,560 bytes) and every cell painted white.
    canvas.clearImage(); // All Pixels On

    bool allSucceeded = true;
    reportMedian("export one file (pack, write through a temporary file)", 300,
                 [&] { allSucceeded &= canvas.writeBootScreen(path); });
    reportMedian("import one file (read, paint all 4,096 cells)", 300, [&] {
        allSucceeded &= canvas.readBootScreen(path);
        canvas.unpackScreen();
    });
    reportMedian("pack the canvas into the screen buffer", 1000, [&] { canvas.packScreen(); });
    reportMedian("import (unpack) one buffer, every cell on", 1000, [&] { canvas.unpackScreen(); });
    // Random entries, so that neighbouring cells differ.
    QRandomGenerator random(20240612);
    QByteArray randomFile;
    for (int entry = 0; entry < bootscreen::EntryCount; ++entry)
        randomFile += QByteArray::number(random.bounded(256)) + "\r\n";
    const QString randomPath = dir.filePath(QStringLiteral("random.tbs"));
    QFile randomOut(randomPath);
    allSucceeded &= randomOut.open(QIODevice::WriteOnly) && randomOut.write(randomFile) > 0;
    randomOut.close();
    allSucceeded &= canvas.readBootScreen(randomPath);
    reportMedian("import (unpack) one buffer, random entries (seed 20240612)", 1000,
                 [&] { canvas.unpackScreen(); });
    QImage shown(canvasgeometry::CanvasSize, QImage::Format_ARGB32_Premultiplied);
    reportMedian("import (unpack) one buffer + repaint at scale 1", 300, [&] {
        canvas.unpackScreen();
        canvas.render(&shown);
    });

    const bootscreen::ScreenBuffer screen = canvas.screenBuffer();
    reportMedian("core: write 512 lines to a QBuffer", 5000, [&] {
        QBuffer device;
        device.open(QIODevice::WriteOnly);
        allSucceeded &= screenfile::writeScreen(device, screen);
    });
    QByteArray fileBytes = QByteArray::fromStdString(bootscreen::formatScreen(screen));
    reportMedian("core: read 512 lines from a QBuffer", 5000, [&] {
        QBuffer device(&fileBytes);
        device.open(QIODevice::ReadOnly);
        bootscreen::ScreenBuffer read{};
        allSucceeded &= bootscreen::readScreen(screenfile::readCapped(device), read).takenLines ==
                        bootscreen::EntryCount;
    });
    const std::string plainBytes = fileBytes.toStdString();
    reportMedian("core: read 512 lines from bytes in memory", 5000, [&] {
        bootscreen::ScreenBuffer read{};
        allSucceeded &=
            bootscreen::readScreen(plainBytes, read).takenLines == bootscreen::EntryCount;
    });

    if (!allSucceeded) {
        std::fprintf(stderr, "a file operation failed during the benchmark\n");
        return 1;
    }
    return 0;
}
