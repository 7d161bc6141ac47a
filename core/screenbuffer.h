#pragma once

#include <array>
#include <cstdint>

namespace bootscreen {

// One entry per byte of the boot screen. Entries are signed 32-bit because a
// file may carry any number on a line; only bits 0-7 ever reach the display.
constexpr int EntryCount = 512;
using ScreenBuffer = std::array<std::int32_t, EntryCount>;

} // namespace bootscreen
