#pragma once

#include <QImage>
#include <QRect>

#include <vector>

// Composes the canvas as the user sees it straight into a 32-bit frame, for a 1-bit black and
// white canvas image: the picture's bytes expanded through a lookup of their device pixels
// (repeated when zoomed), then the cell outlines written pixel by pixel. The result is the
// same, pixel for pixel, as canvasrendering::paintCanvas on the frame, at a fraction of its
// cost. The lookup is kept between calls, as a drag composes two small patches per cell.
class FrameComposer
{
public:
    // Whether compose can draw `image` (see monoimage::isBlackAndWhite).
    static bool canCompose(const QImage &image);

    // Writes the device pixels of `deviceRect` of the canvas at `scale` into `frame`, a
    // Format_RGB32 image whose origin is the canvas's; pixels beyond the scaled picture stay
    // as they were.
    void compose(QImage &frame, const QImage &image, int scale, const QRect &deviceRect);

private:
    // Every byte value's eight picture pixels as the 8 x scale device pixels they become.
    struct ByteExpansion
    {
        QRgb colours[2] = {0, 0};
        bool lsbFirst = false;
        int scale = 0;
        std::vector<QRgb> pixels;
    };

    const ByteExpansion &expansionFor(const QImage &image, int scale);
    void composePicture(QImage &frame, const QImage &image, int scale, const QRect &rect);

    ByteExpansion expansions[2]; // one per scale
};
