// Feeds arbitrary bytes to the browser studio's entry points, as the page hands them files and
// pictures: a .tbs read, checked and written back, its screen through a link and back, the bytes
// read as a link, a picture of any size converted with options
// in and just outside what tbs takes, the editor's bitmap read, text of any bytes set in any area,
// a drag's line between any two cells, and option text of any bytes. Anything that disagrees with
// itself aborts.

#include "studiobinding.h"

#include <algorithm>
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

// The screen through a link and back; the bytes themselves as a link (as a page's address may
// hold anything): refused with a reason, or taken only when they end in the very fragment that
// the screen they give links to, whatever comes before the #.
void link(const std::uint8_t *data, std::size_t size, const std::uint8_t *screen)
{
    const char *written = studio_screen_link(screen, "https://tarrow.example/studio/#old");
    if (!written)
        fail("a short base is refused");
    const std::string link = written;
    std::uint8_t back[Cells];
    if (link.rfind("https://tarrow.example/studio/#screen=", 0) != 0 || link.size() > 1000 ||
        studio_link_screen(link.c_str(), back) != 0 || std::memcmp(screen, back, Cells) != 0)
        fail("a screen does not come back from its link");
    // The page hands text ended by its first zero byte.
    const std::string text(reinterpret_cast<const char *>(data),
                           std::find(data, data + size, 0) - data);
    if (studio_link_screen(text.c_str(), back) != 0) {
        if (*studio_message() == '\0')
            fail("a link refused without a reason");
        return;
    }
    if (text.compare(text.find('#'), std::string::npos, studio_screen_link(back, "")) != 0)
        fail("a link taken that is not the one its screen gives");
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
    link(data, size, screen);
}

// One option of the fuzzed set: the values it may get, the first `valid` of them ones the
// option takes, the rest just outside what it takes.
struct FuzzedOption
{
    const char *name;
    std::vector<const char *> values;
    size_t valid;
};

// Option text from the bytes, and whether every option in it is one the command takes. A byte
// for each option: left out, or one of its values.
std::string optionText(const std::vector<FuzzedOption> &options, const std::uint8_t *data,
                       bool &valid)
{
    std::string text;
    valid = true;
    for (size_t i = 0; i < options.size(); ++i) {
        const FuzzedOption &option = options[i];
        const size_t pick = data[i] % (option.values.size() + 1);
        if (pick == option.values.size())
            continue;
        const char *value = option.values[pick];
        text += std::string(option.name) + (*value ? " " : "") + value + "\n";
        valid = valid && pick < option.valid;
    }
    return text;
}

const std::vector<FuzzedOption> &conversionOptions()
{
    static const std::vector<FuzzedOption> options = {
        {"fit", {"contain", "cover", "stretch", "none", "zoom", ""}, 4},
        {"rotate", {"0", "90", "180", "270", "auto", "45"}, 5},
        {"dither", {"auto", "floyd-steinberg", "atkinson", "bayer", "none", "floyd"}, 5},
        {"threshold", {"auto", "0", "140", "255", " 7 ", "256", "-1", "12.5", "automatic"}, 5},
        {"levels", {"auto", "none", "1"}, 2},
        {"brightness", {"-100", "0", "100", "+20", "101", "-101", "1e2"}, 4},
        {"contrast", {"-100", "35", "100", "-101", "x"}, 3},
        {"gamma", {"0.2", "1", "5", "2.2e0", "0.19", "5.01", "nan", "inf", ""}, 4},
        {"invert", {"", "yes"}, 1},
        {"background", {"black", "white", "grey"}, 2},
        {"area", {"0,0,32,128", "1,2,3,4", "31,127,1,1", "0,0,33,128", "0,0,0,5", "1,2,3", ""}, 3},
        {"zoom", {"2"}, 0},
        {"output", {"x.tbs"}, 0},
    };
    return options;
}

