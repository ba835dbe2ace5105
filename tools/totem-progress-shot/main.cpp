// Captures the dialogs of a level's end and of the player's progress, drawn
// by the game's own code, as PNG pictures a person can judge:
//
//   totem-progress-shot GAMEDIR OUTDIR [LEVEL]
//
//   results-counting.png  a level's results counting up (the frets' turn),
//                         over the paused play screen, a high score ahead
//   results-hiscore.png   the same results finished: high-score seal, three
//                         new prizes in their row, two of three stars
//   results-plain.png     results without a high score, prizes or stars
//   prizes.png            the prize gallery of a profile that has five, the
//                         mouse over one of them
//   users.png             the players dialog with four profiles
//
// The level (3 unless given) really starts and plays a few seconds; its end
// is then made with chosen counts, and the profile lives in OUTDIR, never in
// the game's folder. Missing resources are listed on standard output and make
// the exit status 1; the pictures are written all the same.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/TApp.h"
#include "content/GameFolder.h"
#include "content/ResourceCatalogue.h"
#include "content/TResManager.h"
#include "content/TextTable.h"
#include "core/GameClock.h"
#include "game/GameGlobals.h"
#include "game/TGame.h"
#include "game/TLevelInfo.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "progress/ProgressGlobals.h"
#include "progress/TLevelComplete.h"
#include "progress/TPrizeWidget.h"
#include "progress/TPrizesControl.h"
#include "progress/TPrizesWindow.h"
#include "progress/TUserOptions.h"
#include "progress/UserFile.h"

namespace fs = std::filesystem;

namespace {

// The main menu's landscape, behind the dialogs opened from the menu.
class MenuBackdrop : public TWidget {
    TOTEM_CLASS(MenuBackdrop)
    MenuBackdrop() {
        Resize(0, 0, 800, 600);
        MouseSensetive = 0;
    }
    void Draw() override {
        if (IMAGE_MENU_BACK) DrawImage(IMAGE_MENU_BACK, 0, 0);
        if (IMAGE_MENU_BACK_LAYER1) DrawImage(IMAGE_MENU_BACK_LAYER1, 0, 0);
    }
};

bool Grab(const fs::path& out) {
    const PicturePtr frame = TApp::RunFrameAndGrab();
    const bool ok = frame && SavePicturePNG(*frame, out.string());
    if (ok) std::printf("%s\n", out.string().c_str());
    else std::fprintf(stderr, "%s: could not write the captured frame\n", out.string().c_str());
    return ok;
}

std::shared_ptr<TLevelComplete> OpenResults() {
    for (const WidgetPtr& w : WidgetManager->WidgetsList)
        if (auto d = std::dynamic_pointer_cast<TLevelComplete>(w)) return d;
    return nullptr;
}

// Frames of the main loop until `done`, at most a minute of them.
void RunUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 75 * 60 && !done(); ++i) TApp::RunFrame();
}

// Starts the level, lets it play `ms`, then ends it with these counts: the
// results open over the paused highway.
bool PlayAndEnd(const LevelInfoPtr& level, int ms, const std::function<void(TLevelStat&)>& counts, int points) {
    Game->LevelInfo = level;
    if (Game->StartLevel(0) != 0) return false;
    RunUntil([&] { return GameClock >= static_cast<float>(ms); });
    counts(*CurrentLevelStat);
    Game->Points = points;
    Game->LevelComplete();
    return OpenResults() != nullptr;
}

