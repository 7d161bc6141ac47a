#include "framecomposer.h"

#include "canvasgeometry.h"
#include "canvasrendering.h"
#include "monoimage.h"

#include <algorithm>
#include <cstring>

using namespace canvasgeometry;

// The loops below are written over raw scan lines with memcpy for the runs: they touch a
// million device pixels per frame and must stay fast in unoptimised builds too.

namespace {

// The 32-bit colours the painter gives a cell outline: black around an on cell, white
// around an off one.
constexpr QRgb OutlineAroundOn = 0xff000000;
constexpr QRgb OutlineAroundOff = 0xffffffff;

QRgb *frameLine(QImage &frame, int y)
{
    return reinterpret_cast<QRgb *>(frame.bits() + qsizetype(frame.bytesPerLine()) * y);
}

// The outline colour of each cell of `cells`, by the cell's state.
class CellOutlines
{
public:
    CellOutlines(const QImage &image, const canvasrendering::CellRange &cells)
        : range(cells), columns(cells.lastColumn - cells.firstColumn + 1)
    {
        const bool lsb = monoimage::lsbFirst(image);
        const int whiteBit = monoimage::whiteIndex(image);
        colours.reserve(size_t(columns * (cells.lastRow - cells.firstRow + 1)));
        for (int row = cells.firstRow; row <= cells.lastRow; ++row) {
            for (int column = cells.firstColumn; column <= cells.lastColumn; ++column) {
                // A cell beyond the image (only before the first layout) counts as off.
                const QPoint interior = interiorTopLeft(column, row);
                const bool on =
                    image.valid(interior) && monoimage::bitAt(image.constScanLine(interior.y()),
                                                              interior.x(), lsb) == whiteBit;
                colours.push_back(on ? OutlineAroundOn : OutlineAroundOff);
            }
        }
    }
    // The colours of one row's cells, indexed by column.
    const QRgb *row(int row) const
    {
        return colours.data() + (row - range.firstRow) * columns - range.firstColumn;
    }

private:
    canvasrendering::CellRange range;
    int columns;
    std::vector<QRgb> colours;
};

// Lines every 5 x scale device pixels, one pixel wide, from 0 to the grid's far edges. The
// cells are outlined columns outer and rows inner, so a line pixel shows the outline of the
// last cell drawn over it: the cell to its right and below, or the last column or row.
void composeOutlines(QImage &frame, const QImage &image, int scale, const QRect &rect)
{
    const int pitch = CellSize * scale;
    const int lastX = std::min(rect.right(), GridWidth * scale);
    const int lastY = std::min(rect.bottom(), GridHeight * scale);
    if (rect.left() > lastX || rect.top() > lastY)
        return;
    const CellOutlines outlines(image, canvasrendering::cellsTouching(rect, scale));
    const int firstLineX = (rect.left() + pitch - 1) / pitch * pitch;
    for (int y = rect.top(); y <= lastY; ++y) {
        QRgb *out = frameLine(frame, y);
        const QRgb *colours = outlines.row(std::min(y / pitch, DisplayRows - 1));
        if (y % pitch == 0) {
            for (int x = rect.left(); x <= lastX;) {
                const int column = std::min(x / pitch, DisplayColumns - 1);
                const int end = column == DisplayColumns - 1
                                    ? lastX
                                    : std::min(lastX, (column + 1) * pitch - 1);
                const QRgb colour = colours[column];
                for (; x <= end; ++x)
                    out[x] = colour;
            }
        } else {
            int column = firstLineX / pitch;
            for (int x = firstLineX; x <= lastX; x += pitch, ++column)
                out[x] = colours[column < DisplayColumns ? column : DisplayColumns - 1];
        }
    }
}

} // namespace

bool FrameComposer::canCompose(const QImage &image)
{
    return monoimage::isBlackAndWhite(image);
}

const FrameComposer::ByteExpansion &FrameComposer::expansionFor(const QImage &image, int scale)
{
    ByteExpansion &expansion = expansions[scale == 1 ? 0 : 1];
    const QRgb colours[2] = {image.color(0) | 0xff000000u, image.color(1) | 0xff000000u};
    const bool lsb = monoimage::lsbFirst(image);
    if (expansion.scale == scale && expansion.lsbFirst == lsb &&
        expansion.colours[0] == colours[0] && expansion.colours[1] == colours[1])
        return expansion;
    const int span = 8 * scale;
    expansion.pixels.assign(size_t(256 * span), 0);
    QRgb *out = expansion.pixels.data();
    for (int byte = 0; byte < 256; ++byte) {
        const uchar value = static_cast<uchar>(byte);
        for (int x = 0; x < 8; ++x) {
            const QRgb colour = colours[monoimage::bitAt(&value, x, lsb)];
            for (int repeat = 0; repeat < scale; ++repeat)
                *out++ = colour;
        }
    }
    expansion.colours[0] = colours[0];
    expansion.colours[1] = colours[1];
    expansion.lsbFirst = lsb;
    expansion.scale = scale;
    return expansion;
}

void FrameComposer::composePicture(QImage &frame, const QImage &image, int scale, const QRect &rect)
{
    const QRgb *expanded = expansionFor(image, scale).pixels.data();
    const int span = 8 * scale;
    const size_t rowBytes = sizeof(QRgb) * size_t(rect.width());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        QRgb *out = frameLine(frame, y);
        // A zoomed picture row covers several device rows: the later ones are copies.
        if (y > rect.top() && (y - 1) / scale == y / scale) {
            std::memcpy(out + rect.left(), frameLine(frame, y - 1) + rect.left(), rowBytes);
            continue;
        }
        const uchar *bytes = image.constScanLine(y / scale);
        int x = rect.left();
        const int lastWholeStart = rect.right() + 1 - span;
        if (x % span != 0 || x > lastWholeStart) {
            // The part of the first byte inside the rect.
            const int start = x / span * span;
            const int end = std::min(start + span - 1, rect.right());
            std::memcpy(out + x, expanded + bytes[x / span] * span + (x - start),
                        sizeof(QRgb) * size_t(end - x + 1));
            x = end + 1;
        }
        // The bulk of the row, whole bytes at a time; a constant size lets the copy be inlined.
        const uchar *byte = bytes + x / span;
        if (scale == 1) {
            for (; x <= lastWholeStart; x += 8)
                std::memcpy(out + x, expanded + *byte++ * 8, sizeof(QRgb) * 8);
        } else {
            for (; x <= lastWholeStart; x += span)
                std::memcpy(out + x, expanded + *byte++ * span, sizeof(QRgb) * size_t(span));
        }
        if (x <= rect.right())
            std::memcpy(out + x, expanded + bytes[x / span] * span,
                        sizeof(QRgb) * size_t(rect.right() - x + 1));
    }
}

void FrameComposer::compose(QImage &frame, const QImage &image, int scale, const QRect &deviceRect)
{
    Q_ASSERT(frame.format() == QImage::Format_RGB32 && canCompose(image));
    const QRect rect = deviceRect & frame.rect() & QRect(QPoint(0, 0), image.size() * scale);
    if (rect.isEmpty())
        return;
    composePicture(frame, image, scale, rect);
    composeOutlines(frame, image, scale, rect);
}
