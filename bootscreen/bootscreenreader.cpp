#include "bootscreenreader.h"

#include "bootscreenformat.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <array>

namespace bootscreen {

namespace {

constexpr qint64 ChunkSize = 8192;

// Follows one line as its bytes arrive, keeping only what an accepted line needs: its first
// bytes (content plus a possible CR) and its length.
class LineScanner
{
public:
    void addByte(char byte)
    {
        if (length < qint64(kept.size()))
            kept[static_cast<size_t>(length)] = byte;
        ++length;
        endsWithCarriageReturn = byte == '\r';
    }

    // Called at the LF: the line's content, when it is short enough to be accepted.
    bool takeAcceptedContent(QByteArrayView *content)
    {
        const qint64 contentLength = length - (endsWithCarriageReturn ? 1 : 0);
        const bool accepted = contentLength >= 1 && contentLength <= MaxAcceptedContentLength;
        if (accepted)
            *content = QByteArrayView(kept.data(), contentLength);
        length = 0;
        endsWithCarriageReturn = false;
        return accepted;
    }

private:
    std::array<char, MaxAcceptedContentLength + 1> kept{};
    qint64 length = 0;
    bool endsWithCarriageReturn = false;
};

} // namespace

int readScreen(QIODevice &device, ScreenBuffer &screen)
{
    std::array<char, ChunkSize> chunk;
    LineScanner scanner;
    int line = 0;
    int accepted = 0;
    qint64 consumed = 0;
    while (line < EntryCount && consumed < ReadByteCap) {
        const qint64 got = device.read(chunk.data(), qMin(ChunkSize, ReadByteCap - consumed));
        if (got <= 0)
            break; // the end, or an error, which reads as the end
        consumed += got;
        for (qint64 at = 0; at < got && line < EntryCount; ++at) {
            const char byte = chunk[static_cast<size_t>(at)];
            if (byte != '\n') {
                scanner.addByte(byte);
                continue;
            }
            QByteArrayView content;
            if (scanner.takeAcceptedContent(&content)) {
                screen[static_cast<size_t>(line)] = convertLineContent(content);
                ++accepted;
            }
            ++line;
        }
    }
    // A last line without LF is never accepted, so whatever the scanner still holds is dropped.
    return accepted;
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
    if (readScreen(file, read) == 0) {
        if (errorString)
            *errorString = QCoreApplication::translate("BootScreenFile",
                                                       "The file contains no boot screen data.");
        return false;
    }
    screen = read;
    return true;
}

} // namespace bootscreen
