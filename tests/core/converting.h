#pragma once

#include "pictureconversion.h"

// A whole picture converted in the two steps the front ends take: reduced to the display's
// levels, then made lit and dark.
inline pictureconversion::Conversion converted(const RgbaView &picture,
                                               const pictureconversion::Options &options)
{
    return pictureconversion::convertLevels(pictureconversion::pictureLevels(picture, options),
                                            options);
}