void picture(const std::uint8_t *data, std::size_t size)
{
    const std::vector<FuzzedOption> &fuzzed = conversionOptions();
    const size_t pixels = 4 + fuzzed.size();
    if (size <= pixels)
        return;
    const int width = 1 + data[0] % 64;
    const int height = 1 + data[1] % 64;
    const int fullWidth = data[2] % 2 ? width * (1 + data[3] % 8) : 0;
    const int fullHeight = fullWidth ? height * (1 + data[3] % 8) : 0;
    bool valid = false;
    const std::string options = optionText(fuzzed, data + 4, valid);
    if ((studio_option_problem("convert", options.c_str()) == 0) != valid)
        fail("options judged wrongly");
    if (!valid && *studio_message() == '\0')
        fail("options refused without a reason");
    std::vector<std::uint8_t> rgba(std::size_t(width) * std::size_t(height) * 4);
    for (std::size_t i = 0; i < rgba.size(); ++i)
        rgba[i] = data[pixels + i % (size - pixels)];
    std::vector<double> levels(StudioLevelsLength);
    const int status = studio_picture_levels(rgba.data(), width, height, fullWidth, fullHeight,
                                             options.c_str(), levels.data());
    if ((status == 0) != valid)
        fail("options taken or refused wrongly");
    if (status != 0)
        return;
    for (int i = 0; i < Cells; ++i) {
        if (!(levels[size_t(i)] >= 0 && levels[size_t(i)] <= 255))
            fail("a grey level is out of range");
    }
    std::uint8_t screen[Cells];
    std::int32_t blank = 0;
    if (studio_convert_levels(levels.data(), options.c_str(), screen, &blank) != 0)
        fail("valid options refused");
    // The options chosen, given after the others, give the same screen again.
    const std::string chosen = studio_chosen();
    std::uint8_t again[Cells];
    std::int32_t blankAgain = 0;
    if (studio_convert_levels(levels.data(), (options + chosen).c_str(), again, &blankAgain) != 0 ||
        std::memcmp(screen, again, Cells) != 0 || blank != blankAgain ||
        std::string(studio_chosen()) != chosen)
        fail("the options chosen do not give the screen again");
    std::vector<std::uint8_t> screens(std::size_t(Cells) * StudioMaxCandidates);
    std::vector<std::int32_t> blanks(StudioMaxCandidates);
    const int count = studio_compare(levels.data(), options.c_str(), screens.data(), blanks.data());
    if (count < 1 || std::memcmp(screens.data(), screen, Cells) != 0 ||
        std::string(studio_chosen()).compare(0, chosen.size(), chosen) != 0)
        fail("the first candidate is not the conversion as given");
}

void text(const std::uint8_t *data, std::size_t size)
{
    if (size < 8)
        return;
    static const std::vector<FuzzedOption> fuzzed = {
        {"font", {"auto", "fixed-4x6", "spleen-8x16", "no-such-font"}, 3},
        {"rotate", {"auto", "0", "90", "270", "180"}, 4},
        {"align", {"left", "center", "right", "justify"}, 3},
        {"invert", {""}, 1},
    };
    const int area[4] = {data[0] % 33, data[1] % 129, data[2] % 33, data[3] % 129};
    const bool onDisplay =
        area[2] >= 1 && area[3] >= 1 && area[0] + area[2] <= 32 && area[1] + area[3] <= 128;
    bool valid = false;
    const std::string options = optionText(fuzzed, data + 4, valid) + "area " +
                                std::to_string(area[0]) + "," + std::to_string(area[1]) + "," +
                                std::to_string(area[2]) + "," + std::to_string(area[3]);
    valid = valid && onDisplay;
    if ((studio_option_problem("text", options.c_str()) == 0) != valid)
        fail("text options judged wrongly");
    std::uint8_t base[Cells];
    for (int i = 0; i < Cells; ++i)
        base[i] = (data[4] >> (i % 8)) & 1;
    const std::string lines(reinterpret_cast<const char *>(data) + 8, size - 8);
    std::uint8_t screen[Cells];
    const int status = studio_set_text(lines.c_str(), options.c_str(), base, screen);
    if (status != 0) {
        if (*studio_message() == '\0')
            fail("text refused without a reason");
        return;
    }
    if (!valid)
        fail("text set with options that are not taken");
    for (int i = 0; i < Cells; ++i) {
        const int column = i % 32;
        const int row = i / 32;
        const bool inside = column >= area[0] && column < area[0] + area[2] && row >= area[1] &&
                            row < area[1] + area[3];
        if (!inside && screen[i] != base[i])
            fail("text changed a cell outside its area");
    }
}

