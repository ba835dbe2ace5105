#pragma once
#include <cstdint>
#include <functional>

#include "game/TLevelStat.h"
#include "gui/TWidget.h"

// What a level hands to the layer above the game: the hint strip shown over
// the highway, the prizes armed at its start, the profile that records its
// result, the results dialog, and the prize pop-ups cleared when it stops.
// The game controller cannot include that layer, so the layer installs these
// at start-up. Every hook is optional; an empty one does nothing.
struct LevelHooks {
    // The hint strip the controller places over the highway (made once).
    std::function<WidgetPtr()> CreateHintWindow;
    // A level starts, before its chart is loaded.
    std::function<void()> LevelStarting;
    // The song has ended and the stars are worked out: keep the result in the
    // profile (setting stat.IsHiScore) and save it.
    std::function<void(int levelId, int32_t points, TLevelStat& stat)> RecordResult;
    // The level is paused behind its results: show them.
    std::function<void(const LevelStatPtr& stat, int levelId)> ShowResults;
    // The level has been stopped.
    std::function<void()> LevelStopped;
    // The player asks for the pause menu (right button, Escape, P) or the
    // window lost the focus. The menu pauses the level itself; without one
    // the keys just pause and resume.
    std::function<void()> OpenInGameMenu;
    // The player left the level for the main menu.
    std::function<void()> ShowMainMenu;
};

void SetLevelHooks(LevelHooks hooks);
const LevelHooks& InstalledLevelHooks();
