#include <gtest/gtest.h>

#include <set>

#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/TTimer.h"

namespace {

TEST(Random, IntsStayInsideTheirClosedRangeEvenWhenSwapped) {
    SeedRandom(42);
    EXPECT_EQ(RandomInt(5, 5), 5);
    std::set<int> seen;
    for (int i = 0; i < 500; ++i) {
        int v = RandomInt(3, 1);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 3);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 3u);
    for (int i = 0; i < 500; ++i) {
        float f = RandomFloat(0.5f, 0.75f);
        ASSERT_GE(f, 0.5f);
        ASSERT_LT(f, 0.75f);
    }
}

TEST(Random, SameSeedSameSequence) {
    SeedRandom(7);
    int a = RandomInt(0, 1000000), b = RandomInt(0, 1000000);
    SeedRandom(7);
    EXPECT_EQ(RandomInt(0, 1000000), a);
    EXPECT_EQ(RandomInt(0, 1000000), b);
}

TEST(Timer, DrivenClockJumpsToEachTickWithoutCatchUp) {
    UseDrivenClock(1000);
    TTimer timer(75);
    int32_t t0 = ClockMs();
    EXPECT_EQ(timer.Wait(), 1);
    EXPECT_EQ(ClockMs() - t0, 14);  // tick 1 of 75 Hz falls at 13.33 ms
    for (int i = 0; i < 74; ++i) ASSERT_EQ(timer.Wait(), 1);
    EXPECT_EQ(ClockMs() - t0, 1000);
    AdvanceClock(100);  // a slow frame: several ticks already passed
    EXPECT_EQ(timer.Wait(), 7);
    EXPECT_EQ(ClockMs() - t0, 1100);  // returned at once, no sleeping
    UseRealClock();
}

TEST(Timer, RealClockWaitsForTheNextTick) {
    UseRealClock();
    TTimer timer(200);
    int32_t t0 = ClockMs();
    int ticks = 0;
    for (int i = 0; i < 4; ++i) ticks += timer.Wait();
    EXPECT_GE(ticks, 4);
    EXPECT_GE(ClockMs() - t0, 15);
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        PollEvents();
        ClearKeys();
        ClearMouse();
        while (NextTypedChar() != 0) {
        }
    }
};

TEST_F(InputTest, ClickCountsOnceThenZero) {
    InjectMouseMove(120, 80);
    InjectMouseButton(1, true);
    InjectMouseButton(1, false);
    PollEvents();
    EXPECT_EQ(MouseX(), 120);
    EXPECT_EQ(MouseY(), 80);
    EXPECT_EQ(MouseHitCount(1), 1);
    EXPECT_EQ(MouseHitCount(1), 0);
    // Down and up again within one poll: held for this frame only, so a
    // quick tap still reaches whatever watches the button's state.
    EXPECT_EQ(MouseDown(1), 1);
    PollEvents();
    EXPECT_EQ(MouseDown(1), 0);
}

TEST_F(InputTest, ButtonsKeepTheGameNumbering) {
    InjectMouseButton(2, true);
    InjectMouseButton(3, true);
    PollEvents();
    EXPECT_EQ(MouseDown(1), 0);
    EXPECT_EQ(MouseDown(2), 1);
    EXPECT_EQ(MouseDown(3), 1);
    InjectMouseButton(2, false);
    PollEvents();
    EXPECT_EQ(MouseDown(2), 0);
    EXPECT_EQ(MouseDown(3), 1);
    ClearMouse();
    EXPECT_EQ(MouseDown(3), 0);
    EXPECT_EQ(MouseHitCount(2), 0);
}

TEST_F(InputTest, KeysUseVirtualKeyNumbers) {
    for (int vk : {KEY_ENTER, KEY_ESCAPE, KEY_SPACE, KEY_C, KEY_H, KEY_M, KEY_N, KEY_P, KEY_S, KEY_V, KEY_X, KEY_1}) {
        InjectKey(vk, true);
        PollEvents();
        EXPECT_EQ(KeyDown(vk), 1) << vk;
        EXPECT_EQ(KeyHitCount(vk), 1) << vk;
        EXPECT_EQ(KeyHitCount(vk), 0) << vk;
        InjectKey(vk, false);
        PollEvents();
        EXPECT_EQ(KeyDown(vk), 0) << vk;
    }
}

