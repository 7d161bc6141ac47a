#include "bootscreenwriter.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QSaveFile>
#include <QString>

namespace bootscreen {

namespace {

bool failed(const QString &reason, QString *errorString)
{
    if (errorString)
        *errorString = reason;
    return false;
}

} // namespace

QByteArray formatScreen(const ScreenBuffer &screen)
{
    QByteArray bytes;
    bytes.reserve(EntryCount * 5); // "255\r\n", the longest line packing produces
    for (const std::int32_t entry : screen) {
        bytes += QByteArray::number(entry);
        bytes += "\r\n";
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
    QSaveFile file(fileName);
    // Unbuffered: a buffered QSaveFile flushes only while committing, and a write error met
    // there does not stop the commit, so a truncated file would replace the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(file.errorString(), errorString);
    if (!writeScreen(file, screen)) {
        // A short write (a full disk, a file size limit) sets no error of its own.
        const QString reason =
            file.error() != QFileDevice::NoError
                ? file.errorString()
                : QCoreApplication::translate("BootScreenFile", "Could not write the whole file.");
        file.cancelWriting();
        return failed(reason, errorString);
    }
    if (!file.commit())
        return failed(file.errorString(), errorString);
    return true;
}

} // namespace bootscreen
