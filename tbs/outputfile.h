#pragma once

#include "displaypicture.h"
#include "fileformats.h"

#include <QString>

class QIODevice;

// What `tbs convert` writes: a boot screen file, the editor's 160 x 640 bitmap, or the
// 32 x 128 picture in any image format Qt writes.
namespace outputfile {

// Writes the picture as `format` to the named file, all or nothing, or to `standardOutput`
// when the path is "-". `scale` enlarges a display image, one square per pixel. False, with
// the system's reason, when it could not be written.
bool writePicture(const QString &path, const fileformats::Format &format,
                  const bootscreen::DisplayPicture &picture, int scale, QIODevice &standardOutput,
                  QString *reason);

} // namespace outputfile
