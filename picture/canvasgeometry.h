#pragma once

#include "bootscreenformat.h"
#include "editorbitmap.h"

#include <QImage>
#include <QPoint>
#include <QSize>

// How the 32 x 128 display is laid out on the canvas image: each display pixel is a
// 5 x 5 cell whose 4 x 4 interior carries its state; the top row and left column of the
// cell are its border, where the on-screen outline runs.
namespace canvasgeometry {

using bootscreen::DisplayColumns;
using bootscreen::DisplayRows;
using editorbitmap::CellSize;
using editorbitmap::GridHeight;
using editorbitmap::GridWidth;
using editorbitmap::InteriorSize;
constexpr int ZoomFactor = 3;
// The canvas is sized for scale 3 from the start: 3 x (170 x 674).
constexpr QSize CanvasSize{510, 2022};
constexpr QSize NormalMinimumSize{170, 674};
constexpr QSize GridSize{GridWidth, GridHeight};

constexpr QPoint cellCorner(int column, int row)
{
    return {CellSize * column, CellSize * row};
}
constexpr QPoint interiorTopLeft(int column, int row)
{
    return {editorbitmap::interiorLeft(column), editorbitmap::interiorTop(row)};
}

// A cell's state is its interior's top-left pixel alone, even when the interior disagrees,
// judged by the core's cell test on the pixel as the image holds it. A cell the image does not
// reach (only before the canvas is first laid out) is off.
inline bool cellIsOn(const QImage &image, int column, int row)
{
    const QPoint pixel = interiorTopLeft(column, row);
    return image.valid(pixel) && editorbitmap::pixelIsOn(qBlue(image.pixel(pixel)));
}

} // namespace canvasgeometry