void Stop() {
    if (const auto results = OpenResults()) WidgetManager->RemoveWidget(results);
    Game->StopGame(0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: totem-progress-shot GAMEDIR OUTDIR [LEVEL]\n");
        return 2;
    }
    const fs::path outDir = fs::absolute(argv[2]);
    const int levelId = argc == 4 ? std::atoi(argv[3]) : 3;
    std::string problem;
    if (!EnterGameFolder(argv[1], problem)) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    std::error_code ec;
    fs::create_directories(outDir, ec);
    fs::remove(outDir / "User.dat", ec);
    UserFilePath = (outDir / "User.dat").string();

    UseDrivenClock();
    UseSilentMixer();
    InitGlobals();
    LoadStartupContent();
    std::vector<std::string> failures;
    ResourceFatal = [&failures](const std::string& message) { failures.push_back(message); };
    if (!OpenDisplay(800, 600, 0, 85)) return 1;
    SetVirtualResolution(800, 600);
    LoadResourceFile("res.xml");
    ResManager->LoadScope("Init");
    FetchInitGroup();
    LoadMenuAndGryph();
    const LevelInfoPtr level = GetLevelById(levelId);
    if (!level) {
        std::fprintf(stderr, "media/levels.xml: no level %d\n", levelId);
        return 1;
    }
    TApp::CreateGame();
    TApp::EnterLoop();
    // The mouse rests where no button shows its hover face.
    WidgetManager->Mouse.x = [] { return 790.0f; };
    WidgetManager->Mouse.y = [] { return 10.0f; };
    WidgetManager->Mouse.down = [](int) { return 0; };

    CurrentUser = CreateUser("Marianne");
    bool ok = true;
    // A first completion with three first prizes won along the way.
    ok = PlayAndEnd(level, 6000, [](TLevelStat& s) {
             for (const char* e : {"starclick", "x2", "longpick"}) TPrizesControl::SendEvent(e);
             s.Notes = 14200;
             s.Stars = 3150;
             s.Frets = 2400;
             s.Melodies = 1800;
             s.NotesAll = 200;
             s.NotesCount = 183;
         }, 21550) && ok;
    const auto results = OpenResults();
    RunUntil([&] { return !results || results->Count.LabelsShowingState >= 2; });
    RunUntil([&] { return !results || results->Count.Frets->value > results->Count.Frets->dist / 2; });
    ok = Grab(outDir / "results-counting.png") && ok;
    RunUntil([&] { return !results || results->Count.LabelsShowingState == 7; });
    ok = Grab(outDir / "results-hiscore.png") && ok;
    Stop();

    // Played again, worse: no high score, the prizes already owned, no stars.
    ok = PlayAndEnd(level, 4000, [](TLevelStat& s) {
             for (const char* e : {"starclick", "x2"}) TPrizesControl::SendEvent(e);
             s.Notes = 2100;
             s.Stars = 150;
             s.Frets = 0;
             s.Melodies = 0;
             s.NotesAll = 200;
             s.NotesCount = 61;
         }, 2250) && ok;
    const auto plain = OpenResults();
    RunUntil([&] { return !plain || plain->Count.LabelsShowingState == 7; });
    ok = Grab(outDir / "results-plain.png") && ok;
    Stop();

    // The gallery over the menu's landscape, the mouse over the second prize
    // received (the long note's, in the third row).
    auto backdrop = std::make_shared<MenuBackdrop>();
    WidgetManager->AddWidget(backdrop);
    for (const char* name : {"TPRIZE_ALLNOTES", "TPRIZE_20LINES"}) CurrentUser->GameData->Prizes.push_back(name);
    const auto gallery = OpenPrizesWindow();
    if (IMAGE_PRIZES_LONG) {
        WidgetManager->Mouse.x = [] { return 300.0f; };
        WidgetManager->Mouse.y = [] { return 200.0f; };
        for (const WidgetPtr& w : gallery->Widgets)
            if (auto p = std::dynamic_pointer_cast<TPrizeWidget>(w); p && p->Image == IMAGE_PRIZES_LONG) {
                const float x = p->_x + float(p->_width) / 2, y = p->_y + float(p->_height) / 2;
                WidgetManager->Mouse.x = [x] { return x; };
                WidgetManager->Mouse.y = [y] { return y; };
            }
    }
    TApp::RunFrame();
    ok = Grab(outDir / "prizes.png") && ok;
    WidgetManager->RemoveWidget(gallery);
    WidgetManager->Mouse.x = [] { return 790.0f; };
    WidgetManager->Mouse.y = [] { return 10.0f; };

    for (const char* name : {"Tomás", "Zoë Lindqvist", "Kai"}) CreateUser(name);
    CurrentUser = UserList[1];
    const auto users = OpenUserOptions();
    TApp::RunFrame();
    ok = Grab(outDir / "users.png") && ok;
    WidgetManager->RemoveWidget(users);

    for (const std::string& failure : failures) std::printf("%s\n", failure.c_str());
    return ok && failures.empty() ? 0 : 1;
}
