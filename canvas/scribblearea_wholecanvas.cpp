#include "scribblearea.h"

#include "cellpainting.h"
#include "monoimage.h"

#include <QPainter>

// On the 1-bit canvas the fill alone does the work. On an image taken over in another pixel
// format the fill value is that format's raw pixel value, and the lines paint the block that
// holds the whole grid in the intended colour.
// The block the lines cover: every image pixel shown at scale 3, 163 columns wide.
static constexpr int LineBlockLastX = 162;
static constexpr int LineBlockLastY = 673;

static void fillWholeImage(QImage &image, uint pixelValue, const QColor &colour)
{
    image.fill(pixelValue);
    if (image.isNull())
        return;
    const QRect lineBlock(QPoint(0, 0), QPoint(LineBlockLastX, LineBlockLastY));
    if (monoimage::isBlackAndWhite(image)) {
        // The same pixels the lines would give, written directly: stroking 674 long lines on a
        // 1-bit image is slow, and Qt 6.4 then now and then loses a pixel when it splits a
        // line's spans across threads.
        const bool white = colour == QColor(Qt::color0);
        monoimage::fillArea(image, lineBlock,
                            white ? monoimage::whiteIndex(image)
                                  : 1 - monoimage::whiteIndex(image));
        return;
    }
    QPainter painter(&image);
    painter.setPen(cellPen(colour));
    for (int y = 0; y <= LineBlockLastY; ++y)
        painter.drawLine(0, y, LineBlockLastX, y);
}

void ScribbleArea::invertImage()
{
    image.invertPixels(QImage::InvertRgb);
    markChanged();
}

void ScribbleArea::clearImage()
{
    fillWholeImage(image, 1, Qt::color0);
    markChanged();
}

void ScribbleArea::fillImage()
{
    fillWholeImage(image, 0, Qt::color1);
    markChanged();
}
