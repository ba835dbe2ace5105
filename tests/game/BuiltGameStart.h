#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "../media/GraphicsTestSupport.h"
#include "app/Globals.h"
#include "content/DataPak.h"
#include "content/GameFolder.h"
#include "content/ResourceCatalogue.h"
#include "content/TResManager.h"
#include "game/GameplayEvents.h"
#include "game/LevelHooks.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TLevelInfo.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Input.h"

namespace builtgame {

// This tree's runtime folder, or, when it was built without content, the
// folder of the build it was pointed at.
inline std::filesystem::path RuntimeFolder() {
    const std::filesystem::path own = std::filesystem::path(TOTEM_BINARY_DIR) / "game";
#ifdef TOTEM_RUNTIME_FOLDER
    if (!std::filesystem::exists(own / "res.xml")) return TOTEM_RUNTIME_FOLDER;
#endif
    return own;
}

// Brings up the built game inside a test process the way start-up does, less
// the window's splashes: enters the runtime folder, creates the globals on
// the driven clock with a silent mixer, loads the resource scopes and adds a
// hidden game controller. `afterGlobals` runs right after the globals exist (to adjust the
// hooks they install). Returns an empty string when ready, otherwise why the
// tests must skip. `previousDir` receives the folder to go back to.
inline std::string Start(std::filesystem::path& previousDir, std::shared_ptr<TGame>& game,
                         const std::function<void()>& afterGlobals = {}) {
    namespace fs = std::filesystem;
    const fs::path folder = RuntimeFolder();
    if (!fs::exists(folder / "res.xml") || !fs::exists(folder / "media" / "levels.xml"))
        return "the runtime folder is not built (content turned off)";
    if (!gfxtest::EnsureDisplay()) return "no OpenGL 3.3 display";
    previousDir = fs::current_path();
    std::string problem;
    if (!EnterGameFolder(folder.string(), problem)) return problem;
    ResetPakDirectory();
    // Tests that ran before in this process may have pointed these elsewhere.
    TGryph::SongsFolder = "media/songs/";
    TGryph::SkinsFile = "media/skins.xml";
    CurrentSkin.clear();
    UseDrivenClock(1000);
    InitGlobals();
    if (afterGlobals) afterGlobals();
    LoadStartupContent();
    // After the start-up content, which opens the audio device.
    UseSilentMixer();
    // Dialog tests that ran before may have left a manager of their own.
    ResManager = std::make_shared<TResManager>();
    LoadResourceFile("res.xml");
    ResManager->LoadScope("Init");
    FetchInitGroup();
    LoadMenuAndGryph();
    game = std::make_shared<TGame>();
    game->Resize(0, 0, 800, 600);
    WidgetManager->AddWidget(game);
    game->SetHided(1);
    LoadLevelInfoList();
    return LevelInfoList.empty() ? "the level table is empty" : "";
}

// Undoes Start so the suites that run after it in the same process find the
// globals as a fresh process has them: a sound or picture the built game
// fetched would otherwise play or draw in a test that set up its own.
inline void Stop(const std::filesystem::path& previousDir, std::shared_ptr<TGame>& game) {
    if (!previousDir.empty()) std::filesystem::current_path(previousDir);
    if (game && WidgetManager) WidgetManager->RemoveWidget(game);
    game.reset();
    for (const ResourceGroup* group : {&InitGroup(), &ZarGroup(), &MenuGroup(), &GryphGroup(), &SkinGroup()}) {
        for (const auto& e : group->fonts) e.global->reset();
        for (const auto& e : group->images) e.global->reset();
        for (const auto& e : group->sounds) e.global->reset();
        for (const auto& e : group->effects) e.global->reset();
    }
    LoadingStone.reset();
    if (ResManager) ResManager->DrawLoading = nullptr;
    ResManager = std::make_shared<TResManager>();
    CloseAudio();
    UseRealClock();
}

// A suite whose cases play levels of the built game one after the other:
// started once for the suite, without the results dialog (one left open would
// hold the next level still behind it; the results have tests of their own),
// each case with the mouse at rest and no input pending. `Base` is the
// GoogleTest fixture kind (::testing::Test, ::testing::TestWithParam<…>).
template <class Base>
class LevelSuite : public Base {
protected:
    static inline bool ready = false;
    static inline std::string skipReason;
    static inline std::filesystem::path previousDir;
    static inline std::shared_ptr<TGame> game;

    static void SetUpTestSuite() {
        skipReason = Start(previousDir, game, [] {
            LevelHooks hooks = InstalledLevelHooks();
            hooks.ShowResults = nullptr;
            SetLevelHooks(hooks);
        });
        ready = skipReason.empty();
    }
    static void TearDownTestSuite() {
        Stop(previousDir, game);
        SetGameplayEventListener({});
    }
    void SetUp() override {
        if (!ready) GTEST_SKIP() << skipReason;
        MoveMouse(400, 300);
        PollEvents();
        ClearMouse();
        ClearKeys();
    }
};

}  // namespace builtgame
