#pragma once
#include <cstdint>
#include <memory>

#include "core/TObject.h"

class TMidiNote;
using MidiNotePtr = std::shared_ptr<TMidiNote>;

// One note of a song chart after loading. The note number says what the
// highway shows (a line note, a fret, a bonus item, a message, a light flash),
// the other fields say how it behaves. Melodies are chained forwards through
// `next_`, so a chain never forms a reference cycle.
class TMidiNote : public TObject {
    TOTEM_CLASS(TMidiNote)

    int32_t note = 0;       // note number after the octave shift
    int32_t StartTime = 0;  // ms from the start of the song
    int32_t Length = 0;     // game notes: units of 30 ms; messages: ms
    int32_t single = 0;     // 1 = on its own, 0 = member of a chain
    int32_t velocity = 0;   // 0-127, as written in the chart
    MidiNotePtr next_;      // following note of the same chain
    int32_t StartLine = 0;  // 1 = head of a chain
    int32_t Starred = 0;    // 1 = starred note
    int32_t Track = 0;      // track chunk the note was read from, from 0

    // Unlinks a chain iteratively so a long melody cannot exhaust the stack
    // when its last owner lets go of it.
    ~TMidiNote() override;
};
