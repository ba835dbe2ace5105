#include "progress/THintWindow.h"

#include <algorithm>

#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "game/TGryph.h"
#include "media/Graphics.h"

THintWindow* ActiveHintWindow = nullptr;

namespace {
// Below this the meter counts as low.
constexpr float kLowMeter = 10;
// More failures in a row than this call for the hint.
constexpr int32_t kFailuresTolerated = 4;

const ImagePtr& HintImage(int n) {
    static const ImagePtr none;
    switch (n) {
        case THintWindow::HINT_MELODIES: return IMAGE_HINT_1;
        case THintWindow::HINT_FRETS: return IMAGE_HINT_2;
        case THintWindow::HINT_STARS: return IMAGE_HINT_3;
        default: return none;
    }
}
}  // namespace

THintWindow::THintWindow() { ActiveHintWindow = this; }

THintWindow::~THintWindow() {
    if (ActiveHintWindow == this) ActiveHintWindow = nullptr;
}

float THintWindow::ComboMeter() { return CurrentGryph ? CurrentGryph->Razogrev : 0.0f; }

void THintWindow::Reset() {
    HintsActivated[HINT_MELODIES] = HintsActivated[HINT_FRETS] = HintsActivated[HINT_STARS] = 0;
    ActiveHint = 0;
    StarsFailed = 0;
}

int THintWindow::ActivateHint(int n) {
    if (n < HINT_MELODIES || n > HINT_STARS || HintsActivated[n] != 0) return 1;
    ActivateTime = static_cast<int32_t>(GameClock);
    ActiveHint = n;
    HintsActivated[n] = 1;
    return 0;
}

void THintWindow::SendEvent(const std::string& name) {
    if (name == "starpick") StarsFailed = 0;
    else if (name == "starfail") StarsFailed += 1;
    else if (name == "fretpick") FretsFailed = 0;
    else if (name == "fretfail") FretsFailed += 1;
    else if (name == "melodycomplete") MelodiesFailed = 0;
    else if (name == "melodyfail") MelodiesFailed += 1;
}

void THintWindow::Update(float /*dt*/) {
    if (GameClock - static_cast<float>(ActivateTime) > static_cast<float>(ShowTime)) ActiveHint = 0;
    const bool lowMeter = ComboMeter() < kLowMeter;
    if (ActiveHint == 0 && lowMeter && StarsFailed > kFailuresTolerated) ActivateHint(HINT_STARS);
    if (ActiveHint == 0 && lowMeter && FretsFailed > kFailuresTolerated) ActivateHint(HINT_FRETS);
    if (ActiveHint == 0 && MelodiesFailed > kFailuresTolerated) ActivateHint(HINT_MELODIES);
}

float THintWindow::DrawAlpha() const {
    return std::min((static_cast<float>(ActivateTime + ShowTime) - GameClock) / 1000.0f, 1.0f);
}

void THintWindow::Draw() {
    if (ActiveHint <= 0) return;
    SetAlpha(DrawAlpha());
    DrawImage(HintImage(ActiveHint), 0, 0, 0);
}
