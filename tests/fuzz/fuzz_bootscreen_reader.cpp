// Feeds arbitrary bytes to the boot screen reader, on their own and through the canvas's
// import path, and holds both against the reference reading rules. Any disagreement aborts,
// so the fuzzer reports logic faults as well as memory errors.

#include "bootscreenreader.h"
#include "canvasgeometry.h"
#include "referenceformat.h"
#include "scribblearea.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QResizeEvent>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

QTemporaryDir *scratch = nullptr;
ScribbleArea *canvas = nullptr;

// Entries start from values no line of a small input can produce together, so an entry
// the reader should have left alone shows when it was touched.
bootscreen::ScreenBuffer startingBuffer()
{
    bootscreen::ScreenBuffer buffer{};
    for (int i = 0; i < bootscreen::EntryCount; ++i)
        buffer[static_cast<size_t>(i)] = 100000 + 37 * i;
    return buffer;
}

[[noreturn]] void fail(const char *what, int entry, qint32 got, qint32 expected)
{
    std::fprintf(stderr, "%s: entry %d is %d, the reading rules give %d\n", what, entry,
                 static_cast<int>(got), static_cast<int>(expected));
    std::abort();
}

void checkCoreReader(const QByteArray &bytes)
{
    bootscreen::ScreenBuffer expected = startingBuffer();
    const int taken = reference::readInto(bytes, expected, bootscreen::ReadByteCap);

    bootscreen::ScreenBuffer got = startingBuffer();
    const int reported =
        bootscreen::readScreen(std::string_view(bytes.constData(), size_t(bytes.size())), got)
            .takenLines;
    if (reported != taken)
        fail("readScreen's count of taken lines", -1, reported, taken);
    for (int i = 0; i < bootscreen::EntryCount; ++i)
        if (got[static_cast<size_t>(i)] != expected[static_cast<size_t>(i)])
            fail("readScreen", i, got[static_cast<size_t>(i)], expected[static_cast<size_t>(i)]);
}

void checkCanvasImport(const QByteArray &bytes)
{
    const QString path = scratch->filePath(QStringLiteral("input.tbs"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();

    // One canvas for the whole run: what an import must do depends only on the buffer it
    // starts from, and painting a fresh canvas for every input would dominate the run.
    // A file from which no line is taken is refused and changes nothing.
    bootscreen::ScreenBuffer expected = canvas->screenBuffer();
    const bool taken = reference::readInto(bytes, expected, bootscreen::ReadByteCap) > 0;
    if (canvas->readBootScreen(path) != taken || canvas->screenBuffer() != expected)
        std::abort();
    if (!taken)
        return;
    canvas->unpackScreen();

    const reference::Cells cells = reference::unpack(expected);
    for (int column = 0; column < reference::Columns; ++column)
        for (int row = 0; row < reference::Rows; ++row) {
            const int entry = reference::entryOf(column, row);
            if (canvasgeometry::cellIsOn(canvas->canvasImage(), column, row) !=
                    cells[column][row] ||
                canvas->screenBuffer()[entry] != expected[entry])
                fail("readBootScreen and unpackScreen", entry, canvas->screenBuffer()[entry],
                     expected[entry]);
        }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt keeps a reference to the argument count, and must not see libFuzzer's flags.
    static int argumentCount = 1;
    static char programName[] = "fuzz_bootscreen_reader";
    static char *arguments[] = {programName, nullptr};
    new QApplication(argumentCount, arguments);
    scratch = new QTemporaryDir;
    canvas = new ScribbleArea;
    canvas->resize(canvasgeometry::CanvasSize);
    QResizeEvent resize(canvas->size(), QSize());
    QCoreApplication::sendEvent(canvas, &resize);
    return scratch->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    checkCoreReader(bytes);
    // Painting 4,096 cells costs far more than reading; the canvas path takes a fixed
    // sixteenth of the inputs, chosen by content so that every run picks the same ones.
    if (qHash(bytes) % 16 == 0)
        checkCanvasImport(bytes);
    return 0;
}