TEST_F(InputTest, TypedCharactersComeOutInOrder) {
    InjectText("Zoë!");
    PollEvents();
    EXPECT_EQ(NextTypedChar(), 'Z');
    EXPECT_EQ(NextTypedChar(), 'o');
    EXPECT_EQ(NextTypedChar(), 0xEB);
    EXPECT_EQ(NextTypedChar(), '!');
    EXPECT_EQ(NextTypedChar(), 0);
}

TEST_F(InputTest, FocusChangesSuspendAndForgetPendingInput) {
    InjectKey(KEY_SPACE, true);
    InjectMouseButton(1, true);
    InjectText("ab");
    InjectFocus(false);
    PollEvents();
    EXPECT_EQ(AppSuspended(), 1);
    EXPECT_EQ(KeyHitCount(KEY_SPACE), 0);
    EXPECT_EQ(MouseHitCount(1), 0);
    EXPECT_EQ(NextTypedChar(), 0);
    InjectKey(KEY_P, true);
    InjectFocus(true);
    PollEvents();
    EXPECT_EQ(AppSuspended(), 0);
    EXPECT_EQ(KeyHitCount(KEY_P), 0);
}

// Relative mode reports movement, not places: every event's movement counts
// until the game reads it, and nothing older than the read is replayed.
TEST_F(InputTest, MovementAddsUpUntilReadPerAxis) {
    InjectMouseMotion(5, 2);
    InjectMouseMotion(7, -1);
    InjectMouseMotion(-3, 0);
    PollEvents();
    EXPECT_FLOAT_EQ(MouseMoveX(), 9);
    EXPECT_FLOAT_EQ(MouseMoveX(), 0);
    EXPECT_FLOAT_EQ(MouseMoveY(), 1);
    EXPECT_FLOAT_EQ(MouseMoveY(), 0);
    // A movement is also a place: the pointer is where the moves took it.
    InjectMouseMove(100, 100);
    PollEvents();
    MouseMoveX();
    InjectMouseMotion(10, -20);
    PollEvents();
    EXPECT_EQ(MouseX(), 110);
    EXPECT_EQ(MouseY(), 80);
    EXPECT_FLOAT_EQ(MouseMoveX(), 10);
}

TEST_F(InputTest, PendingMovementIsDroppedWhenTheMouseChangesHands) {
    const struct {
        const char* name;
        void (*drop)();
    } cases[] = {
        {"relative mode on", [] { SetMouseRelative(1); }},
        {"relative mode off", [] { SetMouseRelative(0); }},
        {"ClearMouse", [] { ClearMouse(); }},
        {"focus lost", [] { InjectFocus(false); PollEvents(); }},
        {"focus back", [] { InjectFocus(true); PollEvents(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InjectMouseMotion(40, 30);
        PollEvents();
        c.drop();
        EXPECT_FLOAT_EQ(MouseMoveX(), 0);
        EXPECT_FLOAT_EQ(MouseMoveY(), 0);
    }
    SetMouseRelative(1);
    EXPECT_EQ(MouseRelative(), 1);
    SetMouseRelative(0);
    EXPECT_EQ(MouseRelative(), 0);
}

// The window may be larger than the design space; movement is reported in
// design units, so the catcher crosses the highway with the same hand movement
// relative to the window at any size.
TEST_F(InputTest, MovementIsMeasuredInDesignUnits) {
    if (!OpenDisplay(1600, 1200, 0, 60)) GTEST_SKIP() << "no display";
    SetVirtualResolution(800, 600);
    PollEvents();
    ClearMouse();
    InjectMouseMotion(40, -30);
    PollEvents();
    EXPECT_FLOAT_EQ(MouseMoveX(), 20);
    EXPECT_FLOAT_EQ(MouseMoveY(), -15);
    CloseDisplay();
}

TEST_F(InputTest, CloseRequestIsRecorded) {
    EXPECT_EQ(CloseRequested(), 0);
    InjectCloseRequest();
    PollEvents();
    EXPECT_EQ(CloseRequested(), 1);
}

}  // namespace
