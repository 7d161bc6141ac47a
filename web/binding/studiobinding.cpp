#include "studiobinding.h"

#include "bootscreenreader.h"
#include "bootscreenwriter.h"
#include "checkwording.h"
#include "editorbitmap.h"
#include "editorbitmapfile.h"
#include "pictureconversion.h"
#include "screencheck.h"

#include <optional>
#include <string>
#include <string_view>

namespace {

using bootscreen::DisplayColumns;
using bootscreen::DisplayPicture;
using bootscreen::DisplayRows;
using pictureconversion::Options;

constexpr int LevelCount = DisplayColumns * DisplayRows;

// The last text handed out, kept until the next call that hands one out.
std::string written;

template <typename Enum> std::optional<Enum> enumOption(std::int32_t value, int count)
{
    if (value < 0 || value >= count)
        return std::nullopt;
    return static_cast<Enum>(value);
}

std::optional<Options> optionsFrom(const std::int32_t *values)
{
    Options options;
    const auto fit = enumOption<picturefit::Fit>(values[StudioFit], 4);
    const auto rotation = enumOption<picturefit::Rotation>(values[StudioRotation], 5);
    const auto dither = enumOption<dithering::Method>(values[StudioDither], 4);
    const auto background = enumOption<pictureconversion::Background>(values[StudioBackground], 2);
    const std::int32_t threshold = values[StudioThreshold];
    if (!fit || !rotation || !dither || !background || threshold < 0 || threshold > 255)
        return std::nullopt;
    options.fit = *fit;
    options.rotation = *rotation;
    options.dither = *dither;
    options.threshold = threshold;
    options.invert = values[StudioInvert] != 0;
    options.background = *background;
    return options;
}

DisplayPicture pictureFrom(const std::uint8_t *screen)
{
    DisplayPicture picture;
    for (int row = 0; row < DisplayRows; ++row) {
        for (int column = 0; column < DisplayColumns; ++column)
            picture.setLit(column, row, screen[row * DisplayColumns + column] != 0);
    }
    return picture;
}

void putPicture(const DisplayPicture &picture, std::uint8_t *screen)
{
    for (int row = 0; row < DisplayRows; ++row) {
        for (int column = 0; column < DisplayColumns; ++column)
            screen[row * DisplayColumns + column] = picture.isLit(column, row) ? 1 : 0;
    }
}

RgbaView viewOf(const std::uint8_t *rgba, int width, int height)
{
    return {rgba, width, height, std::ptrdiff_t(width) * 4};
}

} // namespace

extern "C" {

int studio_grey_levels(const std::uint8_t *rgba, int width, int height, int fullWidth,
                       int fullHeight, const std::int32_t *options, double *levels)
{
    const auto parsed = optionsFrom(options);
    if (!parsed || !rgba || width <= 0 || height <= 0)
        return 1;
    const dithering::GreyLevels grey = pictureconversion::greyLevels(
        viewOf(rgba, width, height), *parsed, {fullWidth, fullHeight});
    for (int i = 0; i < LevelCount; ++i)
        levels[i] = grey[size_t(i)];
    return 0;
}

int studio_convert_levels(const double *levels, const std::int32_t *options, std::uint8_t *screen)
{
    const auto parsed = optionsFrom(options);
    if (!parsed)
        return 1;
    const dithering::GreyLevels grey(levels, levels + LevelCount);
    putPicture(pictureconversion::convertLevels(grey, *parsed), screen);
    return 0;
}

int studio_read_tbs(const char *bytes, int length, std::uint8_t *screen)
{
    bootscreen::ScreenBuffer buffer{};
    const auto summary = bootscreen::readScreen(std::string_view(bytes, size_t(length)), buffer);
    putPicture(bootscreen::unpackPicture(buffer), screen);
    return summary.takenLines;
}

const char *studio_check_tbs(const char *bytes, int length, const char *name)
{
    const screencheck::Check check =
        screencheck::checkScreen(std::string_view(bytes, size_t(length)));
    written.clear();
    for (const screencheck::Finding &finding : check.findings)
        written += checkwording::report(name, finding) + "\n";
    return written.c_str();
}

const char *studio_write_tbs(const std::uint8_t *screen)
{
    written = bootscreen::formatScreen(bootscreen::packPicture(pictureFrom(screen)));
    return written.c_str();
}

int studio_written_length()
{
    return int(written.size());
}

int studio_read_editor_bitmap(const std::uint8_t *rgba, int width, int height, std::uint8_t *screen)
{
    const RgbaView view = viewOf(rgba, width, height);
    if (!rgba || !editorbitmap::isEditorBitmap(view))
        return 0;
    putPicture(editorbitmap::cellsOf(view), screen);
    return 1;
}

const std::uint8_t *studio_write_editor_bitmap(const std::uint8_t *screen)
{
    written = editorbitmapfile::bitmapFile(pictureFrom(screen));
    return reinterpret_cast<const std::uint8_t *>(written.data());
}

} // extern "C"
