#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/TVector.h"
#include "fx/TEmitter.h"
#include "game/TLevelInfo.h"
#include "gui/TButtonWidget.h"
#include "gui/TDialog.h"
#include "media/TImage.h"

// The level chooser ("window_storymenu"): an island landscape with the path
// of 28 level markers (TPoint), totems that rise on the islands as the player
// gets on, water splashes, the two statues, "play" (the next level to play)
// and "back" (the main menu). A full-screen window that is not modal and has
// no frame; the main menu adds it to the widget manager hidden and shows it.
// It never writes the profile's progress: it only reads which levels are
// unlocked and the stars earned.
class TStoryMenu : public TDialog {
    TOTEM_CLASS(TStoryMenu)

    static constexpr int Button_PLAY_ID = 1;
    static constexpr int Button_BACK_ID = 2;

    std::vector<VectorPtr> Totems;
    // Entries 1–9 hold IMAGE_STORY_001 … IMAGE_STORY_009; entry 0 is unused.
    std::array<ImagePtr, 10> TotemsImages{};
    ButtonPtr BUTTON_PLAY, BUTTON_BACK;
    std::vector<VectorPtr> WaterEffectCoords;
    int32_t NextWaterEffectTime = 0;
    std::vector<EmitterPtr> WaterEmitters;

    // Makes the new instance the one StoryMenu refers to.
    TStoryMenu();
    ~TStoryMenu() override;

    // Hides the map and starts `level` on the game controller. A level the
    // table lacks is reported by the controller; the map then comes back.
    // Returns 0, or −1 when the level could not start.
    virtual int StartLevel(int level);
    // The level table's entry for `id` (the table is read at start-up).
    static LevelInfoPtr GetLevelById(int id);

    void AddedToManager() override;
    void Draw() override;
    void DePress(int id) override;
    void SetHided(int hide) override;
    void Update(float dt) override;

    // How many totems stand on the islands at the profile's `currentLevel`.
    static int TotemCount(int currentLevel);
    // The profile's next level to play (1 without a profile).
    static int CurrentLevel();
    // The level "play" starts: the next one, or once every level is done,
    // any but the first, picked at random.
    static int LevelToPlay();

private:
    void CreateMarkers();
    void UpdateMarkers();
    void UpdateWater(float dt);
};

// The one story map (not owned here: the widget manager holds it); null
// before start-up made it.
extern TStoryMenu* StoryMenu;

// Makes the story map, puts it over the whole screen and adds it to the widget
// manager hidden: the main menu does this when it is added.
std::shared_ptr<TStoryMenu> AddStoryMenuHidden();
