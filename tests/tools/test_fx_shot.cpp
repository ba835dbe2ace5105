#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "media/Graphics.h"

namespace {

struct Box {
    const char* what;
    int x0, y0, x1, y1;  // inclusive-exclusive
};

int Brightness(uint32_t argb) { return int((argb >> 16) & 0xFF) + int((argb >> 8) & 0xFF) + int(argb & 0xFF); }

// The effects tool runs four emitters for 60 frames; each one's particles must
// have reached the screen where that effect plays, well above the backdrop.
TEST(FxShot, EveryEffectLightsUpItsPartOfTheFrame) {
    const auto out = std::filesystem::temp_directory_path() / "totem_fx_shot.png";
    std::filesystem::remove(out);
    const std::string command = std::string(TOTEM_BINARY_DIR) + "/bin/totem-fx-shot " + out.string();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    auto frame = LoadPicture(out.string());
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->Width(), 800);
    ASSERT_EQ(frame->Height(), 600);

    // The backdrop alone: the brightest of a few corners no effect reaches.
    int backdrop = 0;
    for (Box b : {Box{"top right", 700, 10, 790, 90}, Box{"bottom left", 10, 540, 90, 590},
                  Box{"top left", 10, 10, 90, 90}})
        for (int y = b.y0; y < b.y1; ++y)
            for (int x = b.x0; x < b.x1; ++x) backdrop = std::max(backdrop, Brightness(frame->ReadPixel(x, y)));
    EXPECT_LT(backdrop, 3 * 90) << "the backdrop should stay dark";

    const Box effects[] = {
        {"fountain above its source", 120, 300, 200, 470},
        {"right arc of the ring burst", 520, 120, 590, 280},
        {"top arc of the ring burst", 330, 10, 470, 70},
        {"rising glow", 590, 360, 690, 490},
        {"comet head", 330, 270, 400, 320},
    };
    for (const Box& b : effects) {
        int lit = 0;
        for (int y = b.y0; y < b.y1; ++y)
            for (int x = b.x0; x < b.x1; ++x)
                if (Brightness(frame->ReadPixel(x, y)) > backdrop + 150) ++lit;
        EXPECT_GE(lit, 40) << b.what;
    }
    // Additive sparks and glows: somewhere the colours saturate to near white.
    int brightest = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) brightest = std::max(brightest, Brightness(frame->ReadPixel(x, y)));
    EXPECT_GT(brightest, 3 * 230);
    std::filesystem::remove(out);
}

}  // namespace
