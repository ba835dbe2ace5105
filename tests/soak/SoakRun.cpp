#include "SoakRun.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "app/TApp.h"
#include "core/GameClock.h"
#include "game/AutoPlayer.h"
#include "game/BuiltGameStart.h"
#include "game/GameGlobals.h"
#include "game/GameplayEvents.h"
#include "game/TLevelInfo.h"
#include "game/TGryph.h"
#include "game/TMidiFile.h"
#include "gui/TButtonWidget.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/System.h"
#include "progress/ProgressGlobals.h"
#include "progress/ProgressNotice.h"
#include "progress/TLevelComplete.h"
#include "progress/TOptions.h"
#include "progress/TUser.h"
#include "progress/UserFile.h"
#include "screens/TMainMenu.h"
#include "screens/TPoint.h"
#include "screens/TStoryMenu.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's own count of the bytes allocated and not freed.
extern "C" size_t __sanitizer_get_current_allocated_bytes();

// Freed blocks wait in the sanitizer's quarantine (256 MB by default) so a
// use after free is caught; while it fills, private memory grows without any
// leak. A small one fills during the first level, so the passes compare what
// the game holds. ASAN_OPTIONS still overrides it.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }
#endif

namespace fs = std::filesystem;

namespace {

constexpr int kFrameMs = 17;
// A widget counts as settled once it has stood still this many frames.
constexpr int kStillFrames = 5;
// Bounds on the waits, in frames: screens' entrances and exits, the results'
// count-up, and the mixer letting go of a level's last sounds.
constexpr int kScreenWait = 1200;
constexpr int kCountUpWait = 3000;
constexpr int kChannelWait = 600;
// The mixer's count at rest: unchanged for this many frames.
constexpr int kChannelQuietFrames = 120;
// A level is given this long to end (the longest song is well under it).
constexpr int kLevelMaxFrames = 400000 / kFrameMs;

int EnvInt(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

template <class T>
std::shared_ptr<T> TopWidget() {
    if (!WidgetManager) return nullptr;
    for (auto it = WidgetManager->WidgetsList.rbegin(); it != WidgetManager->WidgetsList.rend(); ++it)
        if (auto w = std::dynamic_pointer_cast<T>(*it)) return w;
    return nullptr;
}

bool Shown(const TWidget* w) { return w && w->Visible != 0 && w->Enable != 0; }

// Where the game stands, for a failure's message.
std::string GameState() {
    std::ostringstream out;
    out << "paused " << Game->GamePaused << ", shown " << Game->Visible;
    if (Game->Gryph) out << ", song at " << Game->Gryph->SongTime << " ms";
    if (WidgetManager && WidgetManager->TopModalWidget)
        out << ", modal " << ClassNameOf(WidgetManager->TopModalWidget.get());
    return out.str();
}

}  // namespace

SoakRun::SoakRun() { drawEvery_ = std::max(1, EnvInt("TOTEM_SOAK_DRAW_EVERY", 16)); }

SoakRun::~SoakRun() { Stop(); }

std::string SoakRun::Start() {
    fs::path previous;
    const std::string why = builtgame::Start(previous, game_);
    previousDir_ = previous.string();
    started_ = true;
    if (!why.empty()) return why;

    // The profile and the options are the run's own, never the runtime folder's.
    profileDir_ = (fs::temp_directory_path() / ("totem-soak-" + std::to_string(::getpid()))).string();
    fs::create_directories(profileDir_);
    savedUserFile_ = UserFilePath;
    savedOptionsFile_ = OptionsFilePath;
    UserFilePath = (fs::path(profileDir_) / "User.dat").string();
    OptionsFilePath = (fs::path(profileDir_) / "options.dat").string();
    ResetUserFileState();
    UserList.clear();
    CurrentUser = CreateUser("Soak");
    // Every marker open, as after the journey, so the run may pick any level.
    CurrentUser->GameData->CurrentLevel = static_cast<int>(LevelInfoList.size()) + 1;

    // Start-up makes the menu before the controller: the menu is modal, and
    // only what comes after it in the manager's list is updated.
    WidgetManager->RemoveWidget(game_);
    TApp::CreateMainMenu();
    WidgetManager->AddWidget(game_);
    game_->SetHided(1);
    TApp::ChooseFirstScreen(TApp::START_MODE_MENU, 0);
    InjectMouseMove(4, 4);
    PollEvents();
    ClearMouse();
    ClearKeys();
    return "";
}

void SoakRun::Stop() {
    if (!started_) return;
    started_ = false;
    for (int b = 1; b <= 3; ++b) InjectMouseButton(b, false);
    PollEvents();
    ClearMouse();
    ClearKeys();
    SetGameplayEventListener({});
    const fs::path previous = previousDir_;
    builtgame::Stop(previous, game_);
    UserList.clear();
    CurrentUser = nullptr;
    if (!profileDir_.empty()) {
        UserFilePath = savedUserFile_;
        OptionsFilePath = savedOptionsFile_;
        std::error_code ec;
        fs::remove_all(profileDir_, ec);
    }
}

// ---- Frames -----------------------------------------------------------------

void SoakRun::ScreenFrame() {
    AdvanceClock(kFrameMs);
    GameClock += static_cast<float>(kFrameMs);
    WidgetManager->Update(1);
    OpenPendingProgressNotices();
    PollEvents();
    AudioUpdate();
    AfterFrame(true, "screens");
}

void SoakRun::AfterFrame(bool draw, const char* where) {
    if (draw) {
        Cls();
        WidgetManager->Draw();
        Flip(0);
        ++drawn_;
    }
    ++frames_;
    const int errors = DrainGlErrors();
    if (errors == 0) return;
    glErrors_ += errors;
    if (firstGlError_.empty())
        firstGlError_ = std::to_string(errors) + " at frame " + std::to_string(frames_) + " (" + where +
                        (draw ? ", drawn)" : ", not drawn)");
}

bool SoakRun::FramesUntil(const std::function<bool()>& done, int maxFrames, const std::string& what) {
    for (int i = 0; i < maxFrames; ++i) {
        if (done()) return true;
        ScreenFrame();
        if (glErrors_ > 0) return Fail("GL error " + firstGlError_ + " while waiting for " + what);
    }
    return done() || Fail(what + ": not within " + std::to_string(maxFrames) + " frames");
}

bool SoakRun::Fail(const std::string& why) {
    if (problem_.empty()) problem_ = why;
    return false;
}

// ---- Input ------------------------------------------------------------------

bool SoakRun::Click(const WidgetPtr& widget, const std::string& what) {
    if (!widget) return Fail("no " + what);
    float lastX = -1e9f, lastY = -1e9f;
    int still = 0;
    const bool settled = FramesUntil(
        [&] {
            const bool same = widget->_x == lastX && widget->_y == lastY;
            still = Shown(widget.get()) && same ? still + 1 : 0;
            lastX = widget->_x;
            lastY = widget->_y;
            return still >= kStillFrames;
        },
        kScreenWait, what + " shown and at rest");
    if (!settled) return false;
    InjectMouseMove(static_cast<int>(widget->_x) + widget->_width / 2,
                    static_cast<int>(widget->_y) + widget->_height / 2);
    ScreenFrame();
    InjectMouseButton(1, true);
    ScreenFrame();
    InjectMouseButton(1, false);
    // One frame polls the release, the next one's update acts on it.
    ScreenFrame();
    ScreenFrame();
    return glErrors_ == 0 || Fail("GL error " + firstGlError_ + " clicking " + what);
}

WidgetPtr SoakRun::ResultsButton(int id) {
    const auto results = TopWidget<TLevelComplete>();
    if (!results) return nullptr;
    for (const WidgetPtr& child : results->Widgets)
        if (auto* button = dynamic_cast<TButtonWidget*>(child.get()); button && button->ID == id) return child;
    return nullptr;
}

// ---- Screens ----------------------------------------------------------------

bool SoakRun::OpenStoryMap() {
    if (!MainMenu) return Fail("no main menu");
    if (!Click(MainMenu->Button_MODE1, "main menu's play")) return false;
    return FramesUntil([] { return Shown(StoryMenu); }, kScreenWait, "story map after the main menu");
}

bool SoakRun::BackToMainMenu() {
    if (!StoryMenu) return Fail("no story map");
    if (!Click(StoryMenu->BUTTON_BACK, "story map's back")) return false;
    return FramesUntil([] { return MainMenu && Shown(MainMenu->Button_MODE1.get()); }, kScreenWait,
                       "main menu after the story map");
}

int SoakRun::SettleChannels() {
    int count = MixerChannelCount(), quiet = 0;
    for (int i = 0; i < kScreenWait && quiet < kChannelQuietFrames; ++i) {
        ScreenFrame();
        const int now = MixerChannelCount();
        quiet = now == count ? quiet + 1 : 0;
        count = now;
    }
    idleChannels_ = count;
    return count;
}

bool SoakRun::PlayLevelFromMap(int level, int& channelsAfter) {
    if (level < 1 || level > static_cast<int>(StoryPoints.size())) return Fail("no marker for level " + std::to_string(level));
    const std::string name = "level " + std::to_string(level);
    const int before = Game->CompletedLevels;
    if (!Click(StoryPoints[static_cast<size_t>(level - 1)], name + "'s marker")) return false;
    if (!Game->LevelInfo || Game->LevelInfo->id != level || Game->Visible == 0)
        return Fail(name + " did not start from its marker");

    AutoPlayer player;
    player.Begin();
    for (int i = 0; i < kLevelMaxFrames && Game->CompletedLevels == before; ++i) {
        player.Frame();
        AfterFrame(i % drawEvery_ == 0, "level");
        if (glErrors_ > 0) return Fail("GL error " + firstGlError_ + " playing " + name);
    }
    if (Game->CompletedLevels == before) return Fail(name + " did not end: " + GameState());
    playerProblems_ += static_cast<int64_t>(player.Problems().size());

    const auto results = TopWidget<TLevelComplete>();
    if (!results) return Fail("no results after " + name);
    if (!FramesUntil([&] { return results->Count.LabelsShowingState == TResultsCountUp::STAGE_DONE; },
                     kCountUpWait, "the results of " + name + " counted up"))
        return false;
    if (!Click(ResultsButton(TLevelComplete::Button_MENU_ID), "results' menu")) return false;
    if (!FramesUntil([] { return Shown(StoryMenu); }, kScreenWait, "story map after the results of " + name))
        return false;
    // The map's opening sound and the results' last ding may still be playing.
    for (int i = 0; i < kChannelWait && MixerChannelCount() > idleChannels_ && glErrors_ == 0; ++i) ScreenFrame();
    channelsAfter = MixerChannelCount();
    return glErrors_ == 0 || Fail("GL error " + firstGlError_ + " after " + name);
}

// ---- Figures ----------------------------------------------------------------

std::vector<int> SoakRun::LevelsByLength() {
    std::vector<std::pair<int, int>> lengths;  // last note's end, level
    for (const LevelInfoPtr& level : LevelInfoList) {
        TMidiFile chart;
        chart.Log = [](const std::string&) {};
        if (chart.Load("media/songs/" + level->song + "/notes.mid", level->complexity) != 0) continue;
        int last = 0;
        for (const MidiNotePtr& n : chart.notes) last = std::max(last, n->StartTime + n->Length * 30);
        lengths.emplace_back(last, level->id);
    }
    std::sort(lengths.begin(), lengths.end());
    std::vector<int> ids;
    for (const auto& [ms, id] : lengths) ids.push_back(id);
    return ids;
}

int64_t SoakRun::PrivateKb() {
    ReturnFreedMemory();
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("RssAnon:", 0) != 0) continue;
        std::istringstream in(line.substr(8));
        int64_t kb = -1;
        in >> kb;
        return kb;
    }
    return -1;
}

int64_t SoakRun::LiveHeapKb() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<int64_t>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return -1;
#endif
}
