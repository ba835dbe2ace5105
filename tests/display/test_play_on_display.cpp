// The built game played through a real window system: its own X server, the
// mouse, buttons and keys of an X input client, its window's pixels and its
// play trace read back. These catch what tests that push events straight into
// the game's queue cannot: how the window system delivers a player's input.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "display/CatcherFinder.h"
#include "display/GameOnDisplay.h"
#include "game/TBat.h"
#include "support/ToolTest.h"

namespace {

// A level with plain notes on all five lines and frets throughout.
constexpr int kLevel = 26;
// Where the line keys put the catcher, and so where its picture settles.
constexpr float kKeyX[5] = {257, 331.5f, 407, 478.5f, 558};
constexpr float kMouseGain = 1.2f;
// The pause menu's "resume" button in the window.
constexpr int kResumeX = 400, kResumeY = 216;
// Generous waits: the game shares a small machine with other tests.
constexpr int kLineWaitMs = 5000;
constexpr int kCatchWaitMs = 30000;
constexpr int kSettleTimeoutMs = 5000;
constexpr int kFramesMs = 150;
constexpr float kCatcherTolerance = 3;

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool StartsWith(const std::string& line, const std::string& prefix) { return line.rfind(prefix, 0) == 0; }

// The lines the trace gave the catcher since `from`, in order.
std::vector<int> BatLines(const std::vector<std::string>& lines) {
    std::vector<int> result;
    for (const std::string& l : lines)
        if (StartsWith(l, "bat line ")) result.push_back(std::atoi(l.c_str() + 9));
    return result;
}

// One game for the whole suite: starting it (two splash screens and the level
// load) takes far longer than any case. Each case starts from a level that
// plays; a case that ends the game leaves the next to start a new one.
class PlayOnDisplay : public testing::Test {
protected:
    static std::unique_ptr<GameOnDisplay> shared_;
    static CatcherFinder catcher_;
    static std::string startFailure_;
    GameOnDisplay* g = nullptr;

    static void TearDownTestSuite() { shared_.reset(); }

    void SetUp() override {
        const std::string why = GameOnDisplay::WhyNotHere();
        if (!why.empty()) GTEST_SKIP() << why;
        // A game that would not start once will not start for the next case
        // either: say so at once instead of waiting for it again.
        if (!startFailure_.empty()) FAIL() << startFailure_;
        if (!shared_ || !shared_->Game().Running() || LevelOver()) {
            shared_ = std::make_unique<GameOnDisplay>();
            std::string problem;
            if (!shared_->Start(kLevel, problem)) startFailure_ = problem;
            else if (!catcher_.Load(GameOnDisplay::GameDir()))
                startFailure_ = "the catcher's pictures are not in the game folder";
            if (!startFailure_.empty()) FAIL() << startFailure_;
        }
        g = shared_.get();
        if (g->Paused()) Resume();
    }

    void TearDown() override {
        if (!g || !g->Game().Running()) return;
        for (const char* key : {"x", "c", "v", "n", "m"}) g->Key(key, false);
        g->Button(1, false);
    }

    // The song has ended (the results are out): a new game plays it again.
    static bool LevelOver() {
        for (const std::string& l : shared_->Game().LinesFrom(0))
            if (StartsWith(l, "Level ") && l.find(" complete: ") != std::string::npos) return true;
        return false;
    }

    // A pause shows the pause menu; its "resume" button (the first, at the
    // top of the centred menu) takes the player back.
    void Resume() {
        const size_t mark = g->Game().Mark();
        ASSERT_TRUE(g->PointAt(kResumeX, kResumeY));
        ASSERT_TRUE(g->Click(1));
        ASSERT_TRUE(g->Game().WaitForLine("resumed", mark, kLineWaitMs)) << "the level did not resume";
    }

    // The catcher pushed against the left end: its target is exactly there.
    void ToLeftEnd() {
        ASSERT_TRUE(g->MoveMouse(-600, 600, 0));
        ASSERT_TRUE(g->WaitBatLine(0, kLineWaitMs));
        // Already on line 0, the trace says nothing: give the jump a few
        // frames, so the next movement is not added up with it in one frame.
        Sleep(kFramesMs);
    }

