#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "content/PakWriter.h"
#include "media/Graphics.h"

namespace {

namespace fs = std::filesystem;

int Status(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

PicturePtr Solid(int w, int h, uint32_t argb) {
    auto pic = std::make_shared<TPicture>(w, h, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pic->WritePixel(x, y, argb);
    return pic;
}

// Counts the separate panels of a sheet: 4-connected areas of pixels that
// differ from the sheet's background colour (its top-left pixel).
int CountPanels(const TPicture& sheet) {
    const int w = sheet.Width(), h = sheet.Height();
    const uint32_t background = sheet.ReadPixel(0, 0);
    std::vector<char> seen(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    int panels = 0;
    std::vector<std::pair<int, int>> stack;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t at = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            if (seen[at] || sheet.ReadPixel(x, y) == background) continue;
            ++panels;
            stack.push_back({x, y});
            seen[at] = 1;
            while (!stack.empty()) {
                auto [cx, cy] = stack.back();
                stack.pop_back();
                const int next[4][2] = {{cx + 1, cy}, {cx - 1, cy}, {cx, cy + 1}, {cx, cy - 1}};
                for (const auto& n : next) {
                    if (n[0] < 0 || n[1] < 0 || n[0] >= w || n[1] >= h) continue;
                    const size_t k = static_cast<size_t>(n[1]) * static_cast<size_t>(w) + static_cast<size_t>(n[0]);
                    if (seen[k] || sheet.ReadPixel(n[0], n[1]) == background) continue;
                    seen[k] = 1;
                    stack.push_back({n[0], n[1]});
                }
            }
        }
    return panels;
}

class ContactSheet : public ::testing::Test {
protected:
    void SetUp() override {
        game = fs::temp_directory_path() / "totem_contact_sheet";
        fs::remove_all(game);
        fs::create_directories(game / "media" / "gfx");
        // A strip of four frames in four clear colours, and two pictures: one
        // loose, one only in the data pack.
        auto strip = std::make_shared<TPicture>(4 * 24, 24, true);
        for (int i = 0; i < 4; ++i)
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 24; ++x) strip->WritePixel(i * 24 + x, y, kFrameColours[i]);
        ASSERT_TRUE(SavePicturePNG(*strip, (game / "media/gfx/strip.png").string()));
        ASSERT_TRUE(SavePicturePNG(*Solid(300, 120, 0xFF8000FFu), (game / "media/gfx/wide.png").string()));
        std::vector<PakWriterEntry> entries = {{"media/gfx/packed.png", EncodePicturePNG(*Solid(40, 60, 0xFF00FFFFu))},
                                               {"media/gfx/other.png", EncodePicturePNG(*Solid(8, 8, 0xFF123456u))}};
        StreamPtr pak = OpenWrite((game / "media/data.pak").string());
        ASSERT_TRUE(pak);
        std::string problem;
        ASSERT_TRUE(WritePak(*pak, entries, &problem)) << problem;
        pak->Close();
        std::ofstream(game / "res.xml") << R"(<?xml version="1.0"?>
<root>
<resources id="Fixture">
  <image id="IMAGE_WIDE" path="media/gfx/wide.png"/>
  <image id="IMAGE_PACKED" path="media/gfx/packed.png" midhandle="1"/>
  <animimage id="IMAGE_STRIP" path="media/gfx/strip.png" width="24" height="24" frames="4"/>
  <sound id="SOUND_NOT_A_PICTURE" path="media/sound/none.ogg"/>
</resources>
<resources id="Other">
  <image id="IMAGE_OTHER" path="media/gfx/other.png"/>
</resources>
</root>
)";
    }

    int Sheet(const std::string& scope, const fs::path& out) const {
        return Status(std::string(TOTEM_BINARY_DIR) + "/bin/totem-contact-sheet " + game.string() + " " + scope + " " +
                      out.string() + " > /dev/null 2>&1");
    }

    static constexpr uint32_t kFrameColours[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u};
    fs::path game;
};

TEST_F(ContactSheet, OneCellPerPictureOfTheScopeWithEveryFrame) {
    const fs::path out = game / "sheet.png";
    ASSERT_EQ(Sheet("fixture", out), 0);
    PicturePtr sheet = LoadPicture(out.string());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(CountPanels(*sheet), 3);

    std::set<uint32_t> colours;
    for (int y = 0; y < sheet->Height(); ++y)
        for (int x = 0; x < sheet->Width(); ++x) colours.insert(sheet->ReadPixel(x, y) | 0xFF000000u);
    for (uint32_t c : kFrameColours) EXPECT_TRUE(colours.count(c)) << std::hex << c << " frame missing";
    EXPECT_TRUE(colours.count(0xFF00FFFFu)) << "the packed picture is missing";
    EXPECT_TRUE(colours.count(0xFF8000FFu)) << "the loose picture is missing";
    EXPECT_FALSE(colours.count(0xFF123456u)) << "a picture of another scope was drawn";
}

TEST_F(ContactSheet, UnknownScopeOrMissingDescriptionsFail) {
    const fs::path out = game / "bad.png";
    EXPECT_EQ(Sheet("no_such_scope", out), 1);
    EXPECT_FALSE(fs::exists(out));
    fs::remove(game / "res.xml");
    EXPECT_EQ(Sheet("fixture", out), 1);
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(ContactSheet, MissingPictureGetsItsCellAndFailsTheRun) {
    std::ofstream(game / "res.xml") << R"(<root><resources id="Fixture">
  <image id="IMAGE_WIDE" path="media/gfx/wide.png"/>
  <image id="IMAGE_GONE" path="media/gfx/gone.png"/>
</resources></root>)";
    const fs::path out = game / "partial.png";
    EXPECT_EQ(Sheet("fixture", out), 1);
    PicturePtr sheet = LoadPicture(out.string());
    ASSERT_TRUE(sheet) << "the sheet is still written for the pictures that loaded";
    EXPECT_EQ(CountPanels(*sheet), 2);
}

}  // namespace
