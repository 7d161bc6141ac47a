#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How a boot screen file differs from what the editor writes, line by line, and what the
// reader makes of each difference: the findings as data, for any front end to word.
namespace screencheck {

struct Problem
{
    enum class Kind {
        BareCarriageReturn, // a CR that no LF follows, which ends no line
        NotANumber,         // taken, read as 0
        MinusSign,          // taken: value is negative, lowByte is kept
        AboveByte,          // taken: value is above 255, lowByte is kept
        NotAsWritten,       // taken: value is right, but the editor spells it otherwise
        NoLineEnd,          // the last line has no LF: skipped
        EmptyLine,          // skipped
        LongLine,           // skipped: length bytes of content
        LfWithoutCr,        // read alike; the editor writes CR LF
        ByteCapReached,     // only the first length bytes are read
        EndsEarly,          // the file ends after length lines; the entries after keep theirs
        TextAfterLastEntry, // bytes after line 512 are not read
    };

    Kind kind;
    std::string content;     // the line's first bytes, where the wording quotes them
    std::int64_t length = 0; // LongLine, ByteCapReached, EndsEarly
    std::int32_t value = 0;  // MinusSign, NotAsWritten
    std::int32_t lowByte = 0;

    bool operator==(const Problem &other) const
    {
        return kind == other.kind && content == other.content && length == other.length &&
               value == other.value && lowByte == other.lowByte;
    }
    bool operator!=(const Problem &other) const { return !(*this == other); }
};

// Lines firstLine to lastLine (from 1; the entry of line n is n - 1) all have these problems.
// Consecutive lines with the same problems are one finding.
struct Finding
{
    int firstLine;
    int lastLine;
    std::vector<Problem> problems;
};

struct Check
{
    std::vector<Finding> findings; // empty for a file exactly as the editor writes it
    int takenLines = 0;            // none: not a boot screen file
};

// Checks the bytes of a file (as for bootscreen::readScreen, at most ReadByteCap + 1 count).
Check checkScreen(std::string_view bytes);

} // namespace screencheck
