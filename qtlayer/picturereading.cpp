#include "picturereading.h"

#include "allocationlimit.h"
#include "editorbitmap.h"
#include "filewording.h"
#include "imageconversion.h"
#include "optionvalues.h"

#include <QImageReader>
#include <QStringList>

namespace picturereading {

namespace {

Outcome fail(Outcome outcome, QString *reason, const QString &why)
{
    *reason = why;
    return outcome;
}

geometry::Size sizeOf(const QSize &size)
{
    return {size.width(), size.height()};
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
    // A crop keeps fewer source pixels for the same display pixels: judged on the part kept.
    const geometry::Rect part = pictureconversion::convertedPart(options, sizeOf(fullSize));
    const geometry::Size partSize{part.width, part.height};
    const int turns = picturefit::quarterTurns(options.rotation, partSize,
                                               {options.area.width, options.area.height});
    const geometry::Size turned = picturefit::turnedSize(partSize, turns);
    const geometry::Rect placed = picturefit::placement(turned, options.fit, options.area);
    int divisor = 1;
    while (divisor < 8 && turned.width / (divisor * 2) >= 2 * placed.width &&
           turned.height / (divisor * 2) >= 2 * placed.height)
        divisor *= 2;
    return storedSize / divisor;
}

QString tooLargeReason(const QSize &size)
{
    return QString::fromStdString(
        filewording::tooLarge(size.width(), size.height(), allocationlimit::megabytes()));
}

// Picture formats this program reads through Qt's image plug-ins, by the first bytes of
// their files: the ones a user may hand over whose plug-in may not be installed.
struct KnownFormat
{
    const char *name;
    bool (*matches)(const QByteArray &head);
};

const KnownFormat knownFormats[] = {
    {"WebP", [](const QByteArray &h) { return h.startsWith("RIFF") && h.mid(8, 4) == "WEBP"; }},
    {"TIFF",
     [](const QByteArray &h) {
         return h.startsWith(QByteArray("II*\0", 4)) || h.startsWith(QByteArray("MM\0*", 4));
     }},
    {"SVG",
     [](const QByteArray &h) {
         const QByteArray text = h.trimmed();
         return (text.startsWith("<?xml") || text.startsWith("<svg") ||
                 text.startsWith("<!DOCTYPE svg")) &&
                h.contains("<svg");
     }},
    {"AVIF", [](const QByteArray &h) { return h.mid(4, 8) == "ftypavif"; }},
    {"HEIF",
     [](const QByteArray &h) {
         const QByteArray brand = h.mid(4, 8);
         return brand == "ftypheic" || brand == "ftypheix" || brand == "ftypmif1";
     }},
    {"JPEG XL",
     [](const QByteArray &h) {
         return h.startsWith("\xff\x0a") || h.startsWith(QByteArray("\0\0\0\x0cJXL ", 8));
     }},
};

QString installedFormats()
{
    QStringList names;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        names << QString::fromLatin1(format);
    return names.join(QStringLiteral(", "));
}

// Why an unrecognised file is refused, when it is a picture in a format whose reader is missing.
std::optional<QString> missingFormat(QIODevice &device)
{
    const QByteArray head = device.peek(1024);
    for (const KnownFormat &format : knownFormats) {
        if (format.matches(head))
            return QStringLiteral("%1 pictures cannot be read here: the image format plug-in "
                                  "is not installed (installed: %2)")
                .arg(QLatin1String(format.name), installedFormats());
    }
    return std::nullopt;
}

// Decoders that meet the end of the data or a broken segment still hand over a picture, its
// missing part filled in grey; they only warn. The warnings are the one sign of it.
class DamageWatch
{
public:
    DamageWatch() : previous(qInstallMessageHandler(record)) { current = this; }
    ~DamageWatch()
    {
        qInstallMessageHandler(previous);
        current = nullptr;
    }
    DamageWatch(const DamageWatch &) = delete;
    DamageWatch &operator=(const DamageWatch &) = delete;

    bool sawDamage() const { return damaged; }

private:
    static void record(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (message.contains(QLatin1String("Premature end of")) ||
            message.contains(QLatin1String("premature end of data segment")) ||
            message.contains(QLatin1String("Corrupt JPEG data: bad")))
            current->damaged = true;
        else if (current->previous)
            current->previous(type, context, message);
    }

    static inline DamageWatch *current = nullptr;
    QtMessageHandler previous;
    bool damaged = false;
};

} // namespace

Outcome readPicture(QIODevice &device, const pictureconversion::Options &options,
                    PictureContent *content, QString *reason)
{
    QImageReader reader(&device);
    if (reader.format().isEmpty()) {
        if (const std::optional<QString> missing = missingFormat(device))
            return fail(Outcome::FormatNotInstalled, reason, *missing);
        return fail(Outcome::NotAnImage, reason, QString());
    }
    reader.setAutoTransform(true);
    const QSize storedSize = reader.size();
    const QSize fullSize =
        turnsSideways(reader.transformation()) ? storedSize.transposed() : storedSize;
    const QSize gridSize(editorbitmap::GridWidth, editorbitmap::GridHeight);
    // A picture the size of the editor's bitmap may be one, which is read whole, cell for cell
    // and never cropped; any other crop is judged before decoding anything.
    if (fullSize.isValid() && fullSize != gridSize) {
        if (const std::optional<std::string> problem =
                optionvalues::cropProblem(options, sizeOf(fullSize)))
            return fail(Outcome::Failed, reason, QString::fromStdString(*problem));
    }
    const QSize decoded =
        fullSize == gridSize ? storedSize : decodingSize(reader, storedSize, fullSize, options);
    // Refused before decoding anything: the reader would refuse it too, after allocating.
    if (!allocationlimit::fits(decoded, 32))
        return fail(Outcome::Failed, reason, tooLargeReason(storedSize));
    if (decoded != storedSize)
        reader.setScaledSize(decoded);
    QImage image;
    DamageWatch watch;
    if (!reader.read(&image))
        return fail(Outcome::Failed, reason,
                    QStringLiteral("not a readable image: %1").arg(reader.errorString()));
    if (watch.sawDamage())
        return fail(Outcome::Failed, reason,
                    QStringLiteral("the picture is damaged or incomplete"));
    const QSize geometry = fullSize.isValid() ? fullSize : image.size();
    if (geometry == gridSize) {
        content->editorBitmap = imageconversion::editorBitmapCells(image);
        if (content->editorBitmap)
            return Outcome::Read;
    }
    if (const std::optional<std::string> problem =
            optionvalues::cropProblem(options, sizeOf(geometry)))
        return fail(Outcome::Failed, reason, QString::fromStdString(*problem));
    content->levels = imageconversion::pictureLevels(image, options, geometry);
    return Outcome::Read;
}

} // namespace picturereading
