#include "displayimage.h"

#include "canvasgeometry.h"
#include "monoimage.h"

QImage displayImage(const bootscreen::DisplayPicture &picture, int scale)
{
    using canvasgeometry::DisplayColumns;
    using canvasgeometry::DisplayRows;
    QImage image = monoimage::blackAndWhiteImage(QSize(DisplayColumns, DisplayRows) * scale);
    if (image.isNull())
        return image;
    for (int y = 0; y < image.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            monoimage::setBitAt(line, x, false, picture.isLit(x / scale, y / scale) ? 1 : 0);
    }
    return image;
}
