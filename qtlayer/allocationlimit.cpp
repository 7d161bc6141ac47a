#include "allocationlimit.h"

#include <QImageReader>

namespace allocationlimit {

bool fits(const QSize &size, int bitsPerPixel)
{
    const int limit = megabytes();
    if (limit <= 0 || !size.isValid())
        return true;
    const qint64 bytesPerLine = (qint64(size.width()) * bitsPerPixel + 31) / 32 * 4;
    return bytesPerLine * size.height() <= qint64(limit) * 1024 * 1024;
}

int megabytes()
{
    return QImageReader::allocationLimit();
}

} // namespace allocationlimit
