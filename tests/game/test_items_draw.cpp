#include <gtest/gtest.h>

#include "../media/GraphicsTestSupport.h"
#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "game/GameGlobals.h"
#include "game/HighwayGeometry.h"
#include "game/TFret.h"
#include "game/TNote.h"
#include "media/Clock.h"

namespace {

using gfxtest::Argb;
using gfxtest::SameColour;

class ItemsDrawTest : public gfxtest::DisplayTest {
protected:
    void SetUp() override {
        gfxtest::DisplayTest::SetUp();
        if (IsSkipped()) return;
        UseDrivenClock(1000);
        GameClock = 1000;
        LevelSpeed = 1;
        for (int i = 0; i < 5; ++i) LineColors[i] = TColor::Create(40 * i, 200, 250 - 40 * i);
        IMAGE_ITEM_FRET = gfxtest::SolidImage(40, 40, Argb(255, 255, 255, 255));
        CentreImageHandle(IMAGE_ITEM_FRET);
    }
    void TearDown() override {
        IMAGE_ITEM_FRET = nullptr;
        UseRealClock();
        gfxtest::DisplayTest::TearDown();
    }
    uint32_t PixelAt(float x, float y) {
        PicturePtr frame = GrabFrame();
        return frame->ReadPixel(static_cast<int>(x), static_cast<int>(y));
    }
    template <typename T>
    void DrawAt(T& item, float t, bool caught = false) {
        Cls();
        item->time = t;
        item->UpdTime = GameClock;
        item->PickUpStarted = caught ? 1 : 0;
        item->Update(1);
        item->Draw();
    }
};

TEST_F(ItemsDrawTest, ItemsShowOnlyOnTheirStretchOfHighway) {
    const struct {
        float t;
        bool caught;
        uint32_t colour;
    } cases[] = {
        {10, false, Argb(255, 0, 0, 0)},        // not yet visible
        {50, false, Argb(255, 254, 254, 254)},  // faded in: white
        {81.4f, true, Argb(255, 254, 254, 254)},
        {82, true, Argb(255, 0, 0, 0)},         // caught and past the catch point
    };
    FretPtr fret = TFret::Create();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t);
        DrawAt(fret, c.t, c.caught);
        const HighwayPoint p = HighwayGeometry::ItemPosition(2, c.t);
        EXPECT_TRUE(SameColour(PixelAt(p.x, p.y), c.colour));
    }
    // Drawing leaves the state as it found it.
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 255 * 3);
    EXPECT_FLOAT_EQ(GetAlpha(), 1);
}

TEST_F(ItemsDrawTest, LongNoteTailInItsLineColour) {
    NotePtr note = TNote::Create(1, 1, 30, 1);  // no picture on its line
    DrawAt(note, 70);
    // Halfway along the tail, on the line: the line colour, lit over black.
    const HighwayPoint mid = HighwayGeometry::ItemPosition(1, 70 - 15);
    const uint32_t px = PixelAt(mid.x, mid.y);
    const int red = (px >> 16) & 0xFF, green = (px >> 8) & 0xFF;
    EXPECT_GT(green, 100);                 // 200 at 0.7
    EXPECT_LT(red, green / 2);             // line 1 is mostly green
    // Beside the tail nothing is drawn.
    const HighwayPoint beside = HighwayGeometry::SurfacePoint(HighwayGeometry::LineX(1) + 8, 55);
    EXPECT_TRUE(SameColour(PixelAt(beside.x, beside.y), Argb(255, 0, 0, 0)));
}

}  // namespace
