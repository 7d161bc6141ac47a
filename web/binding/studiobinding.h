#pragma once

#include "bootscreenformat.h"

#include <cstdint>

// The core's entry points for the browser studio, as plain C functions on WebAssembly memory:
// the page hands in pointers from _malloc and reads the results from the heap. Embind is not
// used because its generated glue calls new Function, which the page's Content Security Policy
// forbids.
//
// A screen is one byte per display pixel, row by row, 1 = lit.
//
// Options cross as text in the very words tbs takes: one option a line, its name and its value
// ("fit cover", "threshold auto"), a flag its name alone when set ("invert"). An option left out
// takes tbs's default. The options of a command are the rows of the core's option table that the
// studio offers (see studio_vocabulary); any other name, a flag with a value or a value the
// option does not take is refused, with the problem in tbs's words in studio_message().
extern "C" {

// A picture reduced to the display, as the conversion needs it: a grey level per display pixel,
// row by row, then its blue and red differences in the same order, then the placed picture's
// left, top, width and height, its main tone share, and 1 when it is one flat colour. Only the
// options that place the picture shape it.
enum { StudioLevelsLength = 3 * bootscreen::DisplayColumns * bootscreen::DisplayRows + 7 };

// The most candidates studio_compare gives. Both lengths are in studio_vocabulary() too.
enum { StudioMaxCandidates = 16 };

// The option table and the constants the studio builds its page from, as one JSON text: the
// display's columns and rows, the rows of the convert and text commands that the studio offers
// (name, kind, label, value name, choices with their value and label, minimum, maximum, step,
// automatic word, default, unit, help line, plain hint, the page's own default, whether the option
// places the picture), the layouts (value, label, hint), the zoom's range, the reader's
// byte cap and the words of the blank-result warning, of a file that is no boot screen and of a
// link that holds none.
// Valid until the next call.
const char *studio_vocabulary();

// Whether `options` are ones the command ("convert" or "text") takes: 0, or 1 with the problem
// in studio_message().
int studio_option_problem(const char *command, const char *options);

// The levels of straight RGBA rows, for the options of convert. `fullWidth` x `fullHeight`, when
// not 0, is the size of the picture of which these rows are a reduced copy, so that the copy
// lands where the full picture would. Returns 0, or 1 for a bad size or refused options.
int studio_picture_levels(const std::uint8_t *rgba, int width, int height, int fullWidth,
                          int fullHeight, const char *options, double *levels);

// The screen for the levels: toned, dithered and inverted as the options of convert say. `blank`
// is 1 when the result is all dark or all lit from a picture that is not flat; the options that
// give this screen again (the method and threshold chosen) are in studio_chosen(). Returns 0, or
// 1 for refused options.
int studio_convert_levels(const double *levels, const char *options, std::uint8_t *screen,
                          std::int32_t *blank);

// The candidates that `tbs compare` shows for the levels: for each, a screen in `screens` and its
// blank flag in `blank`; studio_chosen() holds the options that give each, one candidate after
// another, separated by an empty line. Returns how many, or -1 for refused options.
int studio_compare(const double *levels, const char *options, std::uint8_t *screens,
                   std::int32_t *blank);

// The options the last conversion or comparison chose, as option text. Valid until the next one.
const char *studio_chosen();

// Sets lines of UTF-8 text (separated by line feeds) in the area of `base`, as tbs text --over
// does with the options of text. Returns 0 with the screen in `screen`, or 1 with the reason in
// studio_message(), in the words tbs uses.
int studio_set_text(const char *text, const char *options, const std::uint8_t *base,
                    std::uint8_t *screen);

// Why the last call that could refuse did so.
const char *studio_message();

// The cells a drag paints from the cell (fromColumn, fromRow) to (toColumn, toRow), ends included,
// as the editor paints them: the core's line, in order from the first, with the cells off the
// display left out, each as its index row by row. Returns how many, at most the larger of the
// display's columns and rows; 0 for a cell further than 65536 cells from the display.
int studio_cells_on_line(int fromColumn, int fromRow, int toColumn, int toRow, std::int32_t *cells);

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

// Whether a picture of `width` x `height` is too large to take in: 0, or 1 with the reason in
// studio_message(). Decoded as RGBA (32 bits a pixel) it must stay within the limit that the
// editor and tbs apply by default (256 MB), so that the studio takes the same pictures in.
int studio_picture_size_problem(int width, int height);

// The screen as the picture saved beside the .tbs file: opaque RGBA, a pixel per display pixel,
// lit white.
// Valid until the next call that hands out bytes.
const std::uint8_t *studio_screen_image(const std::uint8_t *screen);

// The part of a picture of fullWidth x fullHeight (its own size, upright) that a zoomed view shows,
// with the options of convert (their fit, rotation and area). `framing` holds three numbers, the
// zoom (1 to 8) and the picture's point at the view's centre as shares of its width and height;
// they are written back held where the view stays on the picture. `placement` receives 13
// numbers: the part converted (left, top, width, height in the picture's pixels), where it lands
// on the display (left, top, width, height; it may reach past the area), its clockwise quarter
// turns, and the area (left, top, width, height). studio_message() holds the part as a crop the
// options take ("X,Y,W,H"), empty when it is the whole picture. Returns 0, or 1 when the options
// are refused (the problem in studio_message()) or the size is not a picture's.
int studio_framed(int fullWidth, int fullHeight, const char *options, double *framing,
                  std::int32_t *placement);

// Moves the picture of a framing by (columns, rows) display pixels: `framing` is written back with
// the view moved the other way. Returns as studio_framed does.
int studio_moved(int fullWidth, int fullHeight, const char *options, double *framing,
                 double columns, double rows);

// How the screen is shared between the picture and the text: the layout of that word, or with an
// empty word the one a screen gets until the owner chooses (it depends on whether there are a
// picture and text). JSON: {"value": word, "picture": area, "text": area}, an area "X,Y,W,H",
// "" where the options' own area counts (custom), null where that part is not shown. Valid until
// the next call; null for a word that names no layout.
const char *studio_layout(const char *value, int hasPicture, int hasText);

// The screen with lit and dark swapped everywhere, into `inverted`.
void studio_invert(const std::uint8_t *screen, std::uint8_t *inverted);

// The link to `base` (UTF-8, the page's address; its own fragment is replaced) whose fragment
// holds the screen, as tbs link prints it; an empty base gives the fragment alone. Valid until
// the next call that hands out text; null when the base is too long for a link, with the reason
// in studio_message().
const char *studio_screen_link(const std::uint8_t *screen, const char *base);

// The screen a link holds (only its part after # counts): 0, or 1 with the reason in
// studio_message() when that part is not a screen as studio_screen_link writes it.
int studio_link_screen(const char *link, std::uint8_t *screen);

} // extern "C"
