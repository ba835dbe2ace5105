#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "media/Graphics.h"
#include "media/TPicture.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

class ArtSvg : public ToolTest {
protected:
    ArtSvg() : ToolTest("totem-art") {}
};

TEST_F(ArtSvg, RasterisesAnSvgSourceAtTheAskedSize) {
    Spit(dir_ / "disc.svg",
         "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10' viewBox='0 0 10 10'>"
         "<rect width='10' height='10' fill='#3df526'/></svg>");
    ToolRun run = Tool("--svg " + Q(dir_ / "disc.svg") + " 40 30 " + Q(dir_ / "out/disc.png"));
    ASSERT_EQ(run.status, 0) << run.err;
    PicturePtr picture = LoadPicture((dir_ / "out/disc.png").string());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 40);
    EXPECT_EQ(picture->Height(), 30);
    // Square source in a wider box: the drawing keeps its aspect, centred,
    // so the middle is green and the far left edge stays clear.
    const uint32_t middle = picture->ReadPixel(20, 15);
    EXPECT_EQ(middle >> 24, 0xFFu);
    EXPECT_EQ((middle >> 8) & 0xFF, 245u);
    EXPECT_EQ(picture->ReadPixel(0, 15) >> 24, 0u);
}

TEST_F(ArtSvg, ASourceThatDoesNotDecodeFailsNamingItAndWritesNothing) {
    Spit(dir_ / "broken.svg", "<svg xmlns='http://www.w3.org/2000/svg'><rect width='10'");
    struct Case {
        const char* what;
        fs::path source;
    } cases[] = {{"malformed", dir_ / "broken.svg"}, {"missing", dir_ / "absent.svg"}};
    for (const Case& c : cases) {
        ToolRun run = Tool("--svg " + Q(c.source) + " 16 16 " + Q(dir_ / "out.png"));
        EXPECT_EQ(run.status, 1) << c.what;
        EXPECT_NE(run.err.find(c.source.filename().string()), std::string::npos) << c.what << ": " << run.err;
        EXPECT_FALSE(fs::exists(dir_ / "out.png")) << c.what;
        EXPECT_FALSE(fs::exists(dir_ / "out.png.partial")) << c.what;
    }
}

}  // namespace
