#pragma once

#include "bootscreenformat.h"
#include "displaypicture.h"
#include "rgbaimage.h"

// The editor's own bitmap: the display drawn as 5 x 5 cells over a 160 x 640 picture, each
// cell's state carried by its 4 x 4 interior; the top row and left column of a cell are its
// border, where the editor's outline runs.
namespace editorbitmap {

constexpr int CellSize = 5;
constexpr int InteriorSize = 4;
constexpr int GridWidth = bootscreen::DisplayColumns * CellSize; // 160
constexpr int GridHeight = bootscreen::DisplayRows * CellSize;   // 640

// A cell's state is its interior's top-left pixel alone, even when the interior disagrees.
constexpr int interiorLeft(int column)
{
    return CellSize * column + 1;
}
constexpr int interiorTop(int row)
{
    return CellSize * row + 1;
}

// The cell test: a pixel of the editor's image is on when its blue component is non-zero. On
// the two-colour image that is white; an image in another format is judged by the same rule.
// A picture read from a file is judged as the editor shows it once opened, composited over black.
constexpr bool pixelIsOn(int blue)
{
    return blue != 0;
}

// A picture is the editor's bitmap when it is 160 x 640 and two-colour: every pixel, composited
// over black as the editor opens it, is black or white. Any other picture of that size (a
// photo, a drawing in greys) is converted like any picture.
bool isEditorBitmap(const RgbaView &picture);

// The cells of the editor's bitmap: lit where the interior's top-left pixel, composited over
// black, is on (on the two-colour bitmap: where it is white).
bootscreen::DisplayPicture cellsOf(const RgbaView &picture);

} // namespace editorbitmap
