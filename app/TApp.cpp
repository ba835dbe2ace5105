#include "app/TApp.h"

#include <sstream>

#include "app/ColdStart.h"
#include "app/Globals.h"
#include "app/ScreenTrace.h"
#include "app/TWinRect.h"
#include "content/ResourceCatalogue.h"
#include "content/TResManager.h"
#include "core/GameClock.h"
#include "core/QuitRequest.h"
#include "game/PlayTrace.h"
#include "game/TAutoPlay.h"
#include "game/TGame.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Files.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/System.h"
#include "progress/ProgressNotice.h"
#include "progress/TOptions.h"
#include "progress/TimingFile.h"
#include "progress/UserFile.h"
#include "screens/TMainMenu.h"
#include "screens/TStoryMenu.h"

float TApp::lastDt_ = 0;
bool TApp::ForceWindow = false;
std::function<void()> TApp::beforePresent_;

namespace {
constexpr int SCREEN_W = 800;
constexpr int SCREEN_H = 600;
constexpr int WINDOW_HZ = 85;
const char* const PLAY_SHORTCUT = "play.url";
const char* const CORRUPT_FILES_TEXT = "Some files are corrupt. The game may not run. Please reinstall the game.";

// The display the options ask for; without one there is nothing to play on.
bool OpenGameDisplay() {
    const bool opened =
        FullScreen != 0 && !TApp::ForceWindow ? TOptions::SetFullScreen() : TOptions::SetWindowed();
    if (!opened) RequestQuit(1);
    return opened;
}

// Nothing else tells from outside how loud the game plays, nor whether it
// asked for full screen (a session without a window manager leaves the
// window as it was made): the display tests read it here.
void TraceOptions() {
    std::ostringstream line;
    line << "options: sound volume " << SoundVolume << ", full screen " << FullScreen;
    TracePlay(line.str());
}

// One phase of a splash: draws until `phaseMs` have passed since the phase
// began; the end is tested before each frame, so a phase may draw nothing.
// A player cannot skip it, but a quit already asked for ends it.
template <typename AlphaAt>
void SplashPhase(const ImagePtr& image, int phaseMs, bool clear, AlphaAt alphaAt) {
    const int32_t t0 = ClockMs();
    for (int32_t now = ClockMs(); now < t0 + phaseMs && !QuitRequested(); now = ClockMs()) {
        if (clear) Cls();
        SetAlpha(alphaAt(float(now - t0)));
        DrawImageRect(image, 0, 0, SCREEN_W, SCREEN_H, 0);
        PollEvents();
        Flip(-1);
        ColdStart::SplashFramePresented();
        // A driven clock only moves when told; let a splash still take its time.
        if (ClockIsDriven()) AdvanceClock(1000 / WINDOW_HZ);
    }
}
}  // namespace

int TApp::Init() {
    // Without its descriptions the game has nothing to show: a black window
    // would tell the player less than naming the file to restore.
    if (LoadResourceFile("res.xml") == 0) {
        if (ResourceFatal) ResourceFatal("res.xml not found");
        RequestQuit(1);
        return QuitExitCode();
    }
    // Init resources load before the display opens; they become drawable with it.
    ResManager->LoadScope("Init");
    FetchInitGroup();
    // A fatal content error has been shown already; going on would only show
    // splashes before the program ends.
    if (QuitRequested()) return QuitExitCode();
    TOptions::LoadOptions();
    LoadTiming();
    TraceOptions();
    if (!OpenGameDisplay()) return QuitExitCode();
    ResManager->PrepareLoaded();
    CentreWindow();
    LoadUserList();
    SetMouseVisible(0);
    ResManager->LoadScope("ZAR");
    FetchZarGroup();
    if (QuitRequested()) return QuitExitCode();
    // Start-up's loads leave freed decoding buffers behind that malloc would
    // keep for the rest of the run (a level's load is left alone: it waits).
    ReturnFreedMemory();
    ShowSplash(IMAGE_ZAR_SPLASH2);
    ShowSplash(IMAGE_ZAR_SPLASH1);
    ReleaseSplashes();
    ColdStart::SplashesEnded();
    if (QuitRequested()) return QuitExitCode();
    if (PathKind(PLAY_SHORTCUT) != 1) {
        Notify(CORRUPT_FILES_TEXT, false);
        RequestQuit(0);
        return QuitExitCode();
    }
    LoadMenuAndGryph();
    if (QuitRequested()) return QuitExitCode();
    SetMouseVisible(1);
    CreateMainMenu();
    CreateGame();
    ReturnFreedMemory();
    return 0;
}

