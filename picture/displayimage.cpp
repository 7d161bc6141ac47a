#include "displayimage.h"

#include "canvasgeometry.h"
#include "monoimage.h"

QImage displayImage(const bootscreen::DisplayPicture &picture, int scale)
{
    using canvasgeometry::DisplayColumns;
    using canvasgeometry::DisplayRows;
    QImage image(DisplayColumns * scale, DisplayRows * scale, QImage::Format_Mono);
    if (image.isNull())
        return image;
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < image.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            monoimage::setBitAt(line, x, false, picture.isLit(x / scale, y / scale) ? 1 : 0);
    }
    return image;
}
