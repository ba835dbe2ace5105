#pragma once
#include <cstdint>
#include <vector>

#include "game/TMidiNote.h"
#include "game/TNoteLineCircle.h"
#include "gui/TWidget.h"

// The melody row over the highway: when a melody's head note is caught or
// missed, one circle per note of the melody appears; each further catch or
// miss lights the next one (a miss crosses it out). When the row is full the
// melody is judged once: completed (bonus points growing with its length, an
// impulse, a picture over the row) or failed. Created once by the game
// controller; the catching rules feed it through PickNote.
class TNoteLineWidget : public TWidget {
    TOTEM_CLASS(TNoteLineWidget)

    std::vector<NoteLineCirclePtr> NoteLine;
    int32_t CurrentPosition = 0;   // circles passed
    int32_t LastPickTime = 0;
    int32_t completed = 0;
    int32_t FailCheckDone = 0;

    virtual void StopGame();
    virtual void PickNote(const MidiNotePtr& note, int failed);
    virtual void StartNoteLine(const MidiNotePtr& note);
    virtual void AddCircle(int note);

    void Draw() override;
    void Update(float dt) override;
    void AddedToManager() override {}
};
