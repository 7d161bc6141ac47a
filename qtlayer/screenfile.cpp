#include "screenfile.h"

#include "bootscreenreader.h"
#include "bootscreenwriter.h"
#include "messages.h"
#include "safesave.h"

#include <QFile>

namespace screenfile {

std::string readCapped(QIODevice &device)
{
    constexpr qint64 ChunkSize = 8192;
    constexpr qint64 Wanted = bootscreen::ReadByteCap + 1;
    std::string bytes;
    while (qint64(bytes.size()) < Wanted) {
        const size_t had = bytes.size();
        const qint64 ask = std::min(ChunkSize, Wanted - qint64(had));
        bytes.resize(had + size_t(ask));
        const qint64 got = device.read(bytes.data() + had, ask);
        bytes.resize(had + size_t(std::max<qint64>(got, 0)));
        if (got <= 0)
            break; // the end, or an error, which reads as the end
    }
    return bytes;
}

bool readScreen(QIODevice &device, bootscreen::ScreenBuffer &screen)
{
    bootscreen::ScreenBuffer read = screen;
    if (!bootscreen::readScreen(readCapped(device), read).hasData())
        return false;
    screen = read;
    return true;
}

bool readScreenFile(const QString &fileName, bootscreen::ScreenBuffer &screen, QString *errorString)
{
    QFile file(fileName);
    // Unbuffered: the reader must not read ahead past its cap.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        if (errorString)
            *errorString = file.errorString();
        return false;
    }
    if (!readScreen(file, screen)) {
        if (errorString)
            *errorString = messages::noBootScreenData();
        return false;
    }
    return true;
}

bool writeScreen(QIODevice &device, const bootscreen::ScreenBuffer &screen)
{
    return safesave::writeBytes(device, bootscreen::formatScreen(screen));
}

bool saveScreenFile(const QString &fileName, const bootscreen::ScreenBuffer &screen,
                    QString *errorString)
{
    return safesave::saveFile(
        fileName, [&screen](QIODevice &device, QString *) { return writeScreen(device, screen); },
        errorString);
}

} // namespace screenfile