// A drag's line between any two cells near the display: only cells of the display, each next to
// the one before (a straight line cannot leave the display and come back), its ends where they
// lie on the display.
void line(const std::uint8_t *data, std::size_t size)
{
    if (size < 8)
        return;
    const auto coordinate = [&](int i, int extent) {
        // Mostly near the display, now and then far off.
        const int value = data[i] | data[i + 1] << 8;
        return value >= 49152 ? (value - 57344) * 16 : value % (extent + 40) - 20;
    };
    const int from[2] = {coordinate(0, 32), coordinate(2, 128)};
    const int to[2] = {coordinate(4, 32), coordinate(6, 128)};
    std::int32_t cells[128 + 1];
    cells[128] = -7;
    const int count = studio_cells_on_line(from[0], from[1], to[0], to[1], cells);
    if (count < 0 || count > 128 || cells[128] != -7)
        fail("a line of more cells than the display is long");
    const auto on = [](const int *cell) {
        return cell[0] >= 0 && cell[0] < 32 && cell[1] >= 0 && cell[1] < 128;
    };
    for (int i = 0; i < count; ++i) {
        if (cells[i] < 0 || cells[i] >= Cells)
            fail("a cell of the line is off the display");
        if (i > 0 && (std::abs(cells[i] % 32 - cells[i - 1] % 32) > 1 ||
                      std::abs(cells[i] / 32 - cells[i - 1] / 32) > 1 || cells[i] == cells[i - 1]))
            fail("two cells of the line are not neighbours");
    }
    // Further than 65536 cells from the display there is no line at all.
    const auto far = [](int value, int extent) {
        return value < -65536 || value >= extent + 65536;
    };
    if (far(from[0], 32) || far(to[0], 32) || far(from[1], 128) || far(to[1], 128)) {
        if (count != 0)
            fail("a line from far beyond the display");
        return;
    }
    if ((on(from) && (count == 0 || cells[0] != from[1] * 32 + from[0])) ||
        (on(to) && (count == 0 || cells[count - 1] != to[1] * 32 + to[0])))
        fail("the line does not run from its start to its end");
}

// Option text of any bytes: judged the same by every entry point that reads it.
void anyOptions(const std::uint8_t *data, std::size_t size)
{
    const std::string options(reinterpret_cast<const char *>(data), size);
    const int refused = studio_option_problem("convert", options.c_str());
    if (refused && *studio_message() == '\0')
        fail("options refused without a reason");
    const std::uint8_t grey[4] = {128, 128, 128, 255};
    std::vector<double> levels(StudioLevelsLength);
    if (studio_picture_levels(grey, 1, 1, 0, 0, options.c_str(), levels.data()) != refused)
        fail("the levels judge options otherwise");
    if (studio_option_problem("text", options.c_str()) == 0)
        return;
    const std::string problem = studio_message();
    std::uint8_t base[Cells] = {};
    std::uint8_t screen[Cells];
    if (studio_set_text("A", options.c_str(), base, screen) == 0 || problem != studio_message())
        fail("text options refused by the check are not refused alike when setting");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] % 5 == 0)
        screenFile(data + 1, size - 1);
    else if (data[0] % 5 == 1)
        picture(data + 1, size - 1);
    else if (data[0] % 5 == 2)
        text(data + 1, size - 1);
    else if (data[0] % 5 == 3)
        line(data + 1, size - 1);
    else
        anyOptions(data + 1, size - 1);
    return 0;
}
