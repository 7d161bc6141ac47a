#include "studiobinding.h"

#include "bootscreenreader.h"
#include "bootscreenwriter.h"
#include "checkwording.h"
#include "comparesheet.h"
#include "displayarea.h"
#include "editorbitmap.h"
#include "editorbitmapfile.h"
#include "imagelimit.h"
#include "pictureconversion.h"
#include "screencheck.h"
#include "screenfilename.h"
#include "textlayout.h"
#include "textwording.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace {

using bootscreen::DisplayColumns;
using bootscreen::DisplayPicture;
using bootscreen::DisplayRows;
using pictureconversion::Options;

constexpr int LevelCount = DisplayColumns * DisplayRows;
static_assert(StudioLevelsLength == LevelCount + 6, "the levels, then six numbers");

// The last text handed out, kept until the next call that hands one out.
std::string written;

// A whole number within [low, high], or nothing.
std::optional<int> wholeOption(double value, int low, int high)
{
    if (!(value >= low && value <= high) || value != std::floor(value))
        return std::nullopt;
    return int(value);
}

// Left, top, width and height, as a rectangle of at least one pixel on the display.
std::optional<geometry::Rect> areaFrom(const double *values)
{
    const auto left = wholeOption(values[0], 0, DisplayColumns);
    const auto top = wholeOption(values[1], 0, DisplayRows);
    const auto width = wholeOption(values[2], 0, DisplayColumns);
    const auto height = wholeOption(values[3], 0, DisplayRows);
    if (!left || !top || !width || !height)
        return std::nullopt;
    const geometry::Rect area{*left, *top, *width, *height};
    if (!displayarea::isOnDisplay(area))
        return std::nullopt;
    return area;
}

std::optional<Options> optionsFrom(const double *values)
{
    const auto fit = wholeOption(values[StudioFit], 0, 3);
    const auto rotation = wholeOption(values[StudioRotation], 0, 4);
    const auto dither = wholeOption(values[StudioDither], 0, 4);
    const auto threshold = wholeOption(values[StudioThreshold], -1, 255);
    const auto invert = wholeOption(values[StudioInvert], 0, 1);
    const auto background = wholeOption(values[StudioBackground], 0, 1);
    const auto levels = wholeOption(values[StudioLevels], 0, 1);
    const auto brightness =
        wholeOption(values[StudioBrightness], tone::MinBrightness, tone::MaxBrightness);
    const auto contrast = wholeOption(values[StudioContrast], tone::MinContrast, tone::MaxContrast);
    const double gamma = values[StudioGamma];
    const std::optional<geometry::Rect> area = areaFrom(values + StudioAreaLeft);
    if (!fit || !rotation || !dither || !threshold || !invert || !background || !levels ||
        !brightness || !contrast || !(gamma >= tone::MinGamma && gamma <= tone::MaxGamma) || !area)
        return std::nullopt;
    Options options;
    options.fit = static_cast<picturefit::Fit>(*fit);
    options.rotation = static_cast<picturefit::Rotation>(*rotation);
    if (*dither < 4)
        options.dither = static_cast<dithering::Method>(*dither);
    if (*threshold >= 0)
        options.threshold = *threshold;
    options.invert = *invert == 1;
    options.background = static_cast<pictureconversion::Background>(*background);
    options.tone.stretchLevels = *levels == 1;
    options.tone.brightness = *brightness;
    options.tone.contrast = *contrast;
    options.tone.gamma = gamma;
    options.area = *area;
    return options;
}

void putLevels(const pictureconversion::PictureLevels &picture, double *levels)
{
    std::copy(picture.levels.begin(), picture.levels.end(), levels);
    double *rest = levels + LevelCount;
    rest[0] = picture.covered.left;
    rest[1] = picture.covered.top;
    rest[2] = picture.covered.width;
    rest[3] = picture.covered.height;
    rest[4] = picture.mainToneShare;
    rest[5] = picture.uniform ? 1 : 0;
}

pictureconversion::PictureLevels levelsFrom(const double *levels)
{
    pictureconversion::PictureLevels picture;
    picture.levels.assign(levels, levels + LevelCount);
    const double *rest = levels + LevelCount;
    picture.covered = {int(rest[0]), int(rest[1]), int(rest[2]), int(rest[3])};
    picture.mainToneShare = rest[4];
    picture.uniform = rest[5] != 0;
    return picture;
}

