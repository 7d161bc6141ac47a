#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What a file name's extension (or a format name) asks to be written, for the editor and the
// tool alike.
namespace fileformats {

struct Format
{
    enum class Kind {
        BootScreen,   // .tbs
        EditorBitmap, // .bmp: the editor's 160 x 640 bitmap
        DisplayImage, // any other image format Qt writes: the 32 x 128 picture
    };
    Kind kind;
    QByteArray imageFormat; // the writer's format name, for the two image kinds
    QString extension;      // without the dot
};

// The format named by `name` (tbs, bmp, png, pbm, or any image format Qt can write, in any
// case); nothing when there is no such format.
std::optional<Format> formatNamed(const QString &name);

// The format a file name's extension asks for; nothing for a name without a known one.
std::optional<Format> formatForFileName(const QString &fileName);

} // namespace fileformats
