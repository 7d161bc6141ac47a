#include "inputpicture.h"

#include "filewording.h"
#include "messages.h"
#include "picturereading.h"
#include "screenfile.h"
#include "screenfilename.h"
#include "screenlink.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace inputpicture {

namespace {

bool fail(QString *reason, const QString &why)
{
    *reason = why;
    return false;
}

// All of a stream whose size nobody knows beforehand, up to the limit.
bool readWhole(QIODevice &device, QByteArray *bytes)
{
    constexpr qint64 ChunkSize = 64 * 1024;
    for (;;) {
        const QByteArray chunk = device.read(ChunkSize);
        if (chunk.isEmpty())
            return true;
        if (bytes->size() + chunk.size() > MaxStandardInputBytes)
            return false;
        *bytes += chunk;
    }
}

bool readBootScreen(QIODevice &device, bootscreen::DisplayPicture *picture, QString *reason)
{
    bootscreen::ScreenBuffer screen{};
    if (!screenfile::readScreen(device, screen))
        return fail(reason, messages::notABootScreenFile());
    *picture = bootscreen::unpackPicture(screen);
    return true;
}

bool readBootScreen(QIODevice &device, Input *input, QString *reason)
{
    input->screen.emplace();
    return readBootScreen(device, &*input->screen, reason);
}

bool readDevice(QIODevice &device, bool namedAsBootScreen,
                const pictureconversion::Options &options, Input *input, QString *reason)
{
    if (namedAsBootScreen)
        return readBootScreen(device, input, reason);
    picturereading::PictureContent content;
    switch (picturereading::readPicture(device, options, &content, reason)) {
    case picturereading::Outcome::Read:
        input->screen = content.editorBitmap;
        input->levels = content.levels;
        return true;
    case picturereading::Outcome::FormatNotInstalled:
    case picturereading::Outcome::Failed:
        return false;
    case picturereading::Outcome::NotAnImage:
        break;
    }
    // No image reader knows it: it may still be a boot screen file under another name.
    device.seek(0);
    if (readBootScreen(device, input, reason))
        return true;
    return fail(reason, QStringLiteral("neither an image nor a boot screen file"));
}

} // namespace

bool readInput(const QString &input, const pictureconversion::Options &options,
               QIODevice &standardInput, Input *read, QString *reason)
{
    // Only the link's own text is read: nothing is fetched from the address it names.
    if (screenlink::looksLikeLink(input.toStdString())) {
        read->screen = screenlink::screenFromLink(input.toStdString());
        return read->screen || fail(reason, QString::fromStdString(filewording::notAScreenLink()));
    }
    if (input == QLatin1String("-")) {
        QByteArray bytes;
        if (!readWhole(standardInput, &bytes))
            return fail(reason, QStringLiteral("too large: more than %1 MB of input")
                                    .arg(MaxStandardInputBytes >> 20));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return readDevice(buffer, false, options, read, reason);
    }
    const QFileInfo info(input);
    if (info.isDir())
        return fail(reason, messages::isAFolder());
    QFile file(input);
    if (!file.open(QIODevice::ReadOnly))
        return fail(reason, file.errorString());
    const bool namedAsBootScreen = bootscreen::isScreenFileName(input.toStdString());
    return readDevice(file, namedAsBootScreen, options, read, reason);
}

bool readPicture(const QString &input, const pictureconversion::Options &options,
                 QIODevice &standardInput, bootscreen::DisplayPicture *picture, QString *reason,
                 std::optional<pictureconversion::Conversion> *conversion)
{
    // Inverting applies to every input, boot screens included; the rest of the options only
    // to the pictures that are converted.
    pictureconversion::Options converting = options;
    converting.invert = false;
    Input read;
    if (!readInput(input, converting, standardInput, &read, reason))
        return false;
    if (read.screen) {
        *picture = *read.screen;
    } else {
        const pictureconversion::Conversion converted =
            pictureconversion::convertLevels(read.levels, converting);
        *picture = converted.picture;
        if (conversion)
            *conversion = converted;
    }
    if (options.invert)
        *picture = picture->inverted();
    return true;
}

} // namespace inputpicture
