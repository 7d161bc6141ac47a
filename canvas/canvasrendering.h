#pragma once

#include <QImage>
#include <QRect>

class QPainter;

// The canvas as the user sees it: the canvas image at scale 1 or 3 with every cell
// outlined in the colour opposite to its state. Painting starts at the painter's origin.
namespace canvasrendering {

// A block of cells, inclusive on both ends.
struct CellRange
{
    int firstColumn;
    int lastColumn;
    int firstRow;
    int lastRow;
};

CellRange allCells();

// The cells whose outlines can reach the device pixels of `deviceRect` at `scale`.
CellRange cellsTouching(const QRect &deviceRect, int scale);

// Draws the whole image, then outlines the cells of `cells`, columns outer and rows inner,
// so that the later of two neighbouring outlines covers the edge they share.
void paintCanvas(QPainter &painter, const QImage &image, int scale, const CellRange &cells);

} // namespace canvasrendering
