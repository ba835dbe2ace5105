#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/TObject.h"
#include "game/TMidiNote.h"
#include "media/TStream.h"

// Reads a song chart (notes.mid) into the notes the highway spawns and the
// message notes it shows. Only the part of the MIDI file format that charts
// use is understood; one chart holds several difficulties an octave apart and
// the octave shift picks one. A damaged or missing file is reported with its
// name and Load returns non-zero, so the caller never starts a level on it.
class TMidiFile : public TObject {
    TOTEM_CLASS(TMidiFile)

    // Note numbers the game understands (after the octave shift).
    static constexpr int NOTE_LINE_FIRST = 84;  // 84-88: lines 0-4
    static constexpr int NOTE_LINE_LAST = 88;
    static constexpr int NOTE_FRET = 89;
    static constexpr int NOTE_MESSAGE = 90;
    static constexpr int NOTE_BONUS = 91;
    static constexpr int NOTE_FLASH = 92;
    static constexpr float DEFAULT_TEMPO = 500000;  // µs per quarter note

    int32_t RunningStatusCommand = 0;
    float PPQN = 0;
    float BPM = 0;    // clocks per metronome click of the last time signature
    float Tempo = 0;  // µs per quarter note of the last tempo event
    float dt = 0;
    int32_t time = 0;
    int32_t StarredCount = 0;
    int32_t FretsCount = 0;
    int32_t MaxRazogrev = 0;
    std::vector<MidiNotePtr> notes;     // game notes, file order
    std::vector<MidiNotePtr> Messages;  // message notes, file order

    // What the chart checker wants to know besides the notes.
    int32_t TempoEventCount = 0;
    int32_t TrackCount = 0;
    // Game notes removed because an earlier one starts in the same millisecond.
    std::vector<MidiNotePtr> SameTimeDropped;
    // "<file>: <problem>" after a failed load, empty otherwise.
    std::string Error;

    // Where loading lines go; PrintLine unless replaced (tools, tests).
    std::function<void(const std::string&)> Log;

    TMidiFile();

    // Loads the chart at path. 0 on success; -1 when the file is missing or
    // damaged, after one line naming it has gone to Log.
    int Load(const std::string& path, int shift);
    // The same from an open stream; its Name() names it in reports.
    int Load(TStream& stream, int shift);

    // Reads one track chunk whose id has been read; length receives the
    // chunk's length.
    int readtrackdata(TStream& stream, int64_t& length);
    // Reads a variable-length count and that many bytes; returns them as
    // "$XX " groups (only used to skip data).
    std::string ReadEventData(TStream& stream);
    int64_t ReadVarLen(TStream& stream);
    int64_t get32(TStream& stream);
    uint16_t get16(TStream& stream);

private:
    void Reset(const std::string& name);
    int ReadU8(TStream& stream);
    bool Fail(const std::string& problem);
    void ReadHeader(TStream& stream);
    void ReadMeta(TStream& stream, int64_t trackEnd);
    void SkipBytes(TStream& stream, int64_t count, int64_t limit, const char* what);
    void ConvertTimes(int shift);
    void MoveMessages();
    void DropUnusedAndSameTime();
    void ApplyVelocities();

    bool failed_ = false;
    bool haveHeader_ = false;
    std::string name_;
    int track_ = 0;
    static constexpr int64_t NO_LIMIT = INT64_MAX;
    int64_t limit_ = NO_LIMIT;  // end of the track chunk being read
    // Tick times while reading, kept wide; index = position in `notes`.
    std::vector<int64_t> startTicks_;
    std::vector<int64_t> lengthTicks_;
    // Index in `notes` of the last note-on of each note number, -1 for none.
    int lastNoteOn_[128];
};

using MidiFilePtr = std::shared_ptr<TMidiFile>;