void putChoice(const pictureconversion::Conversion &conversion, std::int32_t *chosen)
{
    chosen[StudioChosenDither] = static_cast<std::int32_t>(conversion.dither);
    chosen[StudioChosenThreshold] = conversion.threshold;
    chosen[StudioChosenBlank] = conversion.blank ? 1 : 0;
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

int studio_picture_levels(const std::uint8_t *rgba, int width, int height, int fullWidth,
                          int fullHeight, const double *options, double *levels)
{
    const auto parsed = optionsFrom(options);
    if (!parsed || !rgba || width <= 0 || height <= 0)
        return 1;
    putLevels(pictureconversion::pictureLevels(viewOf(rgba, width, height), *parsed,
                                               {fullWidth, fullHeight}),
              levels);
    return 0;
}

int studio_convert_levels(const double *levels, const double *options, std::uint8_t *screen,
                          std::int32_t *chosen)
{
    const auto parsed = optionsFrom(options);
    if (!parsed)
        return 1;
    const pictureconversion::Conversion conversion =
        pictureconversion::convertLevels(levelsFrom(levels), *parsed);
    putPicture(conversion.picture, screen);
    putChoice(conversion, chosen);
    return 0;
}

int studio_compare(const double *levels, const double *options, std::uint8_t *screens,
                   std::int32_t *chosen)
{
    const auto parsed = optionsFrom(options);
    if (!parsed)
        return -1;
    const std::vector<comparesheet::Candidate> candidates =
        comparesheet::candidates(levelsFrom(levels), *parsed);
    const size_t count = std::min<size_t>(candidates.size(), StudioMaxCandidates);
    for (size_t i = 0; i < count; ++i) {
        putPicture(candidates[i].conversion.picture, screens + i * LevelCount);
        putChoice(candidates[i].conversion, chosen + i * StudioChoiceCount);
    }
    return int(count);
}

const char *studio_fonts()
{
    written.clear();
    for (const pixelfont::Font *font : pixelfont::bundledFonts())
        written += std::string(font->name) + " " + std::to_string(font->cellWidth) + " " +
                   std::to_string(font->cellHeight) + "\n";
    return written.c_str();
}

int studio_set_text(const char *text, const char *font, int rotation, int alignment,
                    const double *area, int invert, const std::uint8_t *base, std::uint8_t *screen)
{
    static constexpr textlayout::Rotation rotations[] = {
        textlayout::Rotation::Auto, textlayout::Rotation::None, textlayout::Rotation::Quarter,
        textlayout::Rotation::ThreeQuarters};
    static constexpr textlayout::Alignment alignments[] = {
        textlayout::Alignment::Left, textlayout::Alignment::Center, textlayout::Alignment::Right};
    const std::optional<geometry::Rect> placed = areaFrom(area);
    textlayout::Options options;
    if (std::string_view(font) != "auto")
        options.font = pixelfont::fontNamed(font);
    if (!placed || (std::string_view(font) != "auto" && !options.font) || rotation < 0 ||
        rotation > 3 || alignment < 0 || alignment > 2) {
        written = "the text options are not ones the studio offers";
        return 1;
    }
    options.rotation = rotations[rotation];
    options.alignment = alignments[alignment];
    options.area = *placed;
    std::vector<std::string> lines;
    for (std::string_view rest = text;;) {
        const size_t end = rest.find('\n');
        lines.emplace_back(rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    const auto part = textlayout::setText(lines, options);
    if (const textlayout::Error *error = std::get_if<textlayout::Error>(&part)) {
        written = textwording::message(*error);
        return 1;
    }
    putPicture(displayarea::composed(pictureFrom(base), std::get<DisplayPicture>(part), *placed,
                                     invert != 0),
               screen);
    return 0;
}

const char *studio_message()
{
    return written.c_str();
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

int studio_is_tbs_name(const char *name)
{
    return name && bootscreen::isScreenFileName(name) ? 1 : 0;
}

int studio_fits_allocation_limit(int width, int height)
{
    return imagelimit::fits(width, height, 32) ? 1 : 0;
}

} // extern "C"
