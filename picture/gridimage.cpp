#include "gridimage.h"

#include "canvasgeometry.h"
#include "cellpainting.h"
#include "monoimage.h"

#include <QPainter>

using namespace canvasgeometry;

namespace gridimage {

void growImage(QImage *image, const QSize &newSize)
{
    if (image->size() == newSize)
        return;
    QImage grown = monoimage::blackAndWhiteImage(newSize);
    if (grown.isNull())
        return; // too large to allocate: the caller sees the size unchanged
    // The painter lands every colour on the nearer of black and white (white exactly when
    // red + green + blue >= 383, after compositing over black), without dithering.
    QPainter painter(&grown);
    painter.drawImage(QPoint(0, 0), *image);
    painter.end();
    *image = grown;
}

bootscreen::DisplayPicture cellsOf(const QImage &image)
{
    bootscreen::DisplayPicture picture;
    for (int row = 0; row < DisplayRows; ++row) {
        for (int column = 0; column < DisplayColumns; ++column) {
            if (cellIsOn(image, column, row))
                picture.setLit(column, row, true);
        }
    }
    return picture;
}

void paintCellInteriors(QImage &image, const bootscreen::DisplayPicture &picture)
{
    // On the 1-bit black and white image the interiors are written as bits, the very pixels
    // the painter's lines would give; an image in any other format gets the lines.
    if (monoimage::isBlackAndWhite(image)) {
        monoimage::fillCellInteriors(image, picture);
        return;
    }
    const QPen onPen = cellPen(Qt::color0);
    const QPen offPen = cellPen(Qt::color1);
    QPainter painter(&image);
    for (int row = 0; row < DisplayRows; ++row) {
        for (int column = 0; column < DisplayColumns; ++column) {
            painter.setPen(picture.isLit(column, row) ? onPen : offPen);
            fillCellInterior(painter, interiorTopLeft(column, row));
        }
    }
}

} // namespace gridimage
