// Real pictures (icons, a logo, a photo) against the screens they give, from data/conversion:
// the explicit methods of old bit for bit, and the defaults as they were judged by eye.

#include "bootscreenreader.h"
#include "converting.h"
#include "displaypicture.h"
#include "pictureconversion.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string DataFolder = TARROW_CORE_TEST_DATA "/conversion/";

std::string fileBytes(const std::string &name)
{
    std::ifstream file(DataFolder + name, std::ios::binary);
    REQUIRE_MESSAGE(file.good(), "cannot read " << name);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct Rgba
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    RgbaView view() const { return {pixels.data(), width, height, width * 4}; }
};

// A PAM file (P7) of 8-bit RGB or RGB_ALPHA, as ImageMagick writes it.
Rgba readPam(const std::string &name)
{
    const std::string bytes = fileBytes(name);
    const size_t end = bytes.find("ENDHDR\n");
    REQUIRE(end != std::string::npos);
    std::istringstream header(bytes.substr(0, end));
    std::map<std::string, std::string> fields;
    std::string key;
    while (header >> key) {
        std::string value;
        if (key != "P7" && header >> value)
            fields[key] = value;
    }
    Rgba picture;
    picture.width = std::stoi(fields["WIDTH"]);
    picture.height = std::stoi(fields["HEIGHT"]);
    const int depth = std::stoi(fields["DEPTH"]);
    REQUIRE((depth == 3 || depth == 4));
    const std::size_t count = std::size_t(picture.width * picture.height);
    REQUIRE(bytes.size() - end - 7 == count * std::size_t(depth));
    for (std::size_t i = 0; i < count; ++i) {
        const char *pixel = &bytes[end + 7 + i * std::size_t(depth)];
        for (int channel = 0; channel < 3; ++channel)
            picture.pixels.push_back(std::uint8_t(pixel[channel]));
        picture.pixels.push_back(depth == 4 ? std::uint8_t(pixel[3]) : 255);
    }
    return picture;
}

// The options as tbs convert spells them; only those the cases use.
pictureconversion::Options optionsOf(std::istringstream &words)
{
    const std::map<std::string, dithering::Method> methods{
        {"floyd-steinberg", dithering::Method::FloydSteinberg},
        {"atkinson", dithering::Method::Atkinson},
        {"bayer", dithering::Method::Bayer},
        {"none", dithering::Method::None},
        {"regions", dithering::Method::Regions},
        {"structure", dithering::Method::Structure}};
    pictureconversion::Options options;
    std::string name;
    std::string value;
    while (words >> name >> value) {
        if (name == "--levels")
            options.tone.stretchLevels = value == "auto";
        else if (name == "--dither")
            options.dither = methods.at(value);
        else if (name == "--threshold")
            options.threshold = std::stoi(value);
        else if (name == "--brightness")
            options.tone.brightness = std::stoi(value);
        else if (name == "--contrast")
            options.tone.contrast = std::stoi(value);
        else if (name == "--gamma")
            options.tone.gamma = std::stod(value);
        else if (name == "--fit" && value == "cover")
            options.fit = picturefit::Fit::Cover;
        else if (name == "--rotate" && value == "auto")
            options.rotation = picturefit::Rotation::Auto;
        else if (name == "--background" && value == "white")
            options.background = pictureconversion::Background::White;
        else
            FAIL("an option the cases do not use: " << name << " " << value);
    }
    return options;
}

} // namespace

TEST_CASE("real pictures give the screens on file")
{
    std::istringstream cases(fileBytes("cases.txt"));
    std::string line;
    int checked = 0;
    while (std::getline(cases, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        INFO(line);
        std::istringstream words(line);
        std::string input;
        std::string expected;
        words >> input >> expected;
        const Rgba picture = readPam(input);
        const pictureconversion::Options options = optionsOf(words);
        bootscreen::ScreenBuffer screen{};
        REQUIRE(bootscreen::readScreen(fileBytes(expected), screen).hasData());
        CHECK(converted(picture.view(), options).picture == bootscreen::unpackPicture(screen));
        ++checked;
    }
    CHECK(checked == 19);
}
