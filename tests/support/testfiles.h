#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

// Small helpers shared by the tests: file bytes, and reading a cell's state from an
// image the way a person looking at the picture would (the top-left interior pixel).
QByteArray readFileBytes(const QString &path);
bool writeFileBytes(const QString &path, const QByteArray &bytes);

// The cell at (column, row) of the 32 x 128 grid is white at its top-left interior pixel.
bool cellIsWhite(const QImage &image, int column, int row);

// The first pixel (by colour) where `actual` differs from `expected` within `area` (the whole
// image when `area` is null), as a sentence for a failure message; empty when they agree.
// Images of different sizes, formats or palettes always differ.
QString firstPixelDifference(const QImage &actual, const QImage &expected, QRect area = {});
