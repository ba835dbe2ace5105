// Captures the game's screens, drawn by the game's own code through the
// real main loop, as PNG pictures a person can judge:
//
//   totem-screens-shot GAMEDIR OUTDIR
//
//   first-start.png       the main menu asking a new player for a name
//   menu-entrance.png     the main menu halfway through its entrance
//   menu.png              the main menu settled, the mouse near a statue
//   map-fresh.png         the story map of a new profile
//   map-8-levels.png      the map after eight levels, hovering marker 9
//   ingame-menu.png       the pause menu over a level
//   help-1.png … help-6.png  every help page
//   options.png           the options dialog
//   timing.png            the timing calibration over it
//   timing-beat.png       … flashing on a beat while the player clicks along
//   timing-measured.png   … after clicking along 40 ms late
//   gameover.png          the end of the journey over the map
//
// The profile lives in OUTDIR, never in the game's folder. Missing resources
// are listed on standard output and make the exit status 1; the pictures are
// written all the same.

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/TApp.h"
#include "content/GameFolder.h"
#include "content/ResourceCatalogue.h"
#include "content/TResManager.h"
#include "core/GameClock.h"
#include "game/TGame.h"
#include "gui/TInputBox.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "progress/ProgressGlobals.h"
#include "progress/TCalibration.h"
#include "progress/TOptions.h"
#include "progress/TimingFile.h"
#include "progress/TUserOptions.h"
#include "progress/UserFile.h"
#include "screens/TGameOver.h"
#include "screens/THelp.h"
#include "screens/TInGameMenu.h"
#include "screens/TMainMenu.h"
#include "screens/TStoryMenu.h"

namespace fs = std::filesystem;

namespace {

bool Grab(const fs::path& out) {
    const PicturePtr frame = TApp::RunFrameAndGrab();
    const bool ok = frame && SavePicturePNG(*frame, out.string());
    if (ok) std::printf("%s\n", out.string().c_str());
    else std::fprintf(stderr, "%s: could not write the captured frame\n", out.string().c_str());
    return ok;
}

void Frames(int n) {
    for (int i = 0; i < n; ++i) TApp::RunFrame();
}

void MouseAt(float x, float y) {
    WidgetManager->Mouse.x = [x] { return x; };
    WidgetManager->Mouse.y = [y] { return y; };
}

template <class T>
std::shared_ptr<T> Find() {
    for (const WidgetPtr& w : WidgetManager->WidgetsList)
        if (auto d = std::dynamic_pointer_cast<T>(w)) return d;
    return nullptr;
}

void Remove(const WidgetPtr& w) {
    if (w) WidgetManager->RemoveWidget(w);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: totem-screens-shot GAMEDIR OUTDIR\n");
        return 2;
    }
    const fs::path outDir = fs::absolute(argv[2]);
    std::string problem;
    if (!EnterGameFolder(argv[1], problem)) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    std::error_code ec;
    fs::create_directories(outDir, ec);
    fs::remove(outDir / "User.dat", ec);
    UserFilePath = (outDir / "User.dat").string();
    OptionsFilePath = (outDir / "options.dat").string();
    TimingFilePath = (outDir / "timing.ini").string();

    UseDrivenClock();
    UseSilentMixer();
    InitGlobals();
    LoadStartupContent();
    std::vector<std::string> failures;
    ResourceFatal = [&failures](const std::string& message) { failures.push_back(message); };
    if (!TOptions::SetWindowed()) return 1;
    LoadResourceFile("res.xml");
    ResManager->LoadScope("Init");
    FetchInitGroup();
    LoadMenuAndGryph();
    MouseAt(790, 590);
    WidgetManager->Mouse.down = [](int) { return 0; };
    TApp::CreateMainMenu();
    TApp::CreateGame();
    TApp::ChooseFirstScreen(TApp::START_MODE_MENU, 1);
    TApp::EnterLoop();
    bool ok = true;

    Frames(3);
    ok = Grab(outDir / "first-start.png") && ok;
    Remove(Find<TInputBox>());
    CurrentUser = CreateUser("Marianne");
    MainMenu->Show();
    Frames(32);
    ok = Grab(outDir / "menu-entrance.png") && ok;
    MouseAt(190, 420);
    Frames(200);
    ok = Grab(outDir / "menu.png") && ok;

    MouseAt(790, 590);
    MainMenu->SetHided(1);
    StoryMenu->SetHided(0);
    Frames(60);
    ok = Grab(outDir / "map-fresh.png") && ok;

    const auto& data = CurrentUser->GameData;
    data->CurrentLevel = 9;
    for (int level = 1; level <= 8; ++level) data->SetLevelStars(level, 1 + level % 3);
    StoryMenu->SetHided(1);
    StoryMenu->SetHided(0);
    MouseAt(277 + 10, 185 + 10);
    Frames(60);
    ok = Grab(outDir / "map-8-levels.png") && ok;

    MouseAt(790, 590);
    StoryMenu->StartLevel(1);
    Frames(150);
    OpenInGameMenu();
    Frames(2);
    ok = Grab(outDir / "ingame-menu.png") && ok;
    const auto help = OpenHelp();
    for (int page = 1; page <= THelp::PAGE_COUNT; ++page) {
        Frames(1);
        ok = Grab(outDir / ("help-" + std::to_string(page) + ".png")) && ok;
        help->DePress(THelp::Button_RIGHT_ID);
    }
    Remove(help);
    Remove(Find<TInGameMenu>());
    Game->ExitToMainMenu();
    Frames(200);
    const auto options = OpenOptions();
    Frames(2);
    ok = Grab(outDir / "options.png") && ok;
    const auto timing = OpenCalibration();
    Frames(2);
    ok = Grab(outDir / "timing.png") && ok;
    timing->DePress(TCalibration::Button_START_ID);
    // Space pressed in the first frame at least 40 ms after each measured beat.
    const int32_t measured = ClockMs() + (1 + TCalibration::COUNT_IN_BEATS) * TCalibration::BEAT_MS;
    for (int frame = 0, pressedFor = -1; timing->Measuring() && frame < 2000; ++frame) {
        const int32_t since = ClockMs() - measured;
        if (since >= 0 && since % TCalibration::BEAT_MS >= 40 && since / TCalibration::BEAT_MS != pressedFor) {
            pressedFor = since / TCalibration::BEAT_MS;
            if (pressedFor == 2) ok = Grab(outDir / "timing-beat.png") && ok;
            InjectKey(KEY_SPACE, true);
            InjectKey(KEY_SPACE, false);
        }
        Frames(1);
    }
    Frames(2);
    ok = Grab(outDir / "timing-measured.png") && ok;
    Remove(timing);
    Remove(options);

    MainMenu->SetHided(1);
    StoryMenu->SetHided(0);
    OpenGameOver();
    Frames(2);
    ok = Grab(outDir / "gameover.png") && ok;

    for (const std::string& failure : failures) std::printf("%s\n", failure.c_str());
    return ok && failures.empty() ? 0 : 1;
}
