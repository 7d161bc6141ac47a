#include "allocationlimit.h"

#include "imagelimit.h"

#include <QImageReader>

namespace allocationlimit {

bool fits(const QSize &size, int bitsPerPixel)
{
    return imagelimit::fits(size.width(), size.height(), bitsPerPixel, megabytes());
}

int megabytes()
{
    return QImageReader::allocationLimit();
}

} // namespace allocationlimit
