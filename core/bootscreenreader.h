#pragma once

#include "screenbuffer.h"

#include <cstdint>
#include <functional>
#include <string_view>

// Reading boot screen files. The reader is lenient, as files in circulation rely on it:
// line n (from 1) goes to entry n - 1 when it ends in LF and its content (a CR directly
// before the LF dropped) is 1 to 3 bytes long; any other line leaves its entry as it was,
// and so does every entry after the end of the file.
namespace bootscreen {

// Real files are at most 2,560 bytes. Past this many bytes a file reads as ended, so that a
// huge file or an endless device (/dev/zero) neither fills memory nor hangs: a caller reads at
// most ReadByteCap + 1 bytes (the one more tells whether text follows the last entry).
constexpr std::int64_t ReadByteCap = 1024 * 1024;

// Longer content leaves its entry unchanged; only this many bytes of a line are ever kept.
constexpr int MaxAcceptedContentLength = 3;

// What the reader made of one of the first 512 lines, for tools that explain a file.
struct LineReport
{
    enum class Ending { CrLf, Lf, None }; // None: the file ended before a line feed

    int number;             // from 1; the line's entry is number - 1
    std::string_view start; // the first bytes of the content, at most MaxAcceptedContentLength + 1
    std::int64_t contentLength; // bytes before the line end
    Ending ending;              // how the line ended
    bool bareCarriageReturn;    // a CR that no LF follows, which ends no line
    bool taken;                 // the entry was set, to value
    std::int32_t value;
};

struct ReadSummary
{
    int takenLines = 0;
    int lines = 0;                   // lines met, a last one without line end included
    bool textAfterLastEntry = false; // bytes after the 512th line, which are not read
    bool reachedByteCap = false;     // ReadByteCap bytes were read, and no more

    // A file of which no line is taken (empty, binary, every line too long) holds no boot
    // screen: reading it would only show whatever the buffer held before.
    bool hasData() const { return takenLines > 0; }
};

using LineObserver = std::function<void(const LineReport &)>;

// Reads the bytes of a file into the screen buffer; only the first ReadByteCap of them count as
// lines. `observe`, when given, hears of every line met.
ReadSummary readScreen(std::string_view bytes, ScreenBuffer &screen,
                       const LineObserver &observe = {});

} // namespace bootscreen
