#include "bootscreenreader.h"

#include "bootscreenformat.h"

#include <algorithm>
#include <array>

namespace bootscreen {

namespace {

// Follows one line as its bytes arrive, keeping only what an accepted line needs (its first
// bytes: content plus a possible CR) and what a report tells: its length and any bare CR.
class LineScanner
{
public:
    void addByte(char byte)
    {
        if (length < std::int64_t(kept.size()))
            kept[static_cast<size_t>(length)] = byte;
        ++length;
        bareCarriageReturn |= endsWithCarriageReturn;
        endsWithCarriageReturn = byte == '\r';
    }

    bool isEmpty() const { return length == 0; }

    // Ends the line, at its LF or at the end of the file, and says what became of it.
    LineReport finish(int number, bool atLineFeed)
    {
        const bool crLf = atLineFeed && endsWithCarriageReturn;
        const std::int64_t contentLength = length - (crLf ? 1 : 0);
        LineReport report{
            number,
            std::string_view(kept.data(), static_cast<size_t>(
                                              std::min(contentLength, std::int64_t(kept.size())))),
            contentLength,
            crLf         ? LineReport::Ending::CrLf
            : atLineFeed ? LineReport::Ending::Lf
                         : LineReport::Ending::None,
            bareCarriageReturn || (!atLineFeed && endsWithCarriageReturn),
            false,
            0};
        if (atLineFeed && contentLength >= 1 && contentLength <= MaxAcceptedContentLength) {
            report.taken = true;
            report.value = convertLineContent(report.start);
        }
        length = 0;
        endsWithCarriageReturn = false;
        bareCarriageReturn = false;
        return report;
    }

private:
    std::array<char, MaxAcceptedContentLength + 1> kept{};
    std::int64_t length = 0;
    bool endsWithCarriageReturn = false;
    bool bareCarriageReturn = false;
};

} // namespace

ReadSummary readScreen(std::string_view bytes, ScreenBuffer &screen, const LineObserver &observe)
{
    const size_t readable = std::min(bytes.size(), size_t(ReadByteCap));
    LineScanner scanner;
    ReadSummary summary;
    auto endLine = [&](bool atLineFeed) {
        const LineReport report = scanner.finish(summary.lines + 1, atLineFeed);
        if (report.taken) {
            screen[static_cast<size_t>(summary.lines)] = report.value;
            ++summary.takenLines;
        }
        ++summary.lines;
        if (observe)
            observe(report);
    };
    size_t at = 0;
    for (; at < readable && summary.lines < EntryCount; ++at) {
        const char byte = bytes[at];
        if (byte == '\n')
            endLine(true);
        else
            scanner.addByte(byte);
    }
    if (summary.lines == EntryCount)
        summary.textAfterLastEntry = at < bytes.size();
    else
        summary.reachedByteCap = at == size_t(ReadByteCap);
    // A last line without LF is never taken; it is only reported.
    if (summary.lines < EntryCount && !scanner.isEmpty())
        endLine(false);
    return summary;
}

} // namespace bootscreen
