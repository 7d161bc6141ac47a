#pragma once

#include "referenceformat.h"

#include <QByteArray>
#include <QImage>

#include <random>

// Files that a session imports or opens, made up from a seeded generator.

// A boot screen file: either well formed (CR LF or LF) or a mix of the lines the lenient
// reader has to cope with (signs, blanks, letters, NUL bytes, 4-byte lines, empty lines,
// too few or too many lines, a last line without LF).
QByteArray generateBootScreenFile(std::mt19937 &rng);

// A picture to open: noise on a 1-bit image (sometimes with white at palette index 0) or
// opaque colours close to the black/white threshold, of the grid's size or smaller or wider.
QImage generatePicture(std::mt19937 &rng);

// The cells a picture gives once opened into the canvas, or read back after a save: each
// cell by the top-left pixel of its interior, white when red + green + blue reach 383;
// cells the picture does not reach are off.
reference::Cells cellsOfPicture(const QImage &picture);
