#include "imagefile.h"

#include <QImageWriter>

namespace imagefile {

safesave::WriteContents imageContents(const QImage &image, const QByteArray &format)
{
    return [image, format](QIODevice &device, QString *reason) {
        QImageWriter writer(&device, format);
        if (writer.write(image))
            return true;
        *reason = writer.errorString();
        return false;
    };
}

bool saveImage(const QString &fileName, const QImage &image, const char *format,
               QString *errorString)
{
    return safesave::saveFile(fileName, imageContents(image, format), errorString);
}

} // namespace imagefile
