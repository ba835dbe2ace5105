#pragma once
#include <cstdint>
#include <string>

#include "core/TLinearValue.h"
#include "game/TLevelStat.h"
#include "progress/TPrizeWidget.h"

// The count-up of a finished level's results, apart from the dialog that
// shows it: notes, stars, frets and melodies count up one after the other
// (600 ms each) with the running total alongside, then the accuracy, then the
// new prizes drop into their row one by one, then the stars fill (800 ms). The
// dialog steps it once a frame and answers its three requests: a ding, a
// burst of particles at a label, the next prize. Kept apart so the timing can
// be tested without a screen.
class TResultsCountUp {
public:
    // What the count-up asks of the dialog showing it.
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void Ding() = 0;
        // A category's count has finished: particles at its label.
        virtual void Burst(const std::string& labelId) = 0;
        // Show the next of NewPrizes.
        virtual void AddNextPrize() = 0;
    };

    // Stages of LabelsShowingState.
    static constexpr int STAGE_NOTES = 0, STAGE_STARS = 1, STAGE_FRETS = 2, STAGE_MELODIES = 3,
                         STAGE_ACCURACY = 4, STAGE_PRIZES = 5, STAGE_LEVEL_STARS = 6, STAGE_DONE = 7;

    LinearValuePtr Notes, Stars, Frets, Melodies, Accuracy, TotalScore, StarsForLevel;
    int32_t IsHiScore = 0;
    int32_t LabelsShowingState = STAGE_NOTES;
    int32_t PrizesX = 0;        // centre of the next prize of the row, from the dialog's left
    int32_t PrizesAddTime = 0;  // ClockMs when the last prize was shown; 0 = none yet
    int32_t FinalLevel = 0;

    // The counts of `stat`, whose accuracy is clamped to 0..100 first (in the
    // record too). The total first counts along with the notes.
    void Start(TLevelStat& stat, int finalLevel);
    // Where the row of NewPrizes starts so that it is centred on x 399.
    void StartPrizeRow();
    // One frame of the stage machine.
    void Step(Listener& listener);
    // Takes the first of NewPrizes into a results-row widget at the row's
    // next place, for a dialog whose top-left corner is at (dialogX, dialogY).
    PrizeWidgetPtr PlaceNextPrize(int dialogX, int dialogY);

    // The text a results label with this id shows now ("notes", "stars",
    // "frets", "melodies", "totalscore" as whole numbers, "accuracy" with one
    // decimal); false for any other id.
    bool LabelValue(const std::string& labelId, std::string& text) const;
    // The high-score marker shows from the moment the accuracy counts.
    bool HiScoreMarkerShown() const;
    // Star n (1–3) of the level is lit.
    bool StarLit(int n) const;

private:
    void RestartTotal(float target);
    void FinishCategory(Listener& listener, int nextStage, const char* labelId);
};
