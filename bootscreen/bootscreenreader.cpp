#include "bootscreenreader.h"

#include "bootscreenformat.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <array>

namespace bootscreen {

namespace {

constexpr qint64 ChunkSize = 8192;

// Follows one line as its bytes arrive, keeping only what an accepted line needs (its first
// bytes: content plus a possible CR) and what a report tells: its length and any bare CR.
class LineScanner
{
public:
    void addByte(char byte)
    {
        if (length < qint64(kept.size()))
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
        const qint64 contentLength = length - (crLf ? 1 : 0);
        LineReport report{number,
                          QByteArrayView(kept.data(), qMin(contentLength, qint64(kept.size()))),
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
    qint64 length = 0;
    bool endsWithCarriageReturn = false;
    bool bareCarriageReturn = false;
};

QString noBootScreenDataReason()
{
    return QCoreApplication::translate("BootScreenFile", "The file contains no boot screen data.");
}

} // namespace

ReadSummary readScreen(QIODevice &device, ScreenBuffer &screen, const LineObserver &observe)
{
    std::array<char, ChunkSize> chunk;
    LineScanner scanner;
    ReadSummary summary;
    qint64 consumed = 0;
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
    while (summary.lines < EntryCount) {
        if (consumed >= ReadByteCap) {
            summary.reachedByteCap = true;
            break;
        }
        const qint64 got = device.read(chunk.data(), qMin(ChunkSize, ReadByteCap - consumed));
        if (got <= 0)
            break; // the end, or an error, which reads as the end
        consumed += got;
        qint64 at = 0;
        for (; at < got && summary.lines < EntryCount; ++at) {
            const char byte = chunk[static_cast<size_t>(at)];
            if (byte == '\n')
                endLine(true);
            else
                scanner.addByte(byte);
        }
        if (summary.lines == EntryCount) {
            char next;
            summary.textAfterLastEntry = at < got || device.read(&next, 1) == 1;
        }
    }
    // A last line without LF is never taken; it is only reported.
    if (summary.lines < EntryCount && !scanner.isEmpty())
        endLine(false);
    return summary;
}

bool readScreenFile(const QString &fileName, ScreenBuffer &screen, QString *errorString)
{
    QFile file(fileName);
    // Unbuffered: the reader does its own chunking and must not read ahead past its cap.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        if (errorString)
            *errorString = file.errorString();
        return false;
    }
    ScreenBuffer read = screen;
    if (readScreen(file, read).takenLines == 0) {
        if (errorString)
            *errorString = noBootScreenDataReason();
        return false;
    }
    screen = read;
    return true;
}

} // namespace bootscreen
