#include "progress/TResultsCountUp.h"

#include <algorithm>
#include <cmath>

#include "core/TextHelpers.h"
#include "media/Clock.h"
#include "progress/TPrizesControl.h"

namespace {
constexpr float kCategoryMs = 600;
constexpr float kTotalMs = 1000;
constexpr float kLevelStarsMs = 800;
constexpr int32_t kPrizeIntervalMs = 500;
constexpr int kRowCentre = 399;
constexpr int kRowTop = 230;
constexpr int kRowGap = 10;

std::string WholeNumber(const LinearValuePtr& v) {
    return std::to_string(static_cast<long long>(std::trunc(v ? v->value : 0.0f)));
}
}  // namespace

void TResultsCountUp::Start(TLevelStat& stat, int finalLevel) {
    FinalLevel = finalLevel;
    IsHiScore = stat.IsHiScore;
    Notes = TLinearValue::Create(0, static_cast<float>(stat.Notes), kCategoryMs);
    Frets = TLinearValue::Create(0, static_cast<float>(stat.Frets), kCategoryMs);
    Stars = TLinearValue::Create(0, static_cast<float>(stat.Stars), kCategoryMs);
    Melodies = TLinearValue::Create(0, static_cast<float>(stat.Melodies), kCategoryMs);
    stat.Accuracy = std::clamp(stat.Accuracy, 0, 100);
    Accuracy = TLinearValue::Create(0, static_cast<float>(stat.Accuracy), kCategoryMs);
    TotalScore = TLinearValue::Create(0, static_cast<float>(stat.Notes), kCategoryMs);
    StarsForLevel = TLinearValue::Create(0, static_cast<float>(stat.StarsForLevel), kLevelStarsMs);
    LabelsShowingState = STAGE_NOTES;
    PrizesAddTime = 0;
}

void TResultsCountUp::StartPrizeRow() { PrizesX = kRowCentre - TPrizesControl::CollectedWidth() / 2; }

// The new count starts where the last one was heading, so the total jumps
// forward when that one had not finished.
void TResultsCountUp::RestartTotal(float target) { TotalScore = TLinearValue::Create(TotalScore->dist, target, kTotalMs); }

void TResultsCountUp::FinishCategory(Listener& listener, int nextStage, const char* labelId) {
    LabelsShowingState = nextStage;
    listener.Ding();
    listener.Burst(labelId);
}

void TResultsCountUp::Step(Listener& listener) {
    switch (LabelsShowingState) {
        case STAGE_NOTES:
            TotalScore->Update();
            Notes->Update();
            if (Notes->ValueAchieved() != 0) {
                FinishCategory(listener, STAGE_STARS, "notes");
                RestartTotal(Notes->dist + Stars->dist);
            }
            break;
        case STAGE_STARS:
            Stars->Update();
            TotalScore->Update();
            if (Stars->ValueAchieved() != 0) {
                FinishCategory(listener, STAGE_FRETS, "stars");
                RestartTotal(Notes->dist + Stars->dist + Frets->dist);
            }
            break;
        case STAGE_FRETS:
            TotalScore->Update();
            Frets->Update();
            if (Frets->ValueAchieved() != 0) {
                FinishCategory(listener, STAGE_MELODIES, "frets");
                RestartTotal(Notes->dist + Stars->dist + Frets->dist + Melodies->dist);
            }
            break;
        case STAGE_MELODIES:
            TotalScore->Update();
            Melodies->Update();
            if (Melodies->ValueAchieved() != 0) FinishCategory(listener, STAGE_ACCURACY, "melodies");
            break;
        case STAGE_ACCURACY:
            Accuracy->Update();
            TotalScore->Update();
            if (Accuracy->ValueAchieved() != 0) FinishCategory(listener, STAGE_PRIZES, "accuracy");
            break;
        case STAGE_PRIZES: {
            // The raw millisecond counter, as the pop-ups' interval is not
            // part of the level's time.
            const int32_t now = ClockMs();
            if ((PrizesAddTime == 0 || now - PrizesAddTime > kPrizeIntervalMs) && !NewPrizes.empty()) {
                listener.AddNextPrize();
                PrizesAddTime = now;
            }
            if (NewPrizes.empty()) LabelsShowingState = STAGE_LEVEL_STARS;
            break;
        }
        case STAGE_LEVEL_STARS:
            StarsForLevel->Update();
            if (StarsForLevel->ValueAchieved() != 0) LabelsShowingState = STAGE_DONE;
            break;
        default:
            break;
    }
}

PrizeWidgetPtr TResultsCountUp::PlaceNextPrize(int dialogX, int dialogY) {
    if (NewPrizes.empty()) return nullptr;
    const PrizePtr prize = NewPrizes.front();
    NewPrizes.erase(NewPrizes.begin());
    PrizeWidgetPtr w = TPrizeWidget::Create(MakeVector(static_cast<float>(PrizesX + dialogX),
                                                       static_cast<float>(kRowTop + dialogY)),
                                            prize->Image, 0);
    PrizesX += (prize->Image ? prize->Image->width : 0) + kRowGap;
    return w;
}

bool TResultsCountUp::LabelValue(const std::string& labelId, std::string& text) const {
    if (labelId == "notes") text = WholeNumber(Notes);
    else if (labelId == "stars") text = WholeNumber(Stars);
    else if (labelId == "frets") text = WholeNumber(Frets);
    else if (labelId == "melodies") text = WholeNumber(Melodies);
    else if (labelId == "totalscore") text = WholeNumber(TotalScore);
    else if (labelId == "accuracy") text = FormatDecimal(Accuracy ? Accuracy->value : 0.0f, 1);
    else return false;
    return true;
}

bool TResultsCountUp::HiScoreMarkerShown() const { return LabelsShowingState > STAGE_MELODIES && IsHiScore != 0; }

bool TResultsCountUp::StarLit(int n) const { return StarsForLevel && StarsForLevel->value >= static_cast<float>(n); }
