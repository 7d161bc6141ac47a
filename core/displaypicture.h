#pragma once

#include "bootscreenformat.h"
#include "screenbuffer.h"

#include <array>

namespace bootscreen {

// The 32 x 128 display as lit and dark pixels: what a boot screen shows, whoever made it.
class DisplayPicture
{
public:
    bool isLit(int column, int row) const { return lit[index(column, row)] != 0; }
    void setLit(int column, int row, bool on) { lit[index(column, row)] = on ? 1 : 0; }
    int litCount() const;
    // The same picture with lit and dark swapped everywhere.
    DisplayPicture inverted() const;
    bool operator==(const DisplayPicture &other) const { return lit == other.lit; }
    bool operator!=(const DisplayPicture &other) const { return lit != other.lit; }

private:
    static constexpr size_t index(int column, int row)
    {
        return static_cast<size_t>(row * DisplayColumns + column);
    }
    std::array<unsigned char, DisplayColumns * DisplayRows> lit{};
};

// The screen buffer that shows the picture: every entry 0-255.
ScreenBuffer packPicture(const DisplayPicture &picture);

// What the screen buffer shows: bits 0-7 of each entry.
DisplayPicture unpackPicture(const ScreenBuffer &screen);

} // namespace bootscreen
