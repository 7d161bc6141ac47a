#include "outputfile.h"

#include "displayimage.h"
#include "editorbitmapfile.h"
#include "imagefile.h"
#include "safesave.h"
#include "screenfile.h"

namespace outputfile {

bool writePicture(const QString &path, const fileformats::Format &format,
                  const bootscreen::DisplayPicture &picture, int scale, QIODevice &standardOutput,
                  QString *reason)
{
    using Kind = fileformats::Format::Kind;
    safesave::WriteContents contents;
    switch (format.kind) {
    case Kind::BootScreen:
        contents = [screen = bootscreen::packPicture(picture)](QIODevice &device, QString *) {
            return screenfile::writeScreen(device, screen);
        };
        break;
    case Kind::EditorBitmap:
        contents = [bytes = editorbitmapfile::bitmapFile(picture)](QIODevice &device, QString *) {
            return safesave::writeBytes(device, bytes);
        };
        break;
    case Kind::DisplayImage:
        contents = imagefile::imageContents(displayImage(picture, scale), format.imageFormat);
        break;
    }
    return safesave::saveOrWrite(path, standardOutput, contents, reason);
}

} // namespace outputfile
