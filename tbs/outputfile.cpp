#include "outputfile.h"

#include "bootscreenwriter.h"
#include "displayimage.h"
#include "gridimage.h"
#include "imagefile.h"

#include <QFileInfo>
#include <QImageWriter>

namespace outputfile {

std::optional<Format> formatNamed(const QString &name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("tbs"))
        return Format{Format::Kind::BootScreen, {}, lower};
    // The editor's own bitmap format: what "Save image in .BMP format" writes.
    if (lower == QLatin1String("bmp"))
        return Format{Format::Kind::EditorBitmap, "BMP", lower};
    const QByteArray writerName = lower.toLatin1();
    if (!lower.isEmpty() && QImageWriter::supportedImageFormats().contains(writerName))
        return Format{Format::Kind::DisplayImage, writerName, lower};
    return std::nullopt;
}

std::optional<Format> formatForPath(const QString &path)
{
    if (path == QLatin1String("-"))
        return formatNamed(QStringLiteral("tbs"));
    return formatNamed(QFileInfo(path).suffix());
}

bool writePicture(const QString &path, const Format &format,
                  const bootscreen::DisplayPicture &picture, int scale, QIODevice &standardOutput,
                  QString *reason)
{
    QImage image;
    switch (format.kind) {
    case Format::Kind::BootScreen:
        if (path == QLatin1String("-")) {
            const QByteArray bytes = bootscreen::formatScreen(bootscreen::packPicture(picture));
            if (standardOutput.write(bytes) == bytes.size())
                return true;
            *reason = standardOutput.errorString();
            return false;
        }
        return bootscreen::saveScreenFile(path, bootscreen::packPicture(picture), reason);
    case Format::Kind::EditorBitmap:
        image = gridimage::gridImageOf(picture);
        break;
    case Format::Kind::DisplayImage:
        image = displayImage(picture, scale);
        break;
    }
    if (path == QLatin1String("-")) {
        QImageWriter writer(&standardOutput, format.imageFormat);
        if (writer.write(image))
            return true;
        *reason = writer.errorString();
        return false;
    }
    return imagefile::saveImage(path, image, format.imageFormat.constData(), reason);
}

} // namespace outputfile
