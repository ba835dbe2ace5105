#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "app/Globals.h"
#include "game/GameGlobals.h"
#include "core/GameClock.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "app/TApp.h"
#include "app/TWinRect.h"
#include "content/GameFolder.h"
#include "core/QuitRequest.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "media/Audio.h"
#include "media/Input.h"
#include "gui/TWidget.h"
#include "gui/TWidgetmanager.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/System.h"

namespace {

TEST(WindowCentring, UsesHalfTheDesktopLessHalfTheWindow) {
    struct Case {
        TWinRect desktop, window;
        int x, y;
    };
    const Case cases[] = {
        {{0, 0, 1280, 1024}, {0, 0, 806, 628}, 237, 198},
        {{0, 0, 1920, 1080}, {100, 50, 900, 650}, 560, 240},
        {{0, 0, 801, 601}, {0, 0, 803, 603}, -1, -1},  // truncation toward zero
    };
    for (const auto& c : cases) {
        int x, y;
        CentredPosition(c.desktop, c.window, x, y);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
}

TEST(Globals, SharedConstantsHoldTheirValues) {
    InitGlobals();
    EXPECT_EQ(ColorGold->r, 243);
    EXPECT_EQ(ColorGold->g, 206);
    EXPECT_EQ(ColorGold->b, 0);
    EXPECT_EQ(LineColors[3]->r, 255);
    EXPECT_EQ(LineColors[3]->g, 196);
    float x, y;
    ImpulseLines[0]->GetPoint(0, x, y);
    EXPECT_FLOAT_EQ(x, 221);
    EXPECT_FLOAT_EQ(y, 510);
    ImpulseLines[5]->GetPoint(1, x, y);
    EXPECT_FLOAT_EQ(x, 442);
    EXPECT_FLOAT_EQ(y, 241);
    EXPECT_FLOAT_EQ(SlowScalePulse->curve, 10);
    EXPECT_FLOAT_EQ(FastScalePulse->curve, 2);
    EXPECT_EQ(FrameTimer->Hz(), 75);
}

// Records what the loop hands it and can stall like a level loading inside an update.
class ProbeWidget : public TWidget {
public:
    std::vector<float> dts, clocks;
    int draws = 0;
    int stallMs = 0;
    void Update(float dt) override {
        dts.push_back(dt);
        clocks.push_back(GameClock);
        if (stallMs) {
            AdvanceClock(stallMs);
            stallMs = 0;
        }
    }
    void Draw() override { ++draws; }
};

class MainLoop : public ::testing::Test {
protected:
    void SetUp() override {
        UseDrivenClock(5000);
        InitGlobals();
        probe = std::make_shared<ProbeWidget>();
        WidgetManager->AddWidget(probe);
    }
    void TearDown() override {
        WidgetManager.reset();
        UseRealClock();
    }
    std::shared_ptr<ProbeWidget> probe;
};

TEST_F(MainLoop, FirstFrameMeasuresFromLoopEntryAndEveryFrameUpdatesAndDrawsOnce) {
    TApp::EnterLoop();
    EXPECT_EQ(GameClock, 0);
    TApp::RunFrame();
    ASSERT_EQ(probe->dts.size(), 1u);
    // 75 Hz ticks under the driven clock: the first falls 14 ms after the timer was made.
    EXPECT_FLOAT_EQ(probe->dts[0], probe->clocks[0] / 17.0f);
    EXPECT_GT(probe->clocks[0], 0);
    for (int i = 0; i < 9; ++i) TApp::RunFrame();
    EXPECT_EQ(probe->dts.size(), 10u);
    EXPECT_EQ(probe->draws, 10);
    EXPECT_NEAR(GameClock, 10 * 1000.0 / 75, 1.0);
}

TEST_F(MainLoop, AStallIsMadeUpByOneLargeUnclampedStep) {
    TApp::EnterLoop();
    TApp::RunFrame();
    probe->stallMs = 1000;
    TApp::RunFrame();
    const float before = GameClock;
    TApp::RunFrame();
    EXPECT_NEAR(GameClock - before, 1000, 14);
    EXPECT_NEAR(probe->dts.back(), 1000 / 17.0f, 1.0f);
    EXPECT_GT(probe->dts.back(), 58.0f);
}

TEST(Splash, NullImageReturnsAtOnce) {
    UseDrivenClock(1000);
    TApp::ShowSplash(nullptr);
    EXPECT_EQ(ClockMs(), 1000);
    UseRealClock();
}

TEST(Splash, FadesInHoldsAndFadesOutOverFourSeconds) {
    if (!OpenDisplay(800, 600, 0, 85)) GTEST_SKIP() << "no display";
    SetVirtualResolution(800, 600);
    auto image = CreateImage(8, 8, 1, 0);
    auto pic = LockImage(image, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pic->WritePixel(x, y, 0xFFFFFFFF);
    UnlockImage(image, 0);
    UseDrivenClock(1000);
    TApp::ShowSplash(image);
    EXPECT_GE(ClockMs() - 1000, 4000);
    EXPECT_LT(ClockMs() - 1000, 4000 + 3 * 12);
    EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);
    UseRealClock();
    CloseDisplay();
}

// A player cannot skip a splash, but a quit already asked for (the start-up
// timing's, a fatal error's) ends it before another frame is drawn.
TEST(Splash, AQuitAskedForEndsItWithoutAFrame) {
    if (!OpenDisplay(800, 600, 0, 85)) GTEST_SKIP() << "no display";
    SetVirtualResolution(800, 600);
    auto image = CreateImage(8, 8, 1, 0);
    UseDrivenClock(1000);
    ClearQuitRequest();
    RequestQuit(0);
    TApp::ShowSplash(image);
    EXPECT_EQ(ClockMs(), 1000) << "the driven clock moves once per splash frame";
    EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);
    ClearQuitRequest();
    UseRealClock();
    CloseDisplay();
}

// Whatever ends the program only asks for it; the loop finishes the frame and
// Run hands the code back, so main returns it from one place.
TEST(Shutdown, QuitRequestsEndTheLoopWithTheirCode) {
    if (!OpenDisplay(800, 600, 0, 85)) GTEST_SKIP() << "no display";
    SetNotifyBoxesEnabled(false);
    InitGlobals();
    struct Quitter : TWidget {
        int frames = 0;
        std::function<void()> quit;
        void Update(float) override {
            if (++frames == 3) quit();
        }
    };
    struct Case {
        std::function<void()> quit;
        int code;
    };
    const Case cases[] = {
        {[] { TApp::Terminate(); }, 0},
        {[] { RequestQuit(1); }, 1},
        // A failure asked for first is not turned into a success by a later quit.
        {[] { RequestQuit(1); RequestQuit(0); }, 1},
    };
    for (const Case& c : cases) {
        ClearQuitRequest();
        auto quitter = std::make_shared<Quitter>();
        quitter->quit = c.quit;
        WidgetManager->AddWidget(quitter);
        EXPECT_EQ(TApp::Run(0, 1), c.code);
        EXPECT_EQ(quitter->frames, 3);
        WidgetManager->RemoveWidget(quitter);
    }
    ClearQuitRequest();
    CloseDisplay();
}

// The window's close box (and the desktop's quit request) ends the main loop
// after the frame that polled it, and the program with exit code 0.
TEST(Shutdown, CloseRequestEndsTheLoopWithCodeZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            UseDrivenClock(1000);
            InitGlobals();
            auto probe = std::make_shared<ProbeWidget>();
            WidgetManager->AddWidget(probe);
            InjectCloseRequest();
            const int code = TApp::Run(0, 1);
            std::exit(code == 0 && probe->dts.size() == 1 ? 0 : 7);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(Startup, MissingPlayShortcutEndsWithTheCorruptFilesMessage) {
    SetNotifyBoxesEnabled(false);
    auto dir = std::filesystem::temp_directory_path() / "totem_no_shortcut";
    std::filesystem::create_directories(dir);
    // Resource descriptions without a file to load: only the shortcut is missing.
    std::ofstream(dir / "res.xml", std::ios::trunc) << "<res><resources id=\"Init\"/></res>";
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    EXPECT_EXIT(
        {
            InitGlobals();
            const int code = TApp::Init();
            // The message is shown and start-up stops with a request to end.
            std::exit(QuitRequested() ? code : 9);
        },
        ::testing::ExitedWithCode(0), "Some files are corrupt. The game may not run. Please reinstall the game.");
    std::filesystem::current_path(old);
}

// The whole start-up on the built game, then a level started at launch: it
// runs with its skin and chart, and holding Escape ends the program at once.
TEST(Startup, LevelStartedAtLaunchPlaysAndEscapeQuits) {
    const std::string gameDir = std::string(TOTEM_BINARY_DIR) + "/game";
    if (!std::filesystem::is_regular_file(gameDir + "/res.xml")) GTEST_SKIP() << "the game content is not built";
    SetNotifyBoxesEnabled(false);
    // Earlier tests of this program may have opened a display whose renderer
    // threads a forked child would not have: run the child as a new process.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto old = std::filesystem::current_path();
    EXPECT_EXIT(
        {
            std::string problem;
            if (!EnterGameFolder(gameDir, problem)) std::exit(2);
            UseDrivenClock(1000);
            InitGlobals();
            LoadStartupContent();
            UseSilentMixer();
            TApp::Init();
            TApp::ChooseFirstScreen(TApp::START_MODE_GAME, 9);
            const bool playing = Game && Game->Visible == 1 && Game->LevelInfo && Game->LevelInfo->id == 9 &&
                                 Game->Gryph->MIDI && !Game->Gryph->MIDI->notes.empty() &&
                                 CurrentSkin == Game->LevelInfo->Skin && StartMode == TApp::START_MODE_GAME;
            if (!playing) std::exit(3);
            TApp::EnterLoop();
            for (int i = 0; i < 30; ++i) TApp::RunFrame();
            const auto& g = *Game->Gryph;
            if (g.SongTime < 300 || !g.SongChannel || g.SongChannel->Playing() == 0) std::exit(4);
            InjectKey(KEY_ESCAPE, true);
            for (int i = 0; i < 3 && !QuitRequested(); ++i) TApp::RunFrame();
            if (!QuitRequested()) std::exit(5);  // Escape did not end the program
            std::exit(QuitExitCode());
        },
        ::testing::ExitedWithCode(0), "");
    std::filesystem::current_path(old);
}

}  // namespace
