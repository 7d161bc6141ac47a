#pragma once

#include "displaypicture.h"
#include "pictureconversion.h"

#include <QImage>
#include <QSize>

#include <optional>

// QImage pictures handed to the core as rows of straight RGBA.
namespace imageconversion {

// Adds every row of `image` to the accumulator, converting a band of rows at a time: a large
// picture in another format is never converted whole.
void addImage(const QImage &image, pictureconversion::GreyLevelAccumulator &accumulator);

// The picture reduced to the display (see pictureconversion::GreyLevelAccumulator for
// `geometrySize`).
pictureconversion::PictureLevels pictureLevels(const QImage &image,
                                               const pictureconversion::Options &options,
                                               const QSize &geometrySize = {});

// The editor's bitmap read cell for cell, when `image` is one (see editorbitmap.h); nothing
// otherwise.
std::optional<bootscreen::DisplayPicture> editorBitmapCells(const QImage &image);

} // namespace imageconversion
