#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fx/TEffect.h"
#include "fx/TEmitter.h"
#include "media/Clock.h"
#include "media/GraphicsTestSupport.h"

namespace {

using gfxtest::Argb;
using gfxtest::SameColour;

class FxDrawTest : public gfxtest::DisplayTest {
protected:
    void SetUp() override {
        gfxtest::DisplayTest::SetUp();
        if (IsSkipped()) return;
        UseDrivenClock(1000);
        SeedRandom(3);
        white = gfxtest::SolidImage(8, 8, Argb(255, 255, 255, 255));
        SetEffectImageResolver([this](const std::string& id) -> EffectImageRef {
            if (id == "white") return {white, nullptr};
            return {};
        });
    }
    void TearDown() override {
        SetEffectImageResolver(nullptr);
        UseRealClock();
        gfxtest::DisplayTest::TearDown();
    }
    EffectPtr Fx(const std::string& body) {
        std::string s = "<fx><GenSpeed value=\"10\"/><LifeTime min=\"100000\" max=\"100000\"/>"
                        "<Image value=\"white\" blend=\"3\"/>" + body + "</fx>";
        return TEffect::Load(OpenMemory(std::vector<uint8_t>(s.begin(), s.end()), "draw.xml"));
    }
    uint32_t PixelAt(int x, int y) {
        PicturePtr frame = GrabFrame();
        return frame ? frame->ReadPixel(x, y) : 0;
    }
    ImagePtr white;
};

TEST_F(FxDrawTest, ParticleDrawsInItsColourWithShadowAndRestoresState) {
    auto e = TEmitter::Create(100, 100, Fx(R"(<Red start="255" End="255"/><Alpha start="1" end="1"/>
                                             <Shadow enabled="1" min="20" max="20"/>)"));
    AdvanceClock(1);
    e->Update(1);
    AdvanceClock(101);
    e->Update(1);
    ASSERT_EQ(e->ParticleCount(), 1u);
    SetColor(1, 2, 3);
    SetBlend(SOLIDBLEND);
    e->Draw();
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 6);
    EXPECT_EQ(GetBlend(), SOLIDBLEND);
    EXPECT_TRUE(SameColour(PixelAt(103, 103), Argb(255, 255, 0, 0)));
    // Shadow: grey 60 at alpha 0.2 over black, offset by 20 px on both axes.
    EXPECT_TRUE(SameColour(PixelAt(125, 125), Argb(255, 12, 12, 12), 3));
    EXPECT_TRUE(SameColour(PixelAt(60, 60), Argb(255, 0, 0, 0)));
}

TEST_F(FxDrawTest, ParticleWithoutImageDrawsNothing) {
    auto fx = Fx(R"(<Red start="255" End="255"/><Alpha start="1" end="1"/>)");
    fx->Image = nullptr;
    auto e = TEmitter::Create(100, 100, fx);
    AdvanceClock(1);
    e->Update(1);
    AdvanceClock(101);
    e->Update(1);
    ASSERT_EQ(e->ParticleCount(), 1u);
    e->Draw();
    EXPECT_TRUE(SameColour(PixelAt(103, 103), Argb(255, 0, 0, 0)));
}

}  // namespace
