#pragma once

#include "displaypicture.h"
#include "pictureconversion.h"

#include <QString>

#include <optional>

class QIODevice;

// Reading a picture file for the display: the editor's own bitmap cell for cell, any other
// picture decoded (a JPEG at a reduced size where that loses nothing the display can show) and
// converted by the core.
namespace picturereading {

enum class Outcome {
    Read,
    NotAnImage,         // no image reader recognises it (it may be a boot screen file)
    FormatNotInstalled, // a known picture format whose reader is not installed
    Failed,             // recognised but unusable: too large, damaged, unreadable
};

// What a picture gives the display: the editor's bitmap cell for cell, or any other picture
// reduced to the display's levels, to be converted.
struct PictureContent
{
    std::optional<bootscreen::DisplayPicture> editorBitmap;
    pictureconversion::PictureLevels levels;
};

// Reads the picture at the device's current position, placed as the options' fit, rotation and
// background say. `reason` says why for the user when it is not read.
Outcome readPicture(QIODevice &device, const pictureconversion::Options &options,
                    PictureContent *content, QString *reason);

} // namespace picturereading