    // Once its picture has caught up with the target, the catcher stands at
    // `x` in the window. It covers a third of the way each frame, and frames
    // come slowly on a busy machine: look until it is there or plainly stays
    // elsewhere. A failing frame is kept for a person to look at.
    void ExpectCatcherAt(float x) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSettleTimeoutMs);
        WindowShot shot;
        int found = -1;
        do {
            Sleep(kFramesMs);
            shot = g->Client().Grab(g->Window());
            ASSERT_FALSE(shot.Empty()) << "the window cannot be read";
            found = catcher_.FindX(shot);
            if (std::fabs(static_cast<float>(found) - x) <= kCatcherTolerance) return;
        } while (std::chrono::steady_clock::now() < until);
        static int failures = 0;
        const std::string path = TestTempPath("catcher_" + std::to_string(++failures) + ".ppm").string();
        shot.SavePpm(path);
        ADD_FAILURE() << "the catcher stands at x " << found << ", not " << x << " (the frame: " << path << ")";
    }
};

std::unique_ptr<GameOnDisplay> PlayOnDisplay::shared_;
CatcherFinder PlayOnDisplay::catcher_;
std::string PlayOnDisplay::startFailure_;

TEST_F(PlayOnDisplay, TheLevelHoldsAHiddenPointer) {
    EXPECT_TRUE(g->Client().PointerHeld()) << "relative mode holds the pointer in the window";
    EXPECT_FALSE(g->Client().PointerShown());
}

// One big jump moves the target to the outer line and no further: a short
// move back reaches the next line at once.
TEST_F(PlayOnDisplay, ALargeJumpStopsAtTheOuterLine) {
    for (int direction : {-1, +1}) {
        SCOPED_TRACE(direction);
        ASSERT_TRUE(g->MoveMouse(direction * 600, 600, 0));
        ASSERT_TRUE(g->WaitBatLine(direction < 0 ? 0 : 4, kLineWaitMs));
        Sleep(kFramesMs);
        ASSERT_TRUE(g->MoveMouse(-direction * 40, 40, 0));  // 48 units: past the outer line's range
        EXPECT_TRUE(g->WaitBatLine(direction < 0 ? 1 : 3, kLineWaitMs));
    }
}

// A slow hand sweeps across the highway and back in small steps: the catcher
// passes every line in turn, both ways.
TEST_F(PlayOnDisplay, ASlowSweepPassesEveryLineBothWays) {
    ToLeftEnd();
    size_t mark = g->Game().Mark();
    ASSERT_TRUE(g->MoveMouse(300, 3, 20));
    ASSERT_TRUE(g->WaitBatLine(4, kLineWaitMs));
    EXPECT_EQ(BatLines(g->Game().LinesFrom(mark)), (std::vector<int>{1, 2, 3, 4}));
    mark = g->Game().Mark();
    ASSERT_TRUE(g->MoveMouse(-300, 3, 20));
    ASSERT_TRUE(g->WaitBatLine(0, kLineWaitMs));
    EXPECT_EQ(BatLines(g->Game().LinesFrom(mark)), (std::vector<int>{3, 2, 1, 0}));
}

// A fast hand flicks from line to line: every movement arrives whole, so each
// flick lands on the next line and the picture settles exactly 1.2 × the
// movement further on.
TEST_F(PlayOnDisplay, FastFlicksReachEachLineAndMoveTheCatcherByTheirLength) {
    ToLeftEnd();
    ExpectCatcherAt(TBat::kMinX);
    const struct {
        int dx, line;
    } flicks[] = {{62, 1}, {63, 2}, {60, 3}, {60, 4}, {-60, 3}, {-60, 2}, {-63, 1}, {-62, 0}};
    float target = TBat::kMinX;
    for (const auto& f : flicks) {
        SCOPED_TRACE(testing::Message() << "flick " << f.dx << " to line " << f.line);
        ASSERT_TRUE(g->MoveMouse(f.dx, 12, 3));
        ASSERT_TRUE(g->WaitBatLine(f.line, kLineWaitMs));
        target += kMouseGain * static_cast<float>(f.dx);
        ExpectCatcherAt(target);
    }
}

