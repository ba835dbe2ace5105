// The particle pictures as the art generator paints them: one for every
// particle id the resource fragment declares, at a particle's size, neutral
// white or grey (the effects tint them), with a visible body and a fully
// transparent rim so no scaled particle shows a hard square edge.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "content/ContentSources.h"
#include "content/Xml.h"
#include "media/Graphics.h"
#include "media/TStream.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

TEST(ParticleArt, EveryDeclaredParticlePictureIsPaintedNeutralSoftEdgedAndVisible) {
    const fs::path out = fs::temp_directory_path() / ("totem_particle_art_" + std::to_string(getpid()));
    fs::remove_all(out);
    const std::string command =
        std::string(TOTEM_BINARY_DIR) + "/bin/totem-art " + out.string() + " media/gfx/particles/ > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const fs::path fragment = fs::path(TOTEM_SOURCE_DIR) / "assets" / "res" / "21-particles.xml";
    std::vector<std::string> problems;
    const std::string joined = JoinResourceFragments({{fragment.string(), Slurp(fragment)}}, problems);
    ASSERT_TRUE(problems.empty()) << problems.front();
    XmlNode root = XmlLoad(OpenMemory(std::vector<uint8_t>(joined.begin(), joined.end()), "res.xml"));
    ASSERT_TRUE(root);

    int pictures = 0;
    for (sdXMLnode* g = root->firstchild; g; g = g->NextNode)
        for (sdXMLnode* n = g->firstchild; n; n = n->NextNode) {
            if (!XmlNameEquals(n->Tag, "image")) continue;
            const std::string id = XmlAttrString(n, "id", ""), path = XmlAttrString(n, "path", "");
            SCOPED_TRACE(id + " " + path);
            ++pictures;
            EXPECT_EQ(XmlAttrInt(n, "midhandle", 0), 1) << "particles are drawn by their centre";
            auto pic = LoadPicture((out / path).string());
            ASSERT_TRUE(pic) << "not painted";
            const int w = pic->Width(), h = pic->Height();
            EXPECT_GE(std::min(w, h), 16);
            EXPECT_LE(std::max(w, h), 64);
            int visible = 0, rimAlpha = 0, tinted = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const uint32_t px = pic->ReadPixel(x, y);
                    const int a = int(px >> 24), r = int((px >> 16) & 0xFF), gr = int((px >> 8) & 0xFF),
                              b = int(px & 0xFF);
                    if (x == 0 || y == 0 || x == w - 1 || y == h - 1) rimAlpha = std::max(rimAlpha, a);
                    if (a < 40) continue;
                    ++visible;
                    if (std::max({r, gr, b}) - std::min({r, gr, b}) > 6 || std::min({r, gr, b}) < 120) ++tinted;
                }
            EXPECT_LE(rimAlpha, 8) << "hard edge at the picture's border";
            EXPECT_GE(visible, w * h / 40) << "hardly anything painted";
            EXPECT_EQ(tinted, 0) << "pixels that are coloured or dark would spoil the effects' tints";
        }
    EXPECT_EQ(pictures, 10);
    fs::remove_all(out);
}

}  // namespace
