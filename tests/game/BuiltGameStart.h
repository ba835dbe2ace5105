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
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TLevelInfo.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"

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

}  // namespace builtgame
