#pragma once

// The largest picture a front end takes in: its pixels, held as a decoder holds them, may take
// no more memory than a limit in megabytes. The rule of Qt's image reader (its allocation limit)
// written out, so that a front end without Qt refuses the same pictures.
namespace imagelimit {

// Qt's default allocation limit, for a front end that has no limit of its own to follow.
constexpr int DefaultMegabytes = 256;

// Whether a `width` x `height` image at `bitsPerPixel`, each row padded to 32 bits, takes at most
// `megabytes` megabytes. Every size fits when the limit is 0 or less (off), and so does a
// negative one, which no decoder allocates.
bool fits(int width, int height, int bitsPerPixel, int megabytes = DefaultMegabytes);

} // namespace imagelimit
