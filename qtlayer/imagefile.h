#pragma once

#include "safesave.h"

#include <QImage>
#include <QString>

// Saving a picture as an image file, all or nothing: a failed save leaves an existing file
// as it was and creates none.
namespace imagefile {

// What writes `image` in `format` (a Qt image format name such as "BMP" or "png"), at the
// writer's default quality, to a file or a stream.
safesave::WriteContents imageContents(const QImage &image, const QByteArray &format);

// Writes `image` to the named file in `format`. False, with the reason in errorString,
// otherwise.
bool saveImage(const QString &fileName, const QImage &image, const char *format,
               QString *errorString = nullptr);

} // namespace imagefile
