#include "canvasframecache.h"

#include "canvasgeometry.h"
#include "canvasrendering.h"
#include "framecomposer.h"

#include <QPainter>

#include <cmath>

using namespace canvasgeometry;

bool CanvasFrameCache::canCopyPixels(const QPainter &painter, const QImage &image)
{
    // A frame holds one device pixel per widget pixel and only opaque colours, so it may
    // stand in for the drawing only where copying it gives those same device pixels.
    const QTransform toDevice = painter.deviceTransform();
    const bool wholePixelShift = toDevice.type() <= QTransform::TxTranslate &&
                                 std::trunc(toDevice.dx()) == toDevice.dx() &&
                                 std::trunc(toDevice.dy()) == toDevice.dy();
    return wholePixelShift && painter.device()->devicePixelRatio() == 1.0 &&
           painter.opacity() == 1.0 &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver && !image.isNull() &&
           !image.hasAlphaChannel();
}

void CanvasFrameCache::syncWith(const QImage &image)
{
    if (image.cacheKey() == syncedKey && source.size() == image.size())
        return;
    // A deep copy, so that the next edit of the canvas image does not have to copy it.
    source = image.format() == QImage::Format_RGB32 || FrameComposer::canCompose(image)
                 ? image.copy()
                 : image.convertToFormat(QImage::Format_RGB32);
    syncedKey = image.cacheKey();
    normalFrame.valid = false;
    zoomedFrame.valid = false;
}

void CanvasFrameCache::render(QImage &frame, int scale, const QRect &deviceRect)
{
    if (FrameComposer::canCompose(source)) {
        composer.compose(frame, source, scale, deviceRect);
        return;
    }
    QPainter painter(&frame);
    painter.setClipRect(deviceRect);
    canvasrendering::paintCanvas(painter, source, scale,
                                 canvasrendering::cellsTouching(deviceRect, scale));
}

bool CanvasFrameCache::draw(QPainter &painter, const QRect &exposed, const QImage &image, int scale,
                            const QSize &widgetSize)
{
    if (!canCopyPixels(painter, image))
        return false;
    const QRect widgetRect(QPoint(0, 0), widgetSize);
    const QRect frameRect = QRect(QPoint(0, 0), image.size() * scale) & widgetRect;
    // The outlines reach one device pixel past the grid; they must fall inside the frame.
    const QRect outlines(0, 0, GridWidth * scale + 2, GridHeight * scale + 2);
    if (!frameRect.contains(outlines & widgetRect))
        return false;

    syncWith(image);
    if (source.isNull())
        return false;
    Frame &frame = frameFor(scale);
    if (!frame.valid || frame.pixels.size() != frameRect.size()) {
        // Rendering covers every pixel of the frame, so a frame of the right size is reused.
        if (frame.pixels.size() != frameRect.size())
            frame.pixels = QImage(frameRect.size(), QImage::Format_RGB32);
        if (frame.pixels.isNull())
            return false;
        render(frame.pixels, scale, frame.pixels.rect());
        frame.valid = true;
    }
    const QRect shown = exposed & frameRect;
    painter.drawImage(shown.topLeft(), frame.pixels, shown);
    return true;
}

void CanvasFrameCache::paintCell(QImage &image, const QPoint &corner,
                                 const std::function<void(QImage &)> &paint)
{
    // Only a copy that was in step before the cell changed can follow it by that cell alone.
    const bool inStep = image.cacheKey() == syncedKey && source.size() == image.size();
    paint(image);
    if (!inStep) {
        syncedKey = 0; // the next repaint renders afresh
        return;
    }
    const QRect cell(corner, QSize(CellSize, CellSize));
    const QRect changed = cell & image.rect();
    const bool indexed = source.format() != QImage::Format_RGB32;
    for (int y = changed.top(); y <= changed.bottom(); ++y) {
        for (int x = changed.left(); x <= changed.right(); ++x)
            source.setPixel(x, y, indexed ? uint(image.pixelIndex(x, y)) : image.pixel(x, y));
    }
    syncedKey = image.cacheKey();

    for (const int scale : {1, ZoomFactor}) {
        Frame &frame = frameFor(scale);
        if (!frame.valid)
            continue;
        // The cell's interior and its outline, which may have changed colour with it.
        const QRect device =
            QRect(cell.topLeft() * scale, cell.size() * scale).adjusted(-2, -2, 2, 2) &
            frame.pixels.rect();
        if (!device.isEmpty())
            render(frame.pixels, scale, device);
    }
}
