#include "imageconversion.h"

#include "editorbitmap.h"

#include <algorithm>

namespace imageconversion {

namespace {

// Rows converted to RGBA at a time.
constexpr int RowsPerBand = 64;

geometry::Size sizeOf(const QSize &size)
{
    return {size.width(), size.height()};
}

RgbaView viewOf(const QImage &rgba)
{
    return {rgba.constBits(), rgba.width(), rgba.height(), rgba.bytesPerLine()};
}

// Straight, not premultiplied, alpha: what the core takes.
constexpr QImage::Format RgbaFormat = QImage::Format_RGBA8888;

} // namespace

void addImage(const QImage &image, pictureconversion::GreyLevelAccumulator &accumulator)
{
    if (image.format() == RgbaFormat) {
        accumulator.addRows(viewOf(image), 0);
        return;
    }
    for (int top = 0; top < image.height(); top += RowsPerBand) {
        const int rows = std::min(RowsPerBand, image.height() - top);
        // The band wraps the image's own rows; only its conversion is new memory.
        QImage band(image.constScanLine(top), image.width(), rows, image.bytesPerLine(),
                    image.format());
        band.setColorTable(image.colorTable());
        accumulator.addRows(viewOf(band.convertToFormat(RgbaFormat)), top);
    }
}

pictureconversion::PictureLevels pictureLevels(const QImage &image,
                                               const pictureconversion::Options &options,
                                               const QSize &geometrySize)
{
    pictureconversion::GreyLevelAccumulator accumulator(sizeOf(image.size()), options,
                                                        sizeOf(geometrySize));
    addImage(image, accumulator);
    return accumulator.pictureLevels();
}

std::optional<bootscreen::DisplayPicture> editorBitmapCells(const QImage &image)
{
    if (image.width() != editorbitmap::GridWidth || image.height() != editorbitmap::GridHeight)
        return std::nullopt;
    const QImage rgba = image.convertToFormat(RgbaFormat);
    if (!editorbitmap::isEditorBitmap(viewOf(rgba)))
        return std::nullopt;
    return editorbitmap::cellsOf(viewOf(rgba));
}

} // namespace imageconversion
