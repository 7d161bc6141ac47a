#include "bootscreenwriter.h"

#include "bootscreenformat.h"
#include "safesave.h"

#include <QIODevice>
#include <QString>

namespace bootscreen {

QByteArray formatScreen(const ScreenBuffer &screen)
{
    QByteArray bytes;
    bytes.reserve(EntryCount * 5); // "255\r\n", the longest line packing produces
    for (const std::int32_t entry : screen) {
        bytes += entryText(entry);
        bytes += LineEnd;
    }
    return bytes;
}

bool writeScreen(QIODevice &device, const ScreenBuffer &screen)
{
    const QByteArray bytes = formatScreen(screen);
    return device.write(bytes) == bytes.size();
}

bool saveScreenFile(const QString &fileName, const ScreenBuffer &screen, QString *errorString)
{
    return safesave::saveFile(
        fileName, [&screen](QIODevice &device, QString *) { return writeScreen(device, screen); },
        errorString);
}

} // namespace bootscreen
