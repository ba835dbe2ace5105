#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "content/DataPak.h"
#include "media/Graphics.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

fs::path GameDir() { return fs::path(TOTEM_BINARY_DIR) / "game"; }

class ContentShot : public ToolTest {
protected:
    ContentShot() : ToolTest("totem-content-shot") {}
    void SetUp() override {
        if (!fs::is_regular_file(GameDir() / "res.xml")) GTEST_SKIP() << "the game content is not built";
        ToolTest::SetUp();
    }

    // Runs the tool and loads the frame it wrote.
    PicturePtr Shoot(const std::string& what) {
        const fs::path out = dir_ / "shot.png";
        const ToolRun run = Tool(Q(GameDir()) + " " + what + " " + Q(out));
        EXPECT_EQ(run.status, 0) << run.out << run.err;
        return LoadPicture(out.string());
    }
};

int Brightness(uint32_t argb) { return int((argb >> 16) & 0xFF) + int((argb >> 8) & 0xFF) + int(argb & 0xFF); }

PicturePtr PackedPicture(const std::string& path) { return GameFolderPicture(GameDir(), path); }

class EveryFrame : public ContentShot, public testing::WithParamInterface<const char*> {};

// Every frame fills the screen with real art: many colours, light and dark,
// and no large part left at the clear colour.
TEST_P(EveryFrame, IsAFullScreenOfArt) {
    PicturePtr frame = Shoot(GetParam());
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->Width(), 800);
    ASSERT_EQ(frame->Height(), 600);
    std::set<uint32_t> colours;
    int black = 0, darkest = 765, brightest = 0;
    for (int y = 0; y < 600; y += 3)
        for (int x = 0; x < 800; x += 3) {
            const uint32_t p = frame->ReadPixel(x, y) & 0xFFFFFFu;
            colours.insert(p);
            black += p == 0;
            darkest = std::min(darkest, Brightness(p));
            brightest = std::max(brightest, Brightness(p));
        }
    EXPECT_GT(colours.size(), 500u);
    EXPECT_LT(black, 267 * 200 / 10) << "more than a tenth of the frame is left black";
    EXPECT_GT(brightest - darkest, 200);
}

INSTANTIATE_TEST_SUITE_P(Content, EveryFrame,
                         testing::Values("loading", "dialog", "highway sunrise", "highway lagoon", "highway volcano",
                                         "highway starlight"));

// The loading bar at 60 %: pixels along the bar look like the full bar up to
// about six tenths of its width and like the empty bar after that.
TEST_F(ContentShot, LoadingBarIsFilledToSixtyPercent) {
    PicturePtr full = PackedPicture("media/gfx/init/loading_full.png");
    PicturePtr empty = PackedPicture("media/gfx/init/loading_empty.png");
    ASSERT_TRUE(full);
    ASSERT_TRUE(empty);
    PicturePtr frame = Shoot("loading");
    ASSERT_TRUE(frame);
    const int barX = 400 - empty->Width() / 2, barY = 480;
    const int w = std::min(full->Width(), empty->Width()), h = std::min(full->Height(), empty->Height());

    auto distance = [](uint32_t a, uint32_t b) {
        int d = 0;
        for (int shift = 0; shift <= 16; shift += 8) d += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
        return d;
    };
    int fullLeft = 0, emptyLeft = 0, fullRight = 0, emptyRight = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t f = full->ReadPixel(x, y), e = empty->ReadPixel(x, y);
            // Only opaque pixels where the two bars clearly differ tell them apart.
            if ((f >> 24) < 250 || (e >> 24) < 250 || distance(f, e) < 90) continue;
            const uint32_t shot = frame->ReadPixel(barX + x, barY + y);
            const bool likeFull = distance(shot, f) < distance(shot, e);
            if (x < w * 55 / 100) (likeFull ? fullLeft : emptyLeft)++;
            if (x >= w * 65 / 100) (likeFull ? fullRight : emptyRight)++;
        }
    ASSERT_GT(fullLeft + emptyLeft, 50) << "the bars are too alike to tell apart";
    ASSERT_GT(fullRight + emptyRight, 20);
    EXPECT_GT(fullLeft, 9 * emptyLeft) << "left part should show the full bar";
    EXPECT_GT(emptyRight, 9 * fullRight) << "right part should show the empty bar";
}

TEST_F(ContentShot, RejectsUnknownSkinsAndFrames) {
    for (const char* what : {"highway nowhere", "credits", "highway"}) {
        const ToolRun run = Tool(Q(GameDir()) + " " + what + " " + Q(dir_ / "x.png"));
        EXPECT_NE(run.status, 0) << what;
        EXPECT_FALSE(fs::exists(dir_ / "x.png")) << what;
    }
}

}  // namespace
