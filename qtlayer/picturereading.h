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

// Reads the picture at the device's current position. `reason` says why for the user when it
// is not read.
Outcome readPicture(QIODevice &device, const pictureconversion::Options &options,
                    bootscreen::DisplayPicture *picture, QString *reason);

} // namespace picturereading
