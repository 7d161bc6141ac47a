#include "displayimage.h"

#include "monoimage.h"
#include "screenimage.h"

#include <vector>

QImage displayImage(const bootscreen::DisplayPicture &picture, int scale)
{
    QImage image = monoimage::blackAndWhiteImage(
        QSize(bootscreen::DisplayColumns, bootscreen::DisplayRows) * scale);
    if (image.isNull())
        return image;
    // The pixels are the core's; a 1-bit image keeps the files small.
    std::vector<std::uint8_t> row(size_t(image.width()) * 4);
    for (int y = 0; y < image.height(); ++y) {
        screenimage::rgbaRow(picture, scale, y, row.data());
        uchar *line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            monoimage::setBitAt(line, x, false, screenimage::isLit(&row[size_t(x) * 4]) ? 1 : 0);
    }
    return image;
}
