#pragma once

#include "displaypicture.h"

#include <QImage>
#include <QPoint>
#include <QRect>

// Direct access to the bits of a 1-bit image. The canvas image is 1-bit black and white in
// nearly every session; reading and writing its scan lines directly spares the painter's work
// of converting the picture and of stroking thousands of tiny lines.
namespace monoimage {

// A new 1-bit image with black at index 0 (off) and white at index 1 (on), filled black; null
// when it cannot be allocated.
QImage blackAndWhiteImage(const QSize &size);

// A 1-bit image whose two palette entries are black and white, in either order: the painter
// lands each colour on one of these, so its drawing can be written out as plain bits.
bool isBlackAndWhite(const QImage &image);

// The palette index of white on such an image.
inline int whiteIndex(const QImage &image)
{
    return image.color(0) == qRgb(255, 255, 255) ? 0 : 1;
}

inline bool lsbFirst(const QImage &image)
{
    return image.format() == QImage::Format_MonoLSB;
}

inline int bitAt(const uchar *line, int x, bool lsbFirst)
{
    const int shift = lsbFirst ? (x & 7) : 7 - (x & 7);
    return (line[x >> 3] >> shift) & 1;
}

inline void setBitAt(uchar *line, int x, bool lsbFirst, int bit)
{
    const int shift = lsbFirst ? (x & 7) : 7 - (x & 7);
    line[x >> 3] = static_cast<uchar>((line[x >> 3] & ~(1 << shift)) | (bit << shift));
}

// Fills the 4 x 4 interior of every cell of the grid white where the picture is lit and black
// elsewhere: the same pixels as fillCellInterior with cellPen(Qt::color0) or cellPen(Qt::color1)
// for each cell. Cell borders and everything beyond the grid keep their pixels; parts of the grid
// beyond the image are left out, as the painter clips them.
void fillCellInteriors(QImage &image, const bootscreen::DisplayPicture &picture);

// Sets every pixel of `area` (clipped to the image) to palette index `bit`.
void fillArea(QImage &image, const QRect &area, int bit);

} // namespace monoimage
