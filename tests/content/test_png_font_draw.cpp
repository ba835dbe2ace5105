#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "content/TPNGFont.h"
#include "media/Graphics.h"
#include "media/GraphicsTestSupport.h"

namespace {

using gfxtest::Argb;
using gfxtest::Hex;
using gfxtest::SameColour;

class PngFontDrawing : public gfxtest::DisplayTest {
protected:
    // 'A' is a red 8×8 square, 'B' a green one, side by side in the atlas.
    static PNGFontPtr RedGreenFont() {
        auto atlas = std::make_shared<TPicture>(16, 8, true);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x) atlas->WritePixel(x, y, x < 8 ? Argb(255, 255, 0, 0) : Argb(255, 0, 255, 0));
        StreamPtr table = OpenMemoryWrite("rg.fnt");
        for (int v : std::initializer_list<int>{0, 0, 2, 0, 'A', 0, 0, 8, 8, 'B', 8, 0, 8, 8}) table->WriteInt(v);
        auto font = std::make_shared<TPNGFont>();
        StreamPtr in = OpenMemory(MemoryBytes(*table), "rg");
        EXPECT_TRUE(font->LoadFrom(atlas, *in, "rg"));
        return font;
    }
};

TEST_F(PngFontDrawing, MissingGlyphLeavesNoGapAndScaleStretchesThePen) {
    SetFont(RedGreenFont());
    DrawText("A~B", 100, 100);
    SetScale(2, 2);
    DrawText("AB", 100, 200);
    SetScale(1, 1);
    PicturePtr frame = GrabFrame();
    ASSERT_TRUE(frame);
    struct Probe { int x, y; uint32_t colour; };
    const Probe probes[] = {
        {103, 104, Argb(255, 255, 0, 0)}, {111, 104, Argb(255, 0, 255, 0)}, {119, 104, Argb(255, 0, 0, 0)},
        {110, 208, Argb(255, 255, 0, 0)}, {124, 208, Argb(255, 0, 255, 0)}, {134, 208, Argb(255, 0, 0, 0)},
    };
    for (const Probe& p : probes)
        EXPECT_TRUE(SameColour(frame->ReadPixel(p.x, p.y), p.colour)) << p.x << "," << p.y << " is "
                                                                      << Hex(frame->ReadPixel(p.x, p.y));
}

}  // namespace
