#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "media/Graphics.h"

namespace {

int Brightness(uint32_t argb) { return int((argb >> 16) & 0xFF) + int((argb >> 8) & 0xFF) + int(argb & 0xFF); }

// The contact sheet runs every shipped effect in its own cell: each of the
// sixteen cells must show particles well above its backdrop.
TEST(FxSheet, EveryShippedEffectShowsInItsCell) {
    const auto tmp = std::filesystem::temp_directory_path();
    const auto art = tmp / ("totem_fx_sheet_art_" + std::to_string(getpid()));
    const auto out = tmp / ("totem_fx_sheet_" + std::to_string(getpid()) + ".png");
    const std::string bin = std::string(TOTEM_BINARY_DIR) + "/bin/";
    const std::string paint = bin + "totem-art " + art.string() + " media/gfx/particles/ > /dev/null";
    ASSERT_EQ(std::system(paint.c_str()), 0) << paint;
    const std::string sheet =
        bin + "totem-fx-sheet " + TOTEM_SOURCE_DIR + " " + art.string() + " " + out.string() + " 14 > /dev/null";
    ASSERT_EQ(std::system(sheet.c_str()), 0) << sheet;
    auto frame = LoadPicture(out.string());
    ASSERT_TRUE(frame);
    for (int cell = 0; cell < 16; ++cell) {
        const int x0 = 200 * (cell % 4), y0 = 150 * (cell / 4);
        // The backdrop is the cell's bottom-right corner, which no effect reaches.
        const int backdrop = Brightness(frame->ReadPixel(x0 + 195, y0 + 145));
        int lit = 0;
        for (int y = y0 + 15; y < y0 + 150; ++y)
            for (int x = x0; x < x0 + 200; ++x)
                if (Brightness(frame->ReadPixel(x, y)) > backdrop + 150) ++lit;
        EXPECT_GE(lit, 12) << "cell " << cell;
    }
    std::filesystem::remove_all(art);
    std::filesystem::remove(out);
}

}  // namespace
