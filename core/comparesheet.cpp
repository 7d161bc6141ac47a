#include "comparesheet.h"

#include "optiontable.h"
#include "pixelfont.h"

#include <algorithm>

namespace comparesheet {

namespace {

constexpr int CellSize = 5; // a 4 x 4 square and its gap
constexpr int PanelWidth = bootscreen::DisplayColumns * CellSize;
constexpr int PanelHeight = bootscreen::DisplayRows * CellSize;
constexpr int Margin = 8;
constexpr int Spacing = 12;
constexpr int LabelGap = 4;

constexpr std::uint8_t SheetColour[4] = {48, 48, 48, 255};
constexpr std::uint8_t GapColour[4] = {0, 0, 0, 255};
constexpr std::uint8_t LitColour[4] = {232, 232, 232, 255};
constexpr std::uint8_t DarkColour[4] = {34, 34, 34, 255};
constexpr std::uint8_t TextColour[4] = {240, 240, 240, 255};

constexpr int ThresholdLevels[] = {64, 96, 128, 160, 192};

void fill(Sheet &sheet, int left, int top, int width, int height, const std::uint8_t (&colour)[4])
{
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            std::copy(colour, colour + 4, &sheet.rgba[size_t(y * sheet.width + x) * 4]);
}

void drawScreen(Sheet &sheet, int left, int top, const bootscreen::DisplayPicture &picture)
{
    fill(sheet, left, top, PanelWidth, PanelHeight, GapColour);
    for (int row = 0; row < bootscreen::DisplayRows; ++row)
        for (int column = 0; column < bootscreen::DisplayColumns; ++column)
            fill(sheet, left + column * CellSize, top + row * CellSize, CellSize - 1, CellSize - 1,
                 picture.isLit(column, row) ? LitColour : DarkColour);
}

} // namespace

std::vector<Candidate> candidates(const pictureconversion::PictureLevels &levels,
                                  const pictureconversion::Options &given)
{
    std::vector<pictureconversion::Options> tries{given};
    // Every method the option table offers, in its order.
    for (const optiontable::Choice &method :
         optiontable::find(optiontable::Convert, "dither")->choices) {
        if (method.code == optiontable::Automatic)
            continue;
        pictureconversion::Options options = given;
        options.dither = static_cast<dithering::Method>(method.code);
        tries.push_back(options);
    }
    for (const int threshold : ThresholdLevels) {
        pictureconversion::Options options = given;
        options.dither = dithering::Method::None;
        options.threshold = threshold;
        tries.push_back(options);
    }

    std::vector<Candidate> result;
    for (pictureconversion::Options &options : tries) {
        const pictureconversion::Conversion conversion =
            pictureconversion::convertLevels(levels, options);
        options.dither = conversion.dither;
        options.threshold = conversion.threshold;
        const bool shown = std::any_of(result.begin(), result.end(), [&](const Candidate &c) {
            return c.conversion.dither == conversion.dither &&
                   c.conversion.threshold == conversion.threshold;
        });
        if (!shown)
            result.push_back({options, conversion});
    }
    return result;
}

Sheet draw(const std::vector<Panel> &panels)
{
    size_t labelLines = 0;
    for (const Panel &panel : panels)
        labelLines = std::max(labelLines, panel.label.size());
    const int labelHeight = int(labelLines) * pixelfont::labelLineHeight();
    const int count = int(panels.size());
    Sheet sheet;
    sheet.width = 2 * Margin + count * PanelWidth + std::max(0, count - 1) * Spacing;
    sheet.height = 2 * Margin + labelHeight + LabelGap + PanelHeight;
    sheet.rgba.resize(size_t(sheet.width) * size_t(sheet.height) * 4);
    fill(sheet, 0, 0, sheet.width, sheet.height, SheetColour);
    for (int i = 0; i < count; ++i) {
        const int left = Margin + i * (PanelWidth + Spacing);
        const Panel &panel = panels[size_t(i)];
        for (size_t line = 0; line < panel.label.size(); ++line)
            pixelfont::drawText(sheet.rgba, sheet.width, sheet.height, left,
                                Margin + int(line) * pixelfont::labelLineHeight(),
                                panel.label[line], TextColour);
        drawScreen(sheet, left, Margin + labelHeight + LabelGap, panel.picture);
    }
    return sheet;
}

} // namespace comparesheet
