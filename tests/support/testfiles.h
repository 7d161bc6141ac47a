#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>

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

// Runs `write` while no file may grow beyond `bytes`, so that writing fails after the file
// was opened, even for root. Only Linux has the limit; elsewhere it returns false without
// running `write`, and the caller skips.
bool fileSizeLimitAvailable();
bool runWithFileSizeLimit(qint64 bytes, const std::function<bool()> &write);
