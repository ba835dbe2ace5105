#include <gtest/gtest.h>

#include <vector>

#include "content/TAnimImage.h"
#include "core/GameClock.h"
#include "media/Graphics.h"

namespace {

class AnimImageTest : public ::testing::Test {
protected:
    void SetUp() override { GameClock = 0; }
    void TearDown() override { GameClock = 0; }
    static ImagePtr Strip(int frames) { return CreateImage(8, 8, frames); }
};

TEST_F(AnimImageTest, TakesFramesAndStartTimeFromTheStrip) {
    GameClock = 1234.9f;
    TAnimImage a(Strip(5), 80);
    EXPECT_EQ(a.Frames, 5);
    EXPECT_EQ(a.UpdTime, 1234);
    EXPECT_EQ(a.FrameWidth, 8);
    EXPECT_EQ(a.Frame, 0);
}

TEST_F(AnimImageTest, FrameChangesOnlyStrictlyAfterTheFrameTime) {
    struct Case { float step; int speed; int callsPerFrame; };
    const Case cases[] = {{17, 100, 6}, {16.7f, 100, 6}, {15, 100, 7}, {50, 100, 3}, {25, 100, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << c.step << " speed " << c.speed);
        GameClock = 0;
        TAnimImage a(Strip(100), c.speed);
        std::vector<int> changes;
        int last = a.Frame;
        for (int call = 1; call <= 6 * c.callsPerFrame; ++call) {
            GameClock = c.step * static_cast<float>(call);
            a.Draw(0, 0);
            ASSERT_LE(a.Frame - last, 1) << "more than one frame in one draw";
            if (a.Frame != last) changes.push_back(call);
            last = a.Frame;
        }
        ASSERT_EQ(changes.size(), 6u);
        for (size_t i = 0; i < changes.size(); ++i)
            EXPECT_EQ(changes[i], c.callsPerFrame * static_cast<int>(i + 1));
    }
}

TEST_F(AnimImageTest, LongGapAdvancesOneFrameAndWraps) {
    TAnimImage a(Strip(3), 10);
    const int expected[] = {1, 2, 0, 1};
    for (int e : expected) {
        GameClock += 100000;
        a.Draw(0, 0);
        EXPECT_EQ(a.Frame, e);
    }
}

TEST_F(AnimImageTest, OneShotStopsOnTheLastFrame) {
    TAnimImage a(Strip(4), 0);
    a.OneShoot = 1;
    std::vector<int> shown, complete, paused;
    for (int i = 0; i < 7; ++i) {
        GameClock += 1;
        a.Draw(0, 0);
        shown.push_back(a.Frame);
        complete.push_back(a.CheckComplete());
        paused.push_back(a.Paused);
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 3, 3, 3, 3}));
    EXPECT_EQ(complete, (std::vector<int>{0, 0, 1, 1, 1, 1, 1}));
    // Paused is set by the first draw that finds frame 3 already showing.
    EXPECT_EQ(paused, (std::vector<int>{0, 0, 0, 1, 1, 1, 1}));
}

TEST_F(AnimImageTest, NegativeSpeedAdvancesOnEveryDraw) {
    GameClock = 500;
    TAnimImage a(Strip(4), -1);
    for (int i = 1; i <= 6; ++i) {
        a.Draw(0, 0);  // the clock never moves
        EXPECT_EQ(a.Frame, i % 4);
    }
}

TEST_F(AnimImageTest, PausedHoldsTheFrame) {
    TAnimImage a(Strip(4), 10);
    a.Paused = 1;
    GameClock = 1000;
    a.Draw(0, 0);
    EXPECT_EQ(a.Frame, 0);
    EXPECT_EQ(a.UpdTime, 0);
    a.Paused = 0;
    a.Draw(0, 0);
    EXPECT_EQ(a.Frame, 1);
    EXPECT_EQ(a.UpdTime, 1000);
}

}  // namespace