// Once the trace says the catcher is on a line, every catch after it is on
// that line: the catching rules take the new line from the next frame on.
TEST_F(PlayOnDisplay, CatchesFollowTheLineTheMouseChose) {
    for (int line : {2, 4, 0, 3, 1}) {
        SCOPED_TRACE(testing::Message() << "line " << line);
        ToLeftEnd();
        const size_t mark = g->Game().Mark();
        ASSERT_TRUE(g->MoveMouse(static_cast<int>(std::lround((kKeyX[line] - TBat::kMinX) / kMouseGain)), 12, 3));
        ASSERT_TRUE(g->WaitBatLine(line, kLineWaitMs));
        // Line 0 was reached before the mark; the others after it.
        size_t arrived = mark;
        if (line != 0) {
            ASSERT_TRUE(g->Game().WaitForLine("bat line " + std::to_string(line), mark, 0, &arrived));
        }
        const auto caught =
            g->Game().WaitFor([](const std::string& l) { return StartsWith(l, "catch note line "); }, arrived,
                              kCatchWaitMs);
        ASSERT_TRUE(caught) << "no note was caught";
        EXPECT_EQ(*caught, "catch note line " + std::to_string(line));
    }
}

// The five keys put the catcher on their lines, and a key held while the
// mouse moves keeps it there; let go, the mouse steers again.
TEST_F(PlayOnDisplay, KeysPickTheirLinesAndWinOverTheMouse) {
    const struct {
        const char* key;
        int line;
        int away;  // a mouse movement that would take it off the line
        int next;  // the line the same movement reaches once the key is up
    } keys[] = {{"x", 0, 40, 1}, {"c", 1, 40, 2}, {"v", 2, 40, 3}, {"n", 3, 40, 4}, {"m", 4, -40, 3}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.key);
        ASSERT_TRUE(g->Key(k.key, true));
        ASSERT_TRUE(g->WaitBatLine(k.line, kLineWaitMs));
        const size_t held = g->Game().Mark();
        ASSERT_TRUE(g->MoveMouse(k.away * 2, 2, 30));
        ExpectCatcherAt(kKeyX[k.line]);
        EXPECT_TRUE(BatLines(g->Game().LinesFrom(held)).empty()) << "the mouse moved the catcher off its key's line";
        ASSERT_TRUE(g->Key(k.key, false));
        ASSERT_TRUE(g->MoveMouse(k.away, 40, 0));
        EXPECT_TRUE(g->WaitBatLine(k.next, kLineWaitMs));
    }
}

// Frets span the highway and want a click: one that passes unclicked is
// missed, and clicks of the real mouse button catch the next.
TEST_F(PlayOnDisplay, AClickCatchesAFret) {
    const size_t start = g->Game().Mark();
    ASSERT_TRUE(g->Game().WaitForLine("miss fret", start, kCatchWaitMs)) << "no fret passed";
    const size_t mark = g->Game().Mark();
    bool caught = false;
    // Clicks as a finger makes them, held for a moment: the highway looks at
    // the button once a frame.
    for (int i = 0; i < kCatchWaitMs / 250 && !caught; ++i) {
        ASSERT_TRUE(g->Button(1, true));
        Sleep(120);
        ASSERT_TRUE(g->Button(1, false));
        caught = g->Game().WaitForLine("catch fret", mark, 130).has_value();
    }
    EXPECT_TRUE(caught) << "clicking did not catch a fret";
}

// Right click pauses behind the pause menu: the pointer comes back, shown and
// free, inside the window, nothing is caught or missed and the mouse no longer
// steers. "resume" takes the mouse again.
TEST_F(PlayOnDisplay, RightClickPausesAndResumes) {
    ToLeftEnd();
    size_t mark = g->Game().Mark();
    ASSERT_TRUE(g->Click(3));
    ASSERT_TRUE(g->Game().WaitForLine("paused", mark, kLineWaitMs));
    Sleep(300);
    XClient& x = g->Client();
    int px = -1, py = -1;
    EXPECT_FALSE(x.PointerHeld());
    EXPECT_TRUE(x.PointerShown());
    EXPECT_TRUE(x.PointerIn(g->Window(), px, py)) << px << "," << py;
    mark = g->Game().Mark();
    ASSERT_TRUE(g->MoveMouse(100, 10, 10));
    Sleep(1000);
    for (const std::string& l : g->Game().LinesFrom(mark))
        EXPECT_FALSE(StartsWith(l, "bat line ") || StartsWith(l, "catch ") || StartsWith(l, "miss "))
            << "the level went on while paused: " << l;

    Resume();
    Sleep(200);
    EXPECT_TRUE(x.PointerHeld());
    EXPECT_FALSE(x.PointerShown());
    ASSERT_TRUE(g->MoveMouse(40, 10, 10));
    EXPECT_TRUE(g->WaitBatLine(1, kLineWaitMs)) << "the mouse does not steer after resuming";
}

