#pragma once

#include "displaypicture.h"
#include "pictureconversion.h"

#include <QString>

class QIODevice;

// Reading what the commands take as input: a boot screen file, an image the editor saved
// (160 x 640, read cell by cell as the editor shows it), or any other picture, converted.
namespace inputpicture {

// Input larger than this is refused: no boot screen or picture the tool can use comes near it.
constexpr qint64 MaxStandardInputBytes = 512 * 1024 * 1024;

// Reads `input` ("-" for `standardInput`) into `picture`. A name ending in .tbs is a boot screen
// file, read as the editor imports it onto a fresh canvas (from 512 zero entries); anything else
// is a picture when an image reader recognises it, or else a boot screen file. False, with the
// reason for the user, when it cannot be read or holds no picture.
bool readPicture(const QString &input, const pictureconversion::Options &options,
                 QIODevice &standardInput, bootscreen::DisplayPicture *picture, QString *reason);

} // namespace inputpicture
