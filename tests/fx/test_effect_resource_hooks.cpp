#include <gtest/gtest.h>

#include <filesystem>

#include "fx/EffectResourceHooks.h"
#include "content/TResManager.h"
#include "content/Xml.h"
#include "fx/TEffect.h"
#include "media/Graphics.h"
#include "media/TStream.h"

namespace fs = std::filesystem;

namespace {

void WriteText(const fs::path& path, const std::string& text) {
    auto s = OpenWrite(path.string());
    s->WriteString(text);
}

// Effect files name pictures and trails by id; once start-up has connected the
// pieces they resolve to what the resource manager loaded.
TEST(ResourceHooks, EffectsLoadThroughTheManagerAndResolveTheirIds) {
    const fs::path dir = fs::temp_directory_path() / "totem_hooks";
    fs::create_directories(dir);
    const auto previous = fs::current_path();
    fs::current_path(dir);

    TPicture dot(4, 4), strip(8, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            if (x < 4) dot.WritePixel(x, y, 0xFFFFFFFF);
            strip.WritePixel(x, y, 0xFF00FF00);
        }
    ASSERT_TRUE(SavePicturePNG(dot, "dot.png"));
    ASSERT_TRUE(SavePicturePNG(strip, "strip.png"));
    WriteText(dir / "trail.xml", "<effect><Image value=\"DOT\"/></effect>");
    WriteText(dir / "spark.xml", "<effect><Image value=\"STRIP\"/><Trail value=\"TRAIL\"/></effect>");

    ConnectResourceHooks();
    LoadResourceFile(XmlLoad(OpenMemory(std::vector<uint8_t>(
        [] {
            std::string xml = R"(<r><resources id="fx">
              <image id="DOT" path="dot.png"/>
              <animimage id="STRIP" path="strip.png" width="4" height="4" frames="2"/>
              <effect id="TRAIL" path="trail.xml"/>
              <effect id="SPARK" path="spark.xml"/>
            </resources></r>)";
            return std::vector<uint8_t>(xml.begin(), xml.end());
        }()))));
    ResManager->LoadScope("fx");

    auto spark = ResManager->GetEffect("SPARK");
    ASSERT_TRUE(spark);
    EffectImageRef dotRef = ResolveEffectImage("DOT");
    EXPECT_TRUE(dotRef.image);
    EXPECT_FALSE(dotRef.strip);
    EffectImageRef stripRef = ResolveEffectImage("STRIP");
    ASSERT_TRUE(stripRef.strip);
    EXPECT_EQ(stripRef.strip->FrameCount(), 2);
    EXPECT_EQ(ResolveEffect("TRAIL"), ResManager->GetEffect("TRAIL"));

    fs::current_path(previous);
    fs::remove_all(dir);
}

}  // namespace
