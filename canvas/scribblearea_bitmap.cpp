#include "scribblearea.h"

#include "allocationlimit.h"
#include "canvasgeometry.h"
#include "imagefile.h"
#include "monoimage.h"

#include <QImageReader>

using namespace canvasgeometry;

bool ScribbleArea::failWith(const QString &reason)
{
    lastError = reason;
    return false;
}

bool ScribbleArea::saveBitmap(const QString &fileName, const char *fileFormat)
{
    QImage gridArea = image;
    growImage(&gridArea, GridSize);
    if (gridArea.size() != GridSize)
        return failWith(tr("Not enough memory to save the image."));

    QString reason;
    if (!imagefile::saveImage(fileName, gridArea, fileFormat, &reason))
        return failWith(reason);
    modified = false;
    return true;
}

// An image taken over whole stays in its own pixel format where the painter draws on it
// faithfully. Palette and grey formats cannot carry the pen's colours (or cannot be painted
// on at all), so they become 32-bit colour with every colour kept.
static QImage paintableImage(const QImage &loaded)
{
    switch (loaded.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        if (monoimage::isBlackAndWhite(loaded))
            return loaded;
        break;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
    case QImage::Format_Alpha8:
        break;
    default:
        return loaded;
    }
    const QImage::Format colour =
        loaded.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (!allocationlimit::fits(loaded.size(), 32))
        return {};
    return loaded.convertToFormat(colour);
}

bool ScribbleArea::loadBitmap(const QString &fileName)
{
    QImageReader reader(fileName);
    QImage loaded;
    if (!reader.read(&loaded))
        return failWith(reader.errorString());

    const QSize target = size().expandedTo(loaded.size());
    if (loaded.size() == target) {
        loaded = paintableImage(loaded);
    } else if (allocationlimit::fits(target, 1)) {
        growImage(&loaded, target);
        if (loaded.size() != target || loaded.format() != QImage::Format_Mono)
            loaded = QImage();
    } else {
        loaded = QImage();
    }
    if (loaded.isNull())
        return failWith(tr("The image is too large to open."));

    image = loaded;
    modified = false;
    update();
    return true;
}
