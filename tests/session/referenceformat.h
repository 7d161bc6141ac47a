#pragma once

#include "screenbuffer.h"

#include <QByteArray>

#include <array>

// A second, deliberately plain implementation of the boot screen file and its mapping onto
// the 32 x 128 display. The tests hold the editor against it, so it shares no code with the
// product beyond the buffer type and the read cap the product chose.
namespace reference {

constexpr int Columns = 32;
constexpr int Rows = 128;

// Cell states, indexed [column][row]; true is lit (white).
using Cells = std::array<std::array<bool, Rows>, Columns>;

// The entry and bit mask that hold a display pixel.
int entryOf(int column, int row);
int maskOf(int column);

bootscreen::ScreenBuffer pack(const Cells &cells);
Cells unpack(const bootscreen::ScreenBuffer &buffer);

// The exact bytes an export writes: 512 decimal lines, each ended by CR LF.
QByteArray fileBytes(const bootscreen::ScreenBuffer &buffer);

// Applies a file's bytes to the buffer by the lenient reading rules: only LF ends a line, a
// CR right before it is dropped, contents of 1-3 bytes are converted, anything else leaves
// its entry alone; at most 512 lines and the first `byteCap` bytes are looked at. Returns how
// many lines were taken.
int readInto(const QByteArray &bytes, bootscreen::ScreenBuffer &buffer, qint64 byteCap);

// The number a line's content stands for: C white space, a sign, digits and nothing else;
// every other content is 0.
qint32 lineValue(const QByteArray &content);

} // namespace reference
