#pragma once

#include "displaypicture.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;

// What `tbs convert` writes: a boot screen file, the editor's 160 x 640 bitmap, or the
// 32 x 128 picture in any image format Qt writes.
namespace outputfile {

struct Format
{
    enum class Kind { BootScreen, EditorBitmap, DisplayImage };
    Kind kind;
    QByteArray imageFormat; // the writer's format name, for the two image kinds
    QString extension;      // without the dot
};

// The format named by `name` (tbs, bmp, png, pbm, or any image format Qt can write); nothing
// when there is no such format.
std::optional<Format> formatNamed(const QString &name);

// The format a file name's extension asks for; "-" is a boot screen on standard output.
std::optional<Format> formatForPath(const QString &path);

// Writes the picture as `format` to the named file, all or nothing, or to `standardOutput`
// when the path is "-". `scale` enlarges a display image, one square per pixel. False, with
// the system's reason, when it could not be written.
bool writePicture(const QString &path, const Format &format,
                  const bootscreen::DisplayPicture &picture, int scale, QIODevice &standardOutput,
                  QString *reason);

} // namespace outputfile
