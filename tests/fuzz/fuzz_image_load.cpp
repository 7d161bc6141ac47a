// Opens arbitrary bytes as an image into the canvas. Whatever decodes must leave a canvas
// on which All Pixels Off, All Pixels On and Invert still do what they say; whatever does
// not decode must leave the canvas untouched.

#include "canvasgeometry.h"
#include "scribblearea.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QResizeEvent>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QTemporaryDir *scratch = nullptr;

// The raw bits of the picture, so that "untouched" means every byte, not just the cells.
QByteArray pictureBytes(const QImage &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.constBits()),
                      static_cast<qsizetype>(image.sizeInBytes()));
}

void expectEveryCell(const ScribbleArea &canvas, bool on, const char *after)
{
    for (int column = 0; column < canvasgeometry::DisplayColumns; ++column)
        for (int row = 0; row < canvasgeometry::DisplayRows; ++row)
            if (canvasgeometry::cellIsOn(canvas.canvasImage(), column, row) != on) {
                std::fprintf(stderr, "after %s the cell at column %d, row %d is %s (format %d)\n",
                             after, column, row, on ? "off" : "on",
                             static_cast<int>(canvas.canvasImage().format()));
                std::abort();
            }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argumentCount = 1;
    static char programName[] = "fuzz_image_load";
    static char *arguments[] = {programName, nullptr};
    new QApplication(argumentCount, arguments);
    // A header may claim any size; keep decoded pictures well inside the fuzzer's memory limit.
    QImageReader::setAllocationLimit(64);
    scratch = new QTemporaryDir;
    return scratch->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = scratch->filePath(QStringLiteral("input.bmp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
        std::abort();
    file.close();

    ScribbleArea canvas;
    canvas.resize(canvasgeometry::CanvasSize);
    QResizeEvent resize(canvas.size(), QSize());
    QCoreApplication::sendEvent(&canvas, &resize);
    canvas.invertImage(); // a recognisable picture that a failed load must leave alone
    const QByteArray before = pictureBytes(canvas.canvasImage());

    if (!canvas.loadBitmap(path)) {
        if (pictureBytes(canvas.canvasImage()) != before || !canvas.isModified()) {
            std::fprintf(stderr, "a failed load changed the canvas\n");
            std::abort();
        }
        return 0;
    }
    const QSize loaded = canvas.canvasImage().size();
    if (loaded.width() < canvasgeometry::CanvasSize.width() ||
        loaded.height() < canvasgeometry::CanvasSize.height() || canvas.isModified()) {
        std::fprintf(stderr, "a loaded picture is %dx%d, modified %d\n", loaded.width(),
                     loaded.height(), canvas.isModified());
        std::abort();
    }
    canvas.fillImage();
    expectEveryCell(canvas, false, "All Pixels Off");
    canvas.clearImage();
    expectEveryCell(canvas, true, "All Pixels On");
    canvas.invertImage();
    expectEveryCell(canvas, false, "Invert of all on");
    return 0;
}
