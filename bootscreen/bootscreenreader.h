#pragma once

#include "screenbuffer.h"

#include <QByteArrayView>
#include <QtGlobal>

#include <functional>

class QIODevice;
class QString;

// Reading boot screen files. The reader is lenient, as files in circulation rely on it:
// line n (from 1) goes to entry n - 1 when it ends in LF and its content (a CR directly
// before the LF dropped) is 1 to 3 bytes long; any other line leaves its entry as it was,
// and so does every entry after the end of the file.
namespace bootscreen {

// Real files are at most 2,560 bytes. Past this many bytes a device reads as ended, so
// that a huge file or an endless device (/dev/zero) neither fills memory nor hangs.
constexpr qint64 ReadByteCap = 1024 * 1024;

// Longer content leaves its entry unchanged; only this many bytes of a line are ever kept.
constexpr int MaxAcceptedContentLength = 3;

// What the reader made of one of the first 512 lines, for tools that explain a file.
struct LineReport
{
    enum class Ending { CrLf, Lf, None }; // None: the file ended before a line feed

    int number;              // from 1; the line's entry is number - 1
    QByteArrayView start;    // the first bytes of the content, at most MaxAcceptedContentLength + 1
    qint64 contentLength;    // bytes before the line end
    Ending ending;           // how the line ended
    bool bareCarriageReturn; // a CR that no LF follows, which ends no line
    bool taken;              // the entry was set, to value
    std::int32_t value;
};

struct ReadSummary
{
    int takenLines = 0;
    int lines = 0;                   // lines met, a last one without line end included
    bool textAfterLastEntry = false; // bytes after the 512th line, which are not read
    bool reachedByteCap = false;     // ReadByteCap bytes were read, and no more
};

using LineObserver = std::function<void(const LineReport &)>;

// Reads from the device's current position into the screen buffer. A read error counts as the
// end of the file. `observe`, when given, hears of every line met.
ReadSummary readScreen(QIODevice &device, ScreenBuffer &screen, const LineObserver &observe = {});

// Opens the named file and reads it. Returns false, leaves the screen buffer untouched and says
// why in errorString (if given) when the file cannot be opened, or when not one of its lines is
// taken: such a file (empty, binary, every line too long) holds no boot screen, and reading it
// would only repaint whatever the buffer held before.
bool readScreenFile(const QString &fileName, ScreenBuffer &screen, QString *errorString = nullptr);

} // namespace bootscreen
