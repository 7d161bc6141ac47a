#include "canvasrendering.h"

#include "canvasgeometry.h"
#include "cellpainting.h"

#include <QPainter>

#include <algorithm>

namespace canvasrendering {

using namespace canvasgeometry;

CellRange allCells()
{
    return {0, DisplayColumns - 1, 0, DisplayRows - 1};
}

static int floorDivide(int value, int divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

CellRange cellsTouching(const QRect &deviceRect, int scale)
{
    // A cell's outline runs along both its own corner lines and those of the next cell,
    // so one cell of margin on every side reaches every outline that can touch the rect.
    const int cellPixels = CellSize * scale;
    return {std::max(0, floorDivide(deviceRect.left(), cellPixels) - 1),
            std::min(DisplayColumns - 1, floorDivide(deviceRect.right(), cellPixels) + 1),
            std::max(0, floorDivide(deviceRect.top(), cellPixels) - 1),
            std::min(DisplayRows - 1, floorDivide(deviceRect.bottom(), cellPixels) + 1)};
}

void paintCanvas(QPainter &painter, const QImage &image, int scale, const CellRange &cells)
{
    painter.scale(scale, scale);
    painter.drawImage(image.rect(), image, image.rect());
    const QSize cellSize(CellSize, CellSize);
    for (int column = cells.firstColumn; column <= cells.lastColumn; ++column) {
        for (int row = cells.firstRow; row <= cells.lastRow; ++row) {
            const bool on = cellIsOn(image, column, row);
            painter.setPen(cellPen(on ? Qt::color1 : Qt::color0));
            painter.drawRect(QRect(cellCorner(column, row), cellSize));
        }
    }
}

} // namespace canvasrendering
