#include "fileformats.h"

#include "screenfilename.h"

#include <QFileInfo>
#include <QImageWriter>

namespace fileformats {

std::optional<Format> formatNamed(const QString &name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String(bootscreen::ScreenFileExtension))
        return Format{Format::Kind::BootScreen, {}, lower};
    if (lower == QLatin1String("bmp"))
        return Format{Format::Kind::EditorBitmap, "BMP", lower};
    const QByteArray writerName = lower.toLatin1();
    if (!lower.isEmpty() && QImageWriter::supportedImageFormats().contains(writerName))
        return Format{Format::Kind::DisplayImage, writerName, lower};
    return std::nullopt;
}

std::optional<Format> formatForFileName(const QString &fileName)
{
    if (bootscreen::isScreenFileName(fileName.toStdString()))
        return formatNamed(QLatin1String(bootscreen::ScreenFileExtension));
    return formatNamed(QFileInfo(fileName).suffix());
}

} // namespace fileformats
