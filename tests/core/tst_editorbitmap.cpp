// Which 160 x 640 pictures are the editor's bitmap (read cell for cell) and which are pictures
// to convert like any other.

#include "bootscreenreader.h"
#include "editorbitmap.h"
#include "editorbitmapfile.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string fileBytes(const std::string &name)
{
    std::ifstream file(TARROW_CORE_TEST_DATA "/" + name, std::ios::binary);
    REQUIRE_MESSAGE(file.good(), "cannot read " << name);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct Picture
{
    int width = editorbitmap::GridWidth;
    int height = editorbitmap::GridHeight;
    std::vector<std::uint8_t> rgba = std::vector<std::uint8_t>(size_t(width * height * 4), 0);

    Picture()
    {
        for (size_t i = 3; i < rgba.size(); i += 4)
            rgba[i] = 255; // opaque black
    }
    void set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a)
    {
        std::uint8_t *pixel = &rgba[size_t((y * width + x) * 4)];
        pixel[0] = r;
        pixel[1] = g;
        pixel[2] = b;
        pixel[3] = a;
    }
    RgbaView view() const { return {rgba.data(), width, height, width * 4}; }
};

} // namespace

TEST_CASE("a two-colour 160 x 640 picture is the editor's bitmap, any other is converted")
{
    // The pixel is a cell's interior top-left, so the table gives the cell test too: on where
    // blue, composited over black, is not zero.
    struct Row
    {
        const char *name;
        std::uint8_t r, g, b, a;
        bool isBitmap;
        bool lit;
    };
    const Row rows[] = {
        {"opaque white", 255, 255, 255, 255, true, true},
        {"white, fully transparent: black once composited", 255, 255, 255, 0, true, false},
        {"dark red, fully transparent", 128, 0, 0, 0, true, false},
        {"white, half transparent: grey", 255, 255, 255, 128, false, true},
        {"near white", 254, 255, 255, 255, false, true},
        {"near black", 0, 0, 1, 255, false, true},
        {"blue, nearly transparent", 0, 0, 255, 1, false, true},
        {"blue, transparent", 0, 0, 255, 0, true, false},
        {"yellow", 255, 255, 0, 255, false, false},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        Picture picture;
        picture.set(editorbitmap::interiorLeft(1), editorbitmap::interiorTop(60), row.r, row.g,
                    row.b, row.a);
        CHECK(editorbitmap::isEditorBitmap(picture.view()) == row.isBitmap);
        const bootscreen::DisplayPicture cells = editorbitmap::cellsOf(picture.view());
        CHECK(cells.isLit(1, 60) == row.lit);
        CHECK(cells.litCount() == (row.lit ? 1 : 0));
    }
    Picture wider;
    wider.width += 1;
    wider.rgba.assign(size_t(wider.width * wider.height * 4), 255);
    CHECK_FALSE(editorbitmap::isEditorBitmap(wider.view()));
}

TEST_CASE("a cell is lit by its interior's top-left pixel alone")
{
    Picture picture;
    picture.set(editorbitmap::interiorLeft(3), editorbitmap::interiorTop(9), 255, 255, 255, 255);
    picture.set(editorbitmap::interiorLeft(4) + 1, editorbitmap::interiorTop(9), 255, 255, 255,
                255); // elsewhere in the interior of cell (4, 9)
    picture.set(editorbitmap::CellSize * 5, editorbitmap::CellSize * 9, 255, 255, 255,
                255); // the border corner of cell (5, 9)
    const bootscreen::DisplayPicture cells = editorbitmap::cellsOf(picture.view());
    CHECK(cells.litCount() == 1);
    CHECK(cells.isLit(3, 9));
}

// The BMP files in data/editorbitmap are what tbs saved for these screens before it shared this
// writer with the studio; a changed byte would be a file that the editor or tbs no longer opens
// the same, or a file that differs from one saved earlier.
TEST_CASE("the editor's bitmap file of a screen, byte for byte")
{
    const char *const screens[][2] = {
        {"editorbitmap/all-lit.tbs", "editorbitmap/all-lit.bmp"},
        {"conversion/hello-default.tbs", "editorbitmap/hello-default.bmp"},
        {"conversion/smiley-default.tbs", "editorbitmap/smiley-default.bmp"},
        {"conversion/board-atkinson.tbs", "editorbitmap/board-atkinson.bmp"},
    };
    for (const auto &names : screens) {
        CAPTURE(names[0]);
        bootscreen::ScreenBuffer screen{};
        REQUIRE(bootscreen::readScreen(fileBytes(names[0]), screen).hasData());
        CHECK(editorbitmapfile::bitmapFile(bootscreen::unpackPicture(screen)) ==
              fileBytes(names[1]));
    }
}
