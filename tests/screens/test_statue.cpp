// The statues' eyes: the pupils lean towards a mouse that comes near, rest
// when it is far, and vanish for a moment at each blink.
#include <gtest/gtest.h>

#include <cmath>

#include "content/ResourceCatalogue.h"
#include "gui/GuiTestSupport.h"
#include "media/Clock.h"
#include "screens/TStatue.h"

namespace {

using guitest::Solid;

class Statue : public guitest::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        UseDrivenClock(1000);
        IMAGE_MENU_EYE_LEFT = Solid(50, 20, 0, 0, 200);
        IMAGE_MENU_EYE_RIGHT = Solid(50, 20, 0, 0, 200);
        IMAGE_MENU_EYE_ZRACHOK = Solid(4, 4, 250, 250, 250);
    }
    void TearDown() override {
        IMAGE_MENU_EYE_LEFT = IMAGE_MENU_EYE_RIGHT = IMAGE_MENU_EYE_ZRACHOK = nullptr;
        UseRealClock();
        GuiTest::TearDown();
    }
};

TEST_F(Statue, PupilsLeanTowardsANearMouseOnly) {
    const auto statue = TStatue::Create("left");
    WidgetManager->AddWidget(statue);
    ASSERT_EQ(statue->Zrachok1->x, 139);
    ASSERT_EQ(statue->Zrachok2->x, 118);
    const struct {
        const char* where;
        int mx, my;
        bool tracks;
    } cases[] = {
        {"160 px to the right of the first pupil", 139 + 160, 392, false},
        {"100 px to the right", 139 + 100, 392, true},
        {"150 px above: still near", 139, 392 - 150, true},
        {"between the statues", 400, 300, false},
        {"down and left", 139 - 60, 392 + 80, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        MoveTo(c.mx, c.my);
        EXPECT_EQ(statue->MouseTrack, c.tracks ? 1 : 0);
        const struct {
            const TVector& rest;
            const TVector& offset;
        } pupils[] = {{*statue->Zrachok1, *statue->Zrachok1Diff}, {*statue->Zrachok2, *statue->Zrachok2Diff}};
        for (const auto& p : pupils) {
            if (!c.tracks) {
                EXPECT_EQ(p.offset.x, 0);
                EXPECT_EQ(p.offset.y, 0);
                continue;
            }
            // Towards the mouse, 3 pixels at most, by the distance over 200.
            const float dx = float(c.mx) - p.rest.x, dy = float(c.my) - p.rest.y;
            const float len = std::hypot(dx, dy);
            const float d = std::min(len / 200 * 3, 3.0f);
            EXPECT_NEAR(p.offset.x, dx / len * d, 1e-3);
            EXPECT_NEAR(p.offset.y, dy / len * d, 1e-3);
        }
    }
    EXPECT_NEAR(statue->Zrachok1Diff->x, -60 / 100.0 * 1.5, 1e-3) << "100 px away: half of the way";
}

TEST_F(Statue, PupilsVanishForAMomentAtEachBlink) {
    const auto statue = TStatue::Create("right");
    WidgetManager->AddWidget(statue);
    MoveTo(10, 10);
    const auto pupilShown = [&] {
        const PicturePtr shot = Shot();
        return (shot->ReadPixel(674 + 2, 390 + 2) & 0xFFFFFF) == 0xFAFAFA;
    };
    const int32_t first = statue->BlinkStart;
    EXPECT_GE(first, 1000 + 1000);
    EXPECT_LE(first, 1000 + 10000);
    EXPECT_TRUE(pupilShown());
    AdvanceClock(first - ClockMs() + 100);
    EXPECT_FALSE(pupilShown()) << "eyes closed";
    EXPECT_EQ(statue->BlinkStart, first);
    AdvanceClock(101);
    EXPECT_TRUE(pupilShown()) << "open again after 200 ms";
    EXPECT_GE(statue->BlinkStart, ClockMs() + 2500) << "the next blink";
    EXPECT_LE(statue->BlinkStart, ClockMs() + 10000);

    const auto nobody = TStatue::Create("middle");
    EXPECT_FALSE(nobody->EyeImage) << "an unknown side has no eyes";
}

}  // namespace
