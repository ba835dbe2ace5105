#pragma once
#include <cstdint>
#include <memory>

#include "gui/TWidget.h"
#include "game/TLevelInfo.h"

class TGryph;
class TNoteLineWidget;
class TPointsWindow;
class TGame;
using GamePtr = std::shared_ptr<TGame>;

// Stands for the level being played. It owns the play-screen widgets (the
// highway, the melody row, the score counter, the hint strip), starts a level
// chosen by the player (its skin, chart and tracks), pauses and resumes it,
// turns the end of the song into the level's results, and stops, replays or
// moves on to the next level. It holds the running score and answers whether a
// gold rush is on and what the points multiplier is. Created once at start-up,
// hidden. What the results, prizes, hints and profiles do with a level reaches
// them through the hooks their layer installs (LevelHooks.h).
class TGame : public TWidget {
    TOTEM_CLASS(TGame)

    std::shared_ptr<TGryph> Gryph;
    LevelInfoPtr LevelInfo;
    std::shared_ptr<TNoteLineWidget> NoteLineWidget;
    std::shared_ptr<TPointsWindow> PointsWindow;
    WidgetPtr HintWindow;  // null when no hint strip is installed
    int32_t GamePaused = 0;
    int32_t PauseStartTime = 0;
    int32_t Points = 0;

    // Makes the new instance the one Game refers to.
    TGame();
    ~TGame() override;

    virtual void PauseGame();
    virtual void ResumeGame();
    virtual void StartNextLevel();
    virtual void LevelComplete();
    virtual void StopGame(int keepShown);
    virtual void ReplayGame();
    virtual void ExitToMainMenu();
    // Starts LevelInfo's level. Returns 0, or −1 when it cannot be played (no
    // level, or its chart or a track unreadable): the player has been told
    // which file, and the play screen is hidden again.
    virtual int StartLevel(int replay);
    // A level whose content is broken beyond playing: the program is asked to
    // end (the player has been told why) and the play screen hidden. Returns −1.
    int AbandonStart();
    virtual int Load(int replay);
    virtual int GoldRush();
    virtual int GetPointsMult();

    void Update(float dt) override;
    void Draw() override {}
    void AddedToManager() override;
    void SetHided(int hide) override;

    // Levels completed since start-up (tests and tools wait on it).
    int32_t CompletedLevels = 0;
    // 1 from the end of the song until the next start: a finished level is
    // never resumed.
    int32_t LevelEnded = 0;
};

// The one game controller (not owned here: the widget manager holds it).
extern TGame* Game;
// The skin scope loaded last; empty before the first level.
extern std::string CurrentSkin;
