#pragma once

#include <cstdint>

// The core's entry points for the browser studio, as plain C functions on WebAssembly memory:
// the page hands in pointers from _malloc and reads the results from the heap. Embind is not
// used because its generated glue calls new Function, which the page's Content Security Policy
// forbids.
//
// A screen is 4096 bytes, one per display pixel row by row (32 columns, 128 rows), 1 = lit.
// Conversion options are an array of doubles, indexed by StudioOption; every one but the gamma
// is a whole number.
extern "C" {

enum StudioOption {
    StudioFit,        // 0 contain, 1 cover, 2 stretch, 3 none
    StudioRotation,   // 0 none, 1 90, 2 180, 3 270, 4 auto
    StudioDither,     // 0 floyd-steinberg, 1 atkinson, 2 bayer, 3 none, 4 auto
    StudioThreshold,  // 0-255, or -1 for auto
    StudioInvert,     // 0 or 1
    StudioBackground, // 0 black, 1 white
    StudioLevels,     // 0 none, 1 auto (stretch the picture's own levels)
    StudioBrightness, // -100 to 100
    StudioContrast,   // -100 to 100
    StudioGamma,      // 0.2 to 5
    StudioAreaLeft,   // the area of the display the picture goes in: left, top, width, height
    StudioAreaTop,
    StudioAreaWidth,
    StudioAreaHeight,
    StudioOptionCount
};

// A picture reduced to the display, as the conversion needs it: 32 x 128 grey levels row by
// row, then the placed picture's left, top, width and height, its main tone share, and 1 when
// it is one flat colour. Only the options' fit, rotation, background and area shape it.
enum { StudioLevelsLength = 32 * 128 + 6 };

// What a conversion chose, for the options that give it again.
enum StudioChoice {
    StudioChosenDither,    // 0-3 as StudioDither
    StudioChosenThreshold, // 0-255
    StudioChosenBlank,     // 1: all dark or all lit, from a picture that is not flat
    StudioChoiceCount
};

// The most candidates studio_compare gives.
enum { StudioMaxCandidates = 16 };

// The levels of straight RGBA rows. `fullWidth` x `fullHeight`, when not 0, is the size of the
// picture of which these rows are a reduced copy, so that the copy lands where the full picture
// would. Returns 0, or 1 for a bad size or option.
int studio_picture_levels(const std::uint8_t *rgba, int width, int height, int fullWidth,
                          int fullHeight, const double *options, double *levels);

// The screen for the levels: toned, dithered and inverted as the options say, with what was
// chosen in `chosen` (StudioChoiceCount entries). Returns 0, or 1 for a bad option.
int studio_convert_levels(const double *levels, const double *options, std::uint8_t *screen,
                          std::int32_t *chosen);

// The candidates that `tbs compare` shows for the levels: for each, a screen in `screens` and
// its chosen dither and threshold in `chosen` (StudioChoiceCount entries each). Returns how
// many, or -1 for a bad option.
int studio_compare(const double *levels, const double *options, std::uint8_t *screens,
                   std::int32_t *chosen);

// The bundled fonts, smallest first, one "NAME WIDTH HEIGHT" a line. Valid until the next call.
const char *studio_fonts();

// Sets lines of UTF-8 text (separated by line feeds) in the area of `base`, as tbs text --over
// does: `font` is a bundled font's name or "auto"; `rotation` 0 auto, 1 none, 2 90, 3 270;
// `alignment` 0 left, 1 center, 2 right; `area` left, top, width, height; `invert` 1 for dark
// text on a lit area. Returns 0 with the screen in `screen`, or 1 with the reason in
// studio_message(), in the words tbs uses.
int studio_set_text(const char *text, const char *font, int rotation, int alignment,
                    const double *area, int invert, const std::uint8_t *base, std::uint8_t *screen);
const char *studio_message();

// Reads the bytes of a .tbs file into a screen, as the editor imports it onto a blank one.
// Returns the number of lines taken; 0 means the file holds no boot screen.
int studio_read_tbs(const char *bytes, int length, std::uint8_t *screen);

// The findings of `tbs check` on the bytes, one "NAME:LINES: message" per line, as tbs words
// them; empty for a file exactly as written. Valid until the next call.
const char *studio_check_tbs(const char *bytes, int length, const char *name);

// The .tbs file of a screen; its length in bytes, valid until the next call.
const char *studio_write_tbs(const std::uint8_t *screen);
int studio_written_length();

// 1 when the picture is the editor's own 160 x 640 bitmap, with its cells put in `screen`.
int studio_read_editor_bitmap(const std::uint8_t *rgba, int width, int height,
                              std::uint8_t *screen);

// The editor's BMP file of a screen, byte for byte what tbs saves; its length in
// studio_written_length(), valid until the next call.
const std::uint8_t *studio_write_editor_bitmap(const std::uint8_t *screen);

// 1 when a file name (UTF-8) names a boot screen file: it ends in .tbs, in any case.
int studio_is_tbs_name(const char *name);

// 1 when a decoded picture of `width` x `height` (RGBA, 32 bits a pixel) is within the limit the
// editor and tbs apply by default (256 MB), so that the studio takes the same pictures in.
int studio_fits_allocation_limit(int width, int height);

} // extern "C"