// Switching to another program pauses the level and gives the pointer back;
// coming back leaves it paused until the player resumes it.
TEST_F(PlayOnDisplay, LosingTheFocusPauses) {
    size_t mark = g->Game().Mark();
    g->Client().FocusElsewhere();
    ASSERT_TRUE(g->Game().WaitForLine("paused", mark, kLineWaitMs));
    EXPECT_FALSE(g->Client().PointerHeld());
    mark = g->Game().Mark();
    g->Client().Focus(g->Window());
    Sleep(600);
    for (const std::string& l : g->Game().LinesFrom(mark)) EXPECT_NE(l, "resumed");
    Resume();
}

// Minimising the window pauses the level behind the pause menu; bringing it
// back shows the level and the menu as they were and waits for the player,
// and "resume" plays on with the mouse steering again.
TEST_F(PlayOnDisplay, MinimisingPausesAndRestoringWaitsForThePlayer) {
    XClient& x = g->Client();
    const WindowShot before = x.Grab(g->Window());
    size_t mark = g->Game().Mark();
    x.Minimise(g->Window());
    ASSERT_TRUE(g->Game().WaitForLine("paused", mark, kLineWaitMs));
    Sleep(1000);
    for (const std::string& l : g->Game().LinesFrom(mark))
        EXPECT_FALSE(StartsWith(l, "catch ") || StartsWith(l, "miss ")) << "the level went on while away: " << l;
    mark = g->Game().Mark();
    x.Restore(g->Window());
    Sleep(600);
    for (const std::string& l : g->Game().LinesFrom(mark)) EXPECT_NE(l, "resumed");
    const WindowShot after = x.Grab(g->Window());
    ASSERT_FALSE(after.Empty()) << "the window cannot be read after coming back";
    EXPECT_EQ(after.width, before.width);
    EXPECT_GT(after.DistinctColours(), 200) << "the level and its menu are drawn again";
    Resume();
    ToLeftEnd();
    ASSERT_TRUE(g->MoveMouse(40, 10, 10));
    EXPECT_TRUE(g->WaitBatLine(1, kLineWaitMs)) << "the mouse does not steer after coming back";
}

// The desktop switching the window to full screen and back mid-level: the
// game fills the larger window, keeps playing and steering, and is whole
// again at its own size.
TEST_F(PlayOnDisplay, FullScreenAndBackKeepsThePlayGoing) {
    XClient& x = g->Client();
    const WindowShot before = x.Grab(g->Window());
    ASSERT_FALSE(before.Empty());
    const size_t mark = g->Game().Mark();
    x.Cover(g->Window());
    Sleep(800);
    const WindowShot full = x.Grab(g->Window());
    EXPECT_GT(full.width, before.width) << "the window covers the screen";
    EXPECT_GT(full.DistinctColours(), 200) << "the level is drawn into the larger window";
    ToLeftEnd();
    ASSERT_TRUE(g->MoveMouse(40, 10, 10));
    EXPECT_TRUE(g->WaitBatLine(1, kLineWaitMs)) << "the mouse does not steer in full screen";
    x.Place(g->Window(), 0, 0, before.width, before.height);
    Sleep(800);
    const WindowShot back = x.Grab(g->Window());
    EXPECT_EQ(back.width, before.width);
    EXPECT_EQ(back.height, before.height);
    EXPECT_GT(back.DistinctColours(), 200);
    ToLeftEnd();
    ASSERT_TRUE(g->MoveMouse(40, 10, 10));
    EXPECT_TRUE(g->WaitBatLine(1, kLineWaitMs)) << "the mouse does not steer back in the window";
    for (const std::string& l : g->Game().LinesFrom(mark)) EXPECT_NE(l, "paused") << "nothing here pauses the level";
}

// The window manager's close button asks the window to close; the game ends
// with exit code 0.
TEST_F(PlayOnDisplay, TheCloseButtonEndsTheGame) {
    g->Client().RequestClose(g->Window());
    const std::optional<int> code = g->Game().WaitExit(10000);
    ASSERT_TRUE(code) << "the game is still running";
    EXPECT_EQ(*code, 0);
}

}  // namespace
