// Feeds arbitrary bytes to the browser studio's entry points, as the page hands them files and
// pictures: a .tbs read, checked and written back, a picture of any size and options converted,
// the editor's bitmap read, and text of any bytes set in any area. Anything that disagrees with
// itself aborts.

#include "studiobinding.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int Cells = 32 * 128;

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

std::vector<char> writtenFile(const std::uint8_t *screen)
{
    const char *text = studio_write_tbs(screen);
    return {text, text + studio_written_length()};
}

void screenFile(const std::uint8_t *data, std::size_t size)
{
    std::uint8_t screen[Cells];
    const int taken = studio_read_tbs(reinterpret_cast<const char *>(data), int(size), screen);
    const bool findings =
        *studio_check_tbs(reinterpret_cast<const char *>(data), int(size), "f.tbs") != '\0';
    for (const std::uint8_t cell : screen) {
        if (cell > 1)
            fail("a cell is neither lit nor dark");
    }
    const std::vector<char> written = writtenFile(screen);
    if (taken > 0 && !findings &&
        (written.size() != size || std::memcmp(written.data(), data, size) != 0))
        fail("a file without findings is not what the writer writes");
    std::uint8_t again[Cells];
    if (studio_read_tbs(written.data(), int(written.size()), again) != 512 ||
        std::memcmp(screen, again, Cells) != 0)
        fail("a written screen does not read back");
    if (*studio_check_tbs(written.data(), int(written.size()), "w.tbs") != '\0')
        fail("a written screen has findings");
    studio_write_editor_bitmap(screen);
    if (studio_written_length() != 62 + 20 * 640)
        fail("the editor's bitmap has the wrong length");
}

void picture(const std::uint8_t *data, std::size_t size)
{
    if (size < 20)
        return;
    const int width = 1 + data[0] % 64;
    const int height = 1 + data[1] % 64;
    const int fullWidth = data[2] % 2 ? width * (1 + data[3] % 8) : 0;
    const int fullHeight = fullWidth ? height * (1 + data[3] % 8) : 0;
    // Options slightly out of range too: the binding must refuse them, not read past a table.
    const double options[StudioOptionCount] = {
        double(data[4] % 5),     double(data[5] % 6),    double(data[6] % 6),
        double(data[7]) - 8,     double(data[8] % 2),    double(data[9] % 3),
        double(data[10] % 3),    double(data[11]) - 128, double(data[12]) - 128,
        double(data[13]) / 40.0, double(data[14] % 33),  double(data[15] % 129),
        double(data[16] % 33),   double(data[17] % 129)};
    const bool onDisplay = options[StudioAreaWidth] >= 1 && options[StudioAreaHeight] >= 1 &&
                           options[StudioAreaLeft] + options[StudioAreaWidth] <= 32 &&
                           options[StudioAreaTop] + options[StudioAreaHeight] <= 128;
    const bool valid = options[StudioFit] < 4 && options[StudioRotation] < 5 &&
                       options[StudioDither] < 5 && options[StudioThreshold] >= -1 &&
                       options[StudioThreshold] <= 255 && options[StudioBackground] < 2 &&
                       options[StudioLevels] < 2 && options[StudioBrightness] >= -100 &&
                       options[StudioBrightness] <= 100 && options[StudioContrast] >= -100 &&
                       options[StudioContrast] <= 100 && options[StudioGamma] >= 0.2 &&
                       options[StudioGamma] <= 5 && onDisplay;
    std::vector<std::uint8_t> rgba(std::size_t(width) * std::size_t(height) * 4);
    for (std::size_t i = 0; i < rgba.size(); ++i)
        rgba[i] = data[18 + i % (size - 18)];
    std::vector<double> levels(StudioLevelsLength);
    const int status = studio_picture_levels(rgba.data(), width, height, fullWidth, fullHeight,
                                             options, levels.data());
    if ((status == 0) != valid)
        fail("options taken or refused wrongly");
    if (status != 0)
        return;
    for (int i = 0; i < Cells; ++i) {
        if (!(levels[size_t(i)] >= 0 && levels[size_t(i)] <= 255))
            fail("a grey level is out of range");
    }
    std::uint8_t screen[Cells];
    std::int32_t chosen[StudioChoiceCount];
    if (studio_convert_levels(levels.data(), options, screen, chosen) != 0)
        fail("valid options refused");
    if (chosen[StudioChosenDither] < 0 || chosen[StudioChosenDither] > 3 ||
        chosen[StudioChosenThreshold] < 0 || chosen[StudioChosenThreshold] > 255)
        fail("a chosen method or threshold is out of range");
    std::vector<std::uint8_t> screens(std::size_t(Cells) * StudioMaxCandidates);
    std::vector<std::int32_t> choices(std::size_t(StudioChoiceCount) * StudioMaxCandidates);
    const int count = studio_compare(levels.data(), options, screens.data(), choices.data());
    if (count < 1 || std::memcmp(screens.data(), screen, Cells) != 0)
        fail("the first candidate is not the conversion as given");
}

void text(const std::uint8_t *data, std::size_t size)
{
    if (size < 8)
        return;
    static const char *const fonts[] = {"auto", "fixed-4x6", "spleen-8x16", "no-such-font"};
    const double area[4] = {double(data[0] % 33), double(data[1] % 129), double(data[2] % 33),
                            double(data[3] % 129)};
    std::uint8_t base[Cells];
    for (int i = 0; i < Cells; ++i)
        base[i] = (data[4] >> (i % 8)) & 1;
    const std::string lines(reinterpret_cast<const char *>(data) + 8, size - 8);
    std::uint8_t screen[Cells];
    const int status = studio_set_text(lines.c_str(), fonts[data[5] % 4], data[6] % 5, data[7] % 4,
                                       area, data[4] % 2, base, screen);
    if (status != 0) {
        if (*studio_message() == '\0')
            fail("text refused without a reason");
        return;
    }
    for (int i = 0; i < Cells; ++i) {
        const int column = i % 32;
        const int row = i / 32;
        const bool inside = column >= area[0] && column < area[0] + area[2] && row >= area[1] &&
                            row < area[1] + area[3];
        if (!inside && screen[i] != base[i])
            fail("text changed a cell outside its area");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] % 3 == 0)
        screenFile(data + 1, size - 1);
    else if (data[0] % 3 == 1)
        picture(data + 1, size - 1);
    else
        text(data + 1, size - 1);
    return 0;
}