void TApp::CreateMainMenu() {
    auto menu = std::make_shared<TMainMenu>();
    menu->StoryMap = StoryMapScreen;
    menu->Resize(0, 0, SCREEN_W, SCREEN_H);
    WidgetManager->AddWidget(menu);
    menu->SetHided(1);
}

void TApp::CreateGame() {
    auto game = std::make_shared<TGame>();
    game->Resize(0, 0, SCREEN_W, SCREEN_H);
    WidgetManager->AddWidget(game);
    game->SetHided(1);
}

void TApp::ReleaseSplashes() {
    IMAGE_ZAR_SPLASH1.reset();
    IMAGE_ZAR_SPLASH2.reset();
    for (const char* id : {"IMAGE_ZAR_SPLASH1", "IMAGE_ZAR_SPLASH2"})
        if (ResPtr entry = ResManager->GetRes(id)) entry->UnLoad();
}

int TApp::ShowSplash(const ImagePtr& image) {
    if (!image) return 0;
    SplashPhase(image, 1000, true, [](float t) { return t / 1000.0f; });
    SplashPhase(image, 2000, false, [](float) { return 1.0f; });
    SplashPhase(image, 1000, true, [](float t) { return 1.0f - t / 1000.0f; });
    SetAlpha(1);
    return 0;
}

void TApp::ChooseFirstScreen(int mode, int level) {
    StartMode = mode;
    if (mode == START_MODE_MENU) {
        if (MainMenu) MainMenu->SetHided(0);
    } else if (mode == START_MODE_GAME && StoryMenu) {
        // A level asked for at launch that cannot be played leaves nothing
        // to show: the player has been told why.
        if (StoryMenu->StartLevel(level) != 0) RequestQuit(1);
    }
}

int TApp::Run(int mode, int level) {
    ChooseFirstScreen(mode, level);
    EnterLoop();
    while (!QuitRequested()) RunFrame();
    return QuitExitCode();
}

void TApp::EnterLoop() {
    SetBlend(ALPHABLEND);
    ResetFrameClock();
}

void TApp::RunFrame() {
    Cls();
    // The test option's fast level: while a level plays, frames are updated
    // several at a time and only the last of them is drawn, since drawing is
    // what takes a frame's time on a machine without a graphics card.
    for (int undrawn = AutoPlay ? AutoPlay->FramesPerDrawing() - 1 : 0; undrawn > 0; --undrawn) {
        UpdateFrame();
        PollEvents();
        AudioUpdate();
    }
    UpdateFrame();
    WidgetManager->Draw();
    PollEvents();
    // The window's close box and the desktop's quit request are a player's
    // way out like the game's own: the loop ends after this frame.
    if (CloseRequested() != 0) RequestQuit(0);
    AudioUpdate();
    if (beforePresent_) beforePresent_();
    Flip(1);
    ScreenTrace::AfterFrame();
    ColdStart::LoopFramePresented();
}

void TApp::UpdateFrame() {
    if (AutoPlay) AutoPlay->StepClock();
    FrameTimer->Wait();
    const int32_t elapsed = AdvanceFrameClock();
    // dt counts 17 ms units and is deliberately not clamped: a stall is made up
    // for by one large step.
    lastDt_ = float(elapsed) / 17.0f;
    WidgetManager->Update(lastDt_);
    // The test option's player answers the frame just updated; the poll
    // after it takes its input as it takes a player's.
    if (AutoPlay) AutoPlay->Decide();
    OpenPendingProgressNotices();
}

void TApp::SetBeforePresent(std::function<void()> hook) { beforePresent_ = std::move(hook); }

PicturePtr TApp::RunFrameAndGrab() {
    PicturePtr frame;
    SetBeforePresent([&frame] { frame = GrabFrame(); });
    RunFrame();
    SetBeforePresent(nullptr);
    return frame;
}

float TApp::LastDt() { return lastDt_; }

void TApp::Terminate() {
    OpenURL(PLAY_SHORTCUT);
    RequestQuit(0);
}
