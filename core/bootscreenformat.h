#pragma once

#include "screenbuffer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How the 512 entries of a boot screen map onto the 32 x 128 display.
//
// The display's columns are grouped into four bands of eight. Band b owns entries
// 128b to 128b + 127, one per row, top row first; band 0 holds the rightmost eight
// columns and band 3 the leftmost. Within an entry the most significant bit is the
// leftmost column of its band: bit j of entry 128b + r is column 31 - 8b - j, row r.
namespace bootscreen {

constexpr int DisplayColumns = 32;
constexpr int DisplayRows = 128;
constexpr int BitsPerEntry = 8;
constexpr int BandCount = DisplayColumns / BitsPerEntry;
static_assert(BandCount * DisplayRows == EntryCount, "one entry per band and row");

struct DisplayPixel
{
    int column;
    int row;
};

constexpr DisplayPixel pixelForEntryBit(int entry, int bit)
{
    const int band = entry / DisplayRows;
    return {DisplayColumns - 1 - BitsPerEntry * band - bit, entry % DisplayRows};
}

// Only bits 0-7 of an entry reach the display; a negative entry shows the low byte of
// its two's-complement form.
constexpr bool entryBitIsSet(std::int32_t entry, int bit)
{
    return ((static_cast<std::uint32_t>(entry) >> bit) & 1u) != 0;
}

// The number a line's content (without its line end) spells: optional leading C white space,
// an optional sign, one or more decimal digits and nothing after them, within 32 bits. No
// range check against 0-255: stored files rely on the reader taking what it finds.
std::optional<std::int32_t> parseLineContent(std::string_view content);

// What the reader stores for a taken line: the number it spells, and 0 for any other content.
inline std::int32_t convertLineContent(std::string_view content)
{
    return parseLineContent(content).value_or(0);
}

// How the writer spells an entry on its line: decimal, with no leading zeros or blanks.
inline std::string entryText(std::int32_t entry)
{
    return std::to_string(entry);
}

// What ends every line the writer puts, on every platform: the device's loading tool expects
// exactly CR LF.
constexpr char LineEnd[] = "\r\n";

} // namespace bootscreen
