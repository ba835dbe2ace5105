#include "game/TAutoPlay.h"

#include <cmath>

#include "game/GameGlobals.h"
#include "game/HighwayGeometry.h"
#include "game/TBat.h"
#include "game/TFret.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TNote.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Input.h"

std::unique_ptr<TAutoPlay> AutoPlay;

namespace {

constexpr float kWindowOpen = HighwayGeometry::kCatchWindowOpen;
constexpr float kWindowClose = HighwayGeometry::kCatchWindowClose;
// The catcher adds the mouse's movement times this to its target.
constexpr float kMouseGain = 1.2f;
// A press reaches the highway's button tracking one frame after the poll that
// carries it and stays live 300 ms after its release: pressing a few frames
// ahead of the item keeps the click live across the whole catch window.
constexpr float kPressAheadMs = 5 * TAutoPlay::STEP_MS;

bool IsNote(const TItem& item) { return dynamic_cast<const TNote*>(&item) != nullptr; }

bool NeedsClick(const TItem& item) {
    if (dynamic_cast<const TFret*>(&item)) return true;
    const auto* note = dynamic_cast<const TNote*>(&item);
    return note && note->Starred != 0;
}

bool IsPlainNote(const TItem& item) { return IsNote(item) && !NeedsClick(item); }

// Milliseconds until the item's progress enters the catch window (negative inside it).
float MsToWindow(const TItem& item) { return (kWindowOpen - item.time) * 30.0f / item.SpeedCoef; }

bool StillToCatch(const TItem& item) {
    return item.PickUpStarted == 0 && item.SongError == 0 && item.IsOut == 0 && item.time < kWindowClose;
}

bool LevelPlays() {
    return Game && Game->Gryph && Bat && Game->Visible != 0 && Game->GamePaused == 0 && Game->LevelEnded == 0;
}

}  // namespace

void TAutoPlay::Start() {
    UseDrivenClock();
    UseSilentMixer();
    AutoPlay = std::make_unique<TAutoPlay>();
}

int TAutoPlay::FramesPerDrawing() const { return LevelPlays() ? PLAY_FRAMES_PER_DRAWING : 1; }

void TAutoPlay::StepClock() { AdvanceClock(STEP_MS); }

void TAutoPlay::Decide() {
    if (!LevelPlays()) {
        Release();
        return;
    }
    Steer();
    Click();
}

const TItem* TAutoPlay::Next(bool (*wanted)(const TItem&)) const {
    const TItem* next = nullptr;
    for (const ItemPtr& item : Game->Gryph->Items)
        if (wanted(*item) && StillToCatch(*item) && (!next || MsToWindow(*item) < MsToWindow(*next)))
            next = item.get();
    return next;
}

void TAutoPlay::Steer() {
    int line = -1;
    // A long note being held keeps the catcher on its line until its tail has passed.
    for (const ItemPtr& item : Game->Gryph->Items)
        if (IsNote(*item) && item->PickUpStarted != 0 && item->PickUpEnded == 0) line = item->LineNum;
    if (line < 0) {
        const TItem* note = Next(IsNote);
        if (!note) return;
        line = note->LineNum;
    }
    float x = Bat->mx;
    if (TBat::LineForX(x) == line) return;
    InjectMouseMotion(static_cast<int>(std::lround((TBat::LineKeyX(line) - Bat->mx) / kMouseGain)), 0);
}

void TAutoPlay::Click() {
    if (buttonDown_) {
        Release();
        return;
    }
    const TItem* target = Next(NeedsClick);
    if (!target || MsToWindow(*target) > kPressAheadMs) return;
    // A plain note caught first would take the click: wait until it has been.
    if (const TItem* note = Next(IsPlainNote); note && MsToWindow(*note) < MsToWindow(*target)) return;
    if (Game->Gryph->ClickLive()) return;
    InjectMouseButton(1, true);
    buttonDown_ = true;
}

void TAutoPlay::Release() {
    if (!buttonDown_) return;
    InjectMouseButton(1, false);
    buttonDown_ = false;
}
