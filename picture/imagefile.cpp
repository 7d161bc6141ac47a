#include "imagefile.h"

#include "safesave.h"

#include <QImageWriter>

namespace imagefile {

bool saveImage(const QString &fileName, const QImage &image, const char *format,
               QString *errorString)
{
    return safesave::saveFile(
        fileName,
        [&](QIODevice &device, QString *reason) {
            QImageWriter writer(&device, format);
            if (writer.write(image))
                return true;
            *reason = writer.errorString();
            return false;
        },
        errorString);
}

} // namespace imagefile
