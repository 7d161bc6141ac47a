#pragma once

#include "displaypicture.h"
#include "pictureconversion.h"

#include <QString>

#include <optional>

class QIODevice;

// Reading what the commands take as input: a boot screen file, an image the editor saved
// (160 x 640, read cell by cell as the editor shows it), a link that holds a screen (as
// `tbs link` prints it), or any other picture, converted.
namespace inputpicture {

// Input larger than this is refused: no boot screen or picture the tool can use comes near it.
constexpr qint64 MaxStandardInputBytes = 512 * 1024 * 1024;

// What an input gives the display: a screen as it is (a boot screen file, the editor's bitmap),
// or a picture reduced to the display's levels, to be converted.
struct Input
{
    std::optional<bootscreen::DisplayPicture> screen;
    pictureconversion::PictureLevels levels;
};

// Reads `input` ("-" for `standardInput`; a link, screenlink::looksLikeLink, for its screen),
// placed as the options' fit, rotation and background
// say; the rest of the options are not applied. False, with the reason for the user, when it
// cannot be read or holds no picture.
bool readInput(const QString &input, const pictureconversion::Options &options,
               QIODevice &standardInput, Input *read, QString *reason);

// Reads `input` ("-" for `standardInput`) into `picture`. A name ending in .tbs is a boot screen
// file, read as the editor imports it onto a fresh canvas (from 512 zero entries); anything else
// is a picture when an image reader recognises it, or else a boot screen file. False, with the
// reason for the user, when it cannot be read or holds no picture. `conversion`, when given,
// gets what converting a picture chose (before --invert); it stays empty for a screen.
bool readPicture(const QString &input, const pictureconversion::Options &options,
                 QIODevice &standardInput, bootscreen::DisplayPicture *picture, QString *reason,
                 std::optional<pictureconversion::Conversion> *conversion = nullptr);

} // namespace inputpicture
