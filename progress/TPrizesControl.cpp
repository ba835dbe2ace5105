#include "progress/TPrizesControl.h"

#include <algorithm>

#include "content/ResourceCatalogue.h"
#include "core/TextHelpers.h"
#include "game/GameGlobals.h"
#include "progress/Prizes.h"
#include "progress/ProgressGlobals.h"
#include "progress/TPrizeWidget.h"

std::vector<PrizePtr> ArmedPrizes;
std::vector<PrizePtr> NewPrizes;

namespace {
constexpr float kPopUpCentreX = 150;
constexpr int kPopUpMs = 3000;
constexpr int kRowGap = 10;

// A prize just earned. Without a profile (none chosen yet) it counts as new
// but is kept nowhere.
void Receive(const PrizePtr& prize) {
    const std::string name = ClassNameOf(prize);
    const GameDataPtr data = CurrentUser ? CurrentUser->GameData : nullptr;
    if (data && data->HasPrize(name)) return;
    if (data) data->Prizes.push_back(name);
    TPrizeWidget::Create(MakeVector(kPopUpCentreX, static_cast<float>(TPrizeWidget::GetActivePrizesHeight())),
                         prize->Image, kPopUpMs);
    PlayGameSound(SOUND_RESULT_ACHIVEMENT);
    if (NewPrizes.size() < MAX_NEW_PRIZES) NewPrizes.push_back(prize);
}
}  // namespace

void TPrizesControl::CreatePrizes() {
    NewPrizes.clear();
    ArmedPrizes.clear();
    for (const PrizeClass& c : PrizeClasses()) ArmedPrizes.push_back(CreatePrize(c));
}

int TPrizesControl::CollectedWidth() {
    int width = 0;
    for (const PrizePtr& prize : NewPrizes) width += (prize->Image ? prize->Image->width : 0) + kRowGap;
    return width;
}

void TPrizesControl::SendEvent(const std::string& name) {
    const std::string event = LowerAscii(name);
    // Earned prizes leave the list while it is walked.
    const auto armed = ArmedPrizes;
    for (const PrizePtr& prize : armed) {
        if (prize->Event(event) == 0) continue;
        Receive(prize);
        std::erase(ArmedPrizes, prize);
    }
}
