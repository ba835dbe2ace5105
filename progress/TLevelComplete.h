#pragma once
#include <functional>
#include <memory>
#include <string>

#include "core/TVector.h"
#include "game/TLevelStat.h"
#include "gui/TDialog.h"
#include "progress/TResultsCountUp.h"

// The layer above the dialog's labels where the count-up's bursts of
// particles play; it goes with the dialog.
class TLevelCompleteEffects : public TWidget {
    TOTEM_CLASS(TLevelCompleteEffects)

    TLevelCompleteEffects();
    void Update(float dt) override;
    void Draw() override;
    // A burst at `pos`, in the dialog's own pixels.
    void AddPointsEffect(const VectorPtr& pos);
};

// The results of a finished level ("window_levelcomplete"): the points count
// up category by category with a ding and a burst at each label, then the
// accuracy, the high-score seal, the new prizes one by one and the level's
// stars. "menu" goes back to the story map, "replay" plays the level again,
// "next" goes on (after the last level, to the end of the journey).
class TLevelComplete : public TDialog, private TResultsCountUp::Listener {
    TOTEM_CLASS(TLevelComplete)

    static constexpr int Button_MENU_ID = 1;
    static constexpr int Button_REPLAY_ID = 2;
    static constexpr int Button_NEXT_ID = 3;

    // The counts and their stage (Notes … StarsForLevel, IsHiScore,
    // LabelsShowingState, PrizesX, PrizesAddTime, FinalLevel).
    TResultsCountUp Count;
    std::shared_ptr<TLevelCompleteEffects> EffectsLayer;

    TLevelComplete();

    void Update(float dt) override;
    void Draw() override;
    void DePress(int id) override;
    void AddedToManager() override;
    void OnShow() override;

    virtual void AddNextPrize();
    // Fills the counted values into the labels' "%s".
    virtual void UpdateLabels();
    // Where a label's burst goes, in the dialog's pixels: one "X" before the
    // end of its text, half a digit's height below its top. Null when the
    // dialog has no label with that id.
    virtual VectorPtr GetLabelPos(const std::string& id);

private:
    void Ding() override;
    void Burst(const std::string& labelId) override;
};

// Opens the results of `stat`; `finalLevel` non-zero for the last level.
std::shared_ptr<TLevelComplete> OpenLevelComplete(const LevelStatPtr& stat, int finalLevel);

// Where the results' buttons lead beyond the level: the story map and the end
// of the journey live in the screens above, which install them. Without a
// story map, "menu" (and "next" after the last level, without the journey's
// end) ends the program, as a level started at launch has no menu.
struct ResultsExits {
    std::function<void()> ShowStoryMap;
    std::function<void()> OpenGameOver;
};
void SetResultsExits(ResultsExits exits);
