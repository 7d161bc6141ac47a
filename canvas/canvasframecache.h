#pragma once

#include "framecomposer.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QPainter;

// The rendered canvas kept at device resolution, one frame per scale. A repaint copies the
// exposed part of a frame instead of converting the 1-bit image and stroking 4,096 outlines
// each time; a painted cell re-renders only the cells around it. Any other change to the
// canvas image shows in its cache key, and the frames are then rendered afresh.
class CanvasFrameCache
{
public:
    // Draws the exposed part of the canvas. Returns false, having drawn nothing, when the
    // picture cannot be copied pixel for pixel (a scaled or high-density painter, an image
    // with transparency); the caller then paints the canvas itself.
    bool draw(QPainter &painter, const QRect &exposed, const QImage &image, int scale,
              const QSize &widgetSize);

    // Runs `paint` on `image`, where it may change only the cell with corner `corner`, and
    // brings the frames up to date with that cell.
    void paintCell(QImage &image, const QPoint &corner, const std::function<void(QImage &)> &paint);

private:
    struct Frame
    {
        QImage pixels;
        bool valid = false;
    };

    static bool canCopyPixels(const QPainter &painter, const QImage &image);
    void syncWith(const QImage &image);
    Frame &frameFor(int scale) { return scale == 1 ? normalFrame : zoomedFrame; }
    void render(QImage &frame, int scale, const QRect &deviceRect);

    // What the frames are drawn from: a copy of a 1-bit black and white canvas image, which
    // the frames are composed from directly, or else the canvas image in 32-bit colour.
    QImage source;
    qint64 syncedKey = 0;
    Frame normalFrame;
    Frame zoomedFrame;
    FrameComposer composer;
};
