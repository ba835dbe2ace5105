#include "game/TNoteLineWidget.h"

#include "app/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "core/TVector.h"
#include "fx/TImpulseEffectController.h"
#include "game/GameGlobals.h"
#include "game/GameplayEvents.h"
#include "game/TFloatPoints.h"
#include "game/TGame.h"
#include "media/Graphics.h"

namespace {
// Note numbers above this are frets: they belong to a chain but get no circle.
constexpr int kLastLineNote = 88;
constexpr int kFirstLineNote = 84;
// A passed row stays this long after its last pick (ms).
constexpr int kRowShownMs = 2000;
// Distance between circle centres, and half of it.
constexpr float kCircleStep = 41.0f;
constexpr float kHalfStep = 20.5f;
}  // namespace

void TNoteLineWidget::StopGame() { NoteLine.clear(); }

void TNoteLineWidget::StartNoteLine(const MidiNotePtr& note) {
    // A lone head is no melody: whatever row is shown stays.
    if (!note || !note->next_) return;
    FailCheckDone = 0;
    NoteLine.clear();
    for (const TMidiNote* n = note.get(); n; n = n->next_.get()) AddCircle(n->note);
    CurrentPosition = 0;
    completed = 0;
}

void TNoteLineWidget::AddCircle(int note) {
    if (note > kLastLineNote) return;
    auto circle = std::make_shared<TNoteLineCircle>();
    circle->SetNote(note - kFirstLineNote);
    NoteLine.push_back(circle);
}

void TNoteLineWidget::PickNote(const MidiNotePtr& note, int failed) {
    if (note && note->StartLine == 1) StartNoteLine(note);
    const int count = static_cast<int>(NoteLine.size());
    if (CurrentPosition >= count) return;
    ++CurrentPosition;
    if (failed == 1) NoteLine[static_cast<size_t>(CurrentPosition - 1)]->Fail();
    if (CurrentPosition == count && FailCheckDone == 0) {
        completed = 1;
        for (const auto& circle : NoteLine)
            if (circle->IsFailed() != 0) completed = 0;
        FailCheckDone = 1;
        if (completed == 1) {
            // 100 for every note after the head: 0 + 100 + 200 + … for n notes.
            int points = 50 * count * (count - 1);
            points *= Game ? Game->GetPointsMult() : 1;
            if (CurrentLevelStat) CurrentLevelStat->Melodies += points;
            TFloatPoints::Create(points, MakeVector(_x + static_cast<float>(_width / 2),
                                                    _y + static_cast<float>(_height / 2)), 0);
            SendPrizeEvent("melodycomplete");
            SendHintEvent("melodycomplete");
            TImpulseEffectController::CreateImpulse(EFFECT_IMPULSE_MELODY);
        } else {
            SendPrizeEvent("melodyfail");
            SendHintEvent("melodyfail");
        }
    }
    LastPickTime = static_cast<int32_t>(GameClock);
}

void TNoteLineWidget::Update(float /*dt*/) {
    if (!NoteLine.empty() && CurrentPosition == static_cast<int>(NoteLine.size()) &&
        GameClock - static_cast<float>(LastPickTime) > kRowShownMs) {
        NoteLine.clear();
        completed = 0;
    }
}

void TNoteLineWidget::Draw() {
    // The circles and the picture over them may reach past the widget.
    SetViewport(0, 0, 800, 600);
    const float n = static_cast<float>(NoteLine.size());
    float x = static_cast<float>(_width / 2) - n * kHalfStep + kHalfStep;
    const float y = static_cast<float>(_height / 2);
    for (size_t i = 0; i < NoteLine.size(); ++i) {
        SetAlpha(static_cast<int>(i) < CurrentPosition ? 1.0f : 0.5f);
        NoteLine[i]->Draw(x, y);
        x += kCircleStep;
    }
    SetAlpha(1);
    if (completed == 1 && !NoteLine.empty())
        DrawImage(IMAGE_NOTELINE_CIRCLE_COMPLETED, static_cast<float>(_width / 2), static_cast<float>(_height / 2), 0);
}
