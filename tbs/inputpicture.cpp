#include "inputpicture.h"

#include "bootscreenreader.h"
#include "canvasgeometry.h"
#include "gridimage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

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
    if (bootscreen::readScreen(device, screen).takenLines == 0)
        return fail(reason, QStringLiteral("not a boot screen file: no line of it is taken"));
    *picture = bootscreen::unpackPicture(screen);
    return true;
}

bool turnsSideways(QImageIOHandler::Transformations transformation)
{
    return transformation.testFlag(QImageIOHandler::TransformationRotate90);
}

// The size to decode at. JPEG decodes at 1/2, 1/4 or 1/8 of its size for a fraction of the
// work (DCT scaling): a photo is decoded at the smallest such fraction that still has at least
// two source pixels for every display pixel it covers, never at full size for 4,096 pixels.
// Other decoders that take a scaled size decode in full and then scale, with no gain.
QSize decodingSize(const QImageReader &reader, const QSize &storedSize, const QSize &fullSize,
                   const pictureconversion::Options &options)
{
    if (reader.format() != "jpeg" || !storedSize.isValid())
        return storedSize;
    const int turns = picturefit::quarterTurns(options.rotation, fullSize);
    const QSize turned = picturefit::turnedSize(fullSize, turns);
    const QRect placed = picturefit::placement(turned, options.fit);
    int divisor = 1;
    while (divisor < 8 && turned.width() / (divisor * 2) >= 2 * placed.width() &&
           turned.height() / (divisor * 2) >= 2 * placed.height())
        divisor *= 2;
    return storedSize / divisor;
}

QString tooLargeReason(const QSize &size)
{
    return QStringLiteral("too large: %1 x %2 pixels is more than the image reader's limit of "
                          "%3 MB")
        .arg(size.width())
        .arg(size.height())
        .arg(QImageReader::allocationLimit());
}

// Judged at 32 bits a pixel, the size the conversion works in.
bool exceedsAllocationLimit(const QSize &size)
{
    const int limit = QImageReader::allocationLimit();
    return limit > 0 && size.isValid() &&
           qint64(size.width()) * size.height() * 4 > qint64(limit) << 20;
}

bool readImage(QImageReader &reader, const pictureconversion::Options &options,
               bootscreen::DisplayPicture *picture, QString *reason)
{
    reader.setAutoTransform(true);
    const QSize storedSize = reader.size();
    const QSize fullSize =
        turnsSideways(reader.transformation()) ? storedSize.transposed() : storedSize;
    // A picture the editor saved is read whole and cell for cell, as the editor shows it.
    const QSize decoded = fullSize == canvasgeometry::GridSize
                              ? storedSize
                              : decodingSize(reader, storedSize, fullSize, options);
    // Refused before decoding anything: the reader would refuse it too, after allocating.
    if (exceedsAllocationLimit(decoded))
        return fail(reason, tooLargeReason(storedSize));
    if (decoded != storedSize)
        reader.setScaledSize(decoded);
    QImage image;
    if (!reader.read(&image))
        return fail(reason, QStringLiteral("not a readable image: %1").arg(reader.errorString()));
    if ((fullSize.isValid() ? fullSize : image.size()) == canvasgeometry::GridSize)
        *picture = gridimage::cellsOfOpenedImage(image);
    else
        *picture = pictureconversion::convertPicture(image, options,
                                                     fullSize.isValid() ? fullSize : image.size());
    return true;
}

bool readDevice(QIODevice &device, bool namedAsBootScreen,
                const pictureconversion::Options &options, bootscreen::DisplayPicture *picture,
                QString *reason)
{
    if (namedAsBootScreen)
        return readBootScreen(device, picture, reason);
    QImageReader reader(&device);
    if (!reader.format().isEmpty())
        return readImage(reader, options, picture, reason);
    // No image reader knows it: it may still be a boot screen file under another name.
    device.seek(0);
    if (readBootScreen(device, picture, reason))
        return true;
    return fail(reason, QStringLiteral("neither an image nor a boot screen file"));
}

bool readInput(const QString &input, const pictureconversion::Options &options,
               QIODevice &standardInput, bootscreen::DisplayPicture *picture, QString *reason)
{
    if (input == QLatin1String("-")) {
        QByteArray bytes;
        if (!readWhole(standardInput, &bytes))
            return fail(reason, QStringLiteral("too large: more than %1 MB of input")
                                    .arg(MaxStandardInputBytes >> 20));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return readDevice(buffer, false, options, picture, reason);
    }
    const QFileInfo info(input);
    if (info.isDir())
        return fail(reason, QStringLiteral("is a folder"));
    QFile file(input);
    if (!file.open(QIODevice::ReadOnly))
        return fail(reason, file.errorString());
    const bool namedAsBootScreen = input.endsWith(QLatin1String(".tbs"), Qt::CaseInsensitive);
    return readDevice(file, namedAsBootScreen, options, picture, reason);
}

} // namespace

bool readPicture(const QString &input, const pictureconversion::Options &options,
                 QIODevice &standardInput, bootscreen::DisplayPicture *picture, QString *reason)
{
    // Inverting applies to every input, boot screens included; the rest of the options only
    // to the pictures that are converted.
    pictureconversion::Options conversion = options;
    conversion.invert = false;
    if (!readInput(input, conversion, standardInput, picture, reason))
        return false;
    if (options.invert)
        *picture = picture->inverted();
    return true;
}

} // namespace inputpicture
