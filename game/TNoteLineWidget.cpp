#include "game/TNoteLineWidget.h"

#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "game/TImpulseEffectController.h"
#include "game/GameGlobals.h"
#include "game/GameplayEvents.h"
#include "game/TFloatPoints.h"
#include "game/TGame.h"
#include "game/TLevelStat.h"
#include "game/TMidiFile.h"
#include "media/Graphics.h"

void TNoteLineWidget::StartNoteLine(const MidiNotePtr& head) {
    if (!head || !head->next_) return;
    FailCheckDone = 0;
    NoteLine.clear();
    for (MidiNotePtr n = head; n; n = n->next_) AddCircle(n->note);
    CurrentPosition = 0;
    completed = 0;
}

void TNoteLineWidget::AddCircle(int note) {
    if (note > TMidiFile::NOTE_LINE_LAST) return;  // frets get no circle
    auto circle = std::make_shared<TNoteLineCircle>();
    circle->SetNote(note - TMidiFile::NOTE_LINE_FIRST);
    NoteLine.push_back(circle);
}

void TNoteLineWidget::PickNote(const MidiNotePtr& note, int failed) {
    if (note && note->StartLine == 1) StartNoteLine(note);
    const int count = static_cast<int>(NoteLine.size());
    // No melody in progress, or the row is already passed.
    if (CurrentPosition >= count) return;
    CurrentPosition += 1;
    if (failed == 1) NoteLine[static_cast<size_t>(CurrentPosition - 1)]->Fail();
    if (CurrentPosition == count && FailCheckDone == 0) {
        completed = 1;
        for (const auto& c : NoteLine)
            if (c->IsFailed() != 0) completed = 0;
        FailCheckDone = 1;
        if (completed == 1) {
            int points = 50 * count * (count - 1);
            points *= Game ? Game->GetPointsMult() : 1;
            if (CurrentLevelStat) CurrentLevelStat->Melodies += points;
            TFloatPoints::Create(points, MakeVector(_x + _width / 2, _y + _height / 2), 0);
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
        GameClock - static_cast<float>(LastPickTime) > 2000) {
        // An empty row has no circle passed: the next pick must not count on
        // from the row that was shown.
        NoteLine.clear();
        CurrentPosition = 0;
        completed = 0;
    }
}

void TNoteLineWidget::StopGame() { NoteLine.clear(); }

void TNoteLineWidget::Draw() {
    SetViewport(0, 0, 800, 600);
    const int n = static_cast<int>(NoteLine.size());
    float x = static_cast<float>(static_cast<int>(_width) / 2) - static_cast<float>(n) * 20.5f + 20.5f;
    const float y = static_cast<float>(static_cast<int>(_height) / 2);
    for (int i = 1; i <= n; ++i) {
        SetAlpha(i <= CurrentPosition ? 1.0f : 0.5f);
        NoteLine[static_cast<size_t>(i - 1)]->Draw(x, y);
        x += 41;
    }
    SetAlpha(1);
    if (completed == 1 && n > 0)
        DrawImage(IMAGE_NOTELINE_CIRCLE_COMPLETED, static_cast<float>(static_cast<int>(_width) / 2),
                  static_cast<float>(static_cast<int>(_height) / 2));
}
