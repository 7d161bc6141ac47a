#include "monoimage.h"

#include "canvasgeometry.h"

#include <algorithm>

namespace monoimage {

QImage blackAndWhiteImage(const QSize &size)
{
    QImage image(size, QImage::Format_Mono);
    if (image.isNull())
        return image;
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(0);
    return image;
}

bool isBlackAndWhite(const QImage &image)
{
    if (image.format() != QImage::Format_Mono && image.format() != QImage::Format_MonoLSB)
        return false;
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    return image.colorCount() == 2 && ((image.color(0) == black && image.color(1) == white) ||
                                       (image.color(0) == white && image.color(1) == black));
}

void fillCellInteriors(QImage &image, const bootscreen::DisplayPicture &picture)
{
    using namespace canvasgeometry;
    Q_ASSERT(isBlackAndWhite(image));
    const bool lsb = lsbFirst(image);
    const int whiteBit = whiteIndex(image);
    const int width = std::min(GridWidth, image.width());
    const int bytes = (width + 7) / 8;
    // The interior pixels of a row of cells, and the bits a row of cells gives them: the same
    // for all four pixel rows of the interiors.
    uchar interior[GridWidth / 8 + 1] = {};
    uchar cellBits[GridWidth / 8 + 1] = {};
    for (int x = 0; x < width; ++x)
        setBitAt(interior, x, lsb, x % CellSize != 0);
    for (int row = 0; row < DisplayRows; ++row) {
        for (int x = 0; x < width; ++x) {
            const bool white = picture.isLit(x / CellSize, row);
            setBitAt(cellBits, x, lsb, white ? whiteBit : 1 - whiteBit);
        }
        const int lastY = std::min(row * CellSize + InteriorSize, image.height() - 1);
        for (int y = row * CellSize + 1; y <= lastY; ++y) {
            uchar *line = image.scanLine(y);
            for (int i = 0; i < bytes; ++i)
                line[i] =
                    static_cast<uchar>((line[i] & ~interior[i]) | (cellBits[i] & interior[i]));
        }
    }
}

void fillArea(QImage &image, const QRect &area, int bit)
{
    const QRect clipped = area & image.rect();
    const bool lsb = lsbFirst(image);
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            setBitAt(line, x, lsb, bit);
    }
}

} // namespace monoimage
