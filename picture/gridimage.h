#pragma once

#include "displaypicture.h"

#include <QImage>
#include <QSize>

// The display picture on the editor's image: 5 x 5 cells over the 160 x 640 grid area, each
// cell's state carried by its 4 x 4 interior (see canvasgeometry.h). The canvas, its bitmap
// files and every tool that reads or writes them meet here.
namespace gridimage {

// Re-sizes `image` to `newSize` as a new 1-bit black and white image with the old picture at
// its top-left corner, each colour landing on the nearer of black and white; an image that
// already has that size is left exactly as it is, pixel format included. On allocation
// failure the image is left unchanged, so the caller sees the size it had.
void growImage(QImage *image, const QSize &newSize);

// The picture an image shows: each cell by its interior's top-left pixel. Cells the image does
// not reach (only before the canvas is first laid out) count as dark.
bootscreen::DisplayPicture cellsOf(const QImage &image);

// Paints every cell interior of `image` white where the picture is lit and black elsewhere;
// borders and everything beyond the grid keep their pixels.
void paintCellInteriors(QImage &image, const bootscreen::DisplayPicture &picture);

} // namespace gridimage
