// The largest picture a front end takes in, as Qt's image reader judges it.

#include "imagelimit.h"

#include <doctest/doctest.h>

TEST_CASE("a picture fits when its padded rows take no more than the limit")
{
    struct Row
    {
        int width, height, bitsPerPixel, megabytes;
        bool fits;
    };
    const Row rows[] = {
        // 256 MB of 32-bit pixels is 8192 x 8192 exactly.
        {8192, 8192, 32, imagelimit::DefaultMegabytes, true},
        {8192, 8193, 32, imagelimit::DefaultMegabytes, false},
        {8193, 8192, 32, imagelimit::DefaultMegabytes, false},
        // 1-bit rows are padded to 32 bits: 33 pixels take 8 bytes, as 64 do.
        {32, 262144, 1, 1, true},
        {32, 262145, 1, 1, false},
        {33, 131072, 1, 1, true},
        {33, 131073, 1, 1, false},
        {64, 131072, 1, 1, true},
        // Sizes whose bytes overflow 32 bits.
        {100000, 100000, 32, imagelimit::DefaultMegabytes, false},
        {2147483647, 2147483647, 32, 2147483647, false},
        {0, 100000, 32, 1, true},
        // No limit.
        {100000, 100000, 32, 0, true},
        {100000, 100000, 32, -1, true},
    };
    for (const Row &row : rows) {
        CAPTURE(row.width);
        CAPTURE(row.height);
        CAPTURE(row.bitsPerPixel);
        CAPTURE(row.megabytes);
        CHECK(imagelimit::fits(row.width, row.height, row.bitsPerPixel, row.megabytes) == row.fits);
    }
}
