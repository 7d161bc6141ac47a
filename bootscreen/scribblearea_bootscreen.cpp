// The canvas's boot screen operations: packing the cells into the screen buffer, writing and
// reading boot screen files, and painting the screen buffer back onto the cells.

#include "scribblearea.h"

#include "bootscreenformat.h"
#include "bootscreenreader.h"
#include "bootscreenwriter.h"
#include "canvasgeometry.h"
#include "cellpainting.h"
#include "monoimage.h"

#include <QPainter>

#include <vector>

namespace {

const QRect gridArea(QPoint(0, 0), canvasgeometry::GridSize);

} // namespace

void ScribbleArea::packScreen()
{
    // Before the first layout there may be no image yet; cells it does not cover count as off.
    const bool imageCoversGrid = image.rect().contains(gridArea);
    for (int entry = 0; entry < bootscreen::EntryCount; ++entry) {
        std::int32_t value = 0;
        for (int bit = 0; bit < bootscreen::BitsPerEntry; ++bit) {
            const bootscreen::DisplayPixel pixel = bootscreen::pixelForEntryBit(entry, bit);
            if (imageCoversGrid && canvasgeometry::cellIsOn(image, pixel.column, pixel.row))
                value |= std::int32_t{1} << bit;
        }
        screen[static_cast<size_t>(entry)] = value;
    }
}

bool ScribbleArea::writeBootScreen(const QString &fileName)
{
    if (zoomed) {
        zoomed = false;
        update();
    }
    packScreen();
    QString reason;
    if (!bootscreen::saveScreenFile(fileName, screen, &reason))
        return failWith(reason);
    return true;
}

bool ScribbleArea::readBootScreen(const QString &fileName)
{
    QString reason;
    if (!bootscreen::readScreenFile(fileName, screen, &reason))
        return failWith(reason);
    return true;
}

void ScribbleArea::unpackScreen()
{
    // An import before the first layout must still land on the picture the user will see.
    if (!image.rect().contains(gridArea))
        growImage(&image, image.size().expandedTo(canvasgeometry::CanvasSize));

    // Every cell interior white for a set bit and black for a clear one.
    using canvasgeometry::Columns;
    std::vector<uchar> cellOn(size_t(Columns * canvasgeometry::Rows));
    for (int entry = 0; entry < bootscreen::EntryCount; ++entry) {
        const std::int32_t value = screen[static_cast<size_t>(entry)];
        for (int bit = 0; bit < bootscreen::BitsPerEntry; ++bit) {
            const bootscreen::DisplayPixel pixel = bootscreen::pixelForEntryBit(entry, bit);
            cellOn[size_t(pixel.row * Columns + pixel.column)] =
                bootscreen::entryBitIsSet(value, bit);
        }
    }
    // On the 1-bit black and white image the interiors are written as bits, the very pixels
    // the painter's lines would give; an image in any other format gets the lines.
    if (monoimage::isBlackAndWhite(image)) {
        monoimage::fillCellInteriors(image, cellOn);
    } else {
        const QPen onPen = cellPen(Qt::color0);
        const QPen offPen = cellPen(Qt::color1);
        QPainter painter(&image);
        for (int row = 0; row < canvasgeometry::Rows; ++row) {
            for (int column = 0; column < Columns; ++column) {
                painter.setPen(cellOn[size_t(row * Columns + column)] ? onPen : offPen);
                fillCellInterior(painter, canvasgeometry::interiorTopLeft(column, row));
            }
        }
    }
    modified = false;
    update();
}
