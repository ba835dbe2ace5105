#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "media/Graphics.h"

namespace {

// The loop tool drives real input through the window system and the widget
// manager; its captured frame shows the hovered button lit and the click counted.
TEST(LoopShot, CapturesAFrameWithTheHoveredButtonLit) {
    const auto out = std::filesystem::temp_directory_path() / "totem_loop_shot.png";
    std::filesystem::remove(out);
    const std::string command = std::string(TOTEM_BINARY_DIR) + "/bin/totem-loop-shot " + out.string() + " 40";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    auto frame = LoadPicture(out.string());
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->Width(), 800);
    EXPECT_EQ(frame->Height(), 600);
    auto rgb = [&](int x, int y) { return frame->ReadPixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(rgb(81, 235), 0xFABE3Cu);  // hovered "Story": highlight border
    EXPECT_EQ(rgb(81, 165), 0x6E5032u);  // "Play": plain border
    EXPECT_EQ(rgb(150, 165), 0x1E140Au); // button face
    std::filesystem::remove(out);
}

}  // namespace
