#include "game/TMidiFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "media/System.h"

namespace {

constexpr int64_t ID_MTHD = 0x4D546864;  // "MThd"
constexpr int64_t ID_MTRK = 0x4D54726B;  // "MTrk"

// Times of absurdly long charts are held at the largest value rather than
// wrapping into negative times.
int32_t SaturatingInt(double value) {
    if (!(value < double(std::numeric_limits<int32_t>::max()))) return std::numeric_limits<int32_t>::max();
    if (!(value > double(std::numeric_limits<int32_t>::min()))) return std::numeric_limits<int32_t>::min();
    return int32_t(value);  // truncates toward zero
}

bool IsGameNote(int note) {
    return (note >= TMidiFile::NOTE_LINE_FIRST && note <= TMidiFile::NOTE_FRET) ||
           note == TMidiFile::NOTE_BONUS || note == TMidiFile::NOTE_FLASH;
}

}  // namespace

TMidiFile::TMidiFile() : Log([](const std::string& line) { PrintLine(line); }) {
    std::fill(std::begin(lastNoteOn_), std::end(lastNoteOn_), -1);
}

int TMidiFile::Load(const std::string& path, int shift) {
    StreamPtr file = OpenRead(path);
    if (!file) {
        Reset(path);
        Error = path + ": cannot be opened";
        if (Log) Log(Error);
        return -1;
    }
    // One read of the whole file; the parse below goes byte by byte.
    StreamPtr memory = OpenMemory(file->ReadAll(), path);
    return Load(*memory, shift);
}

int TMidiFile::Load(TStream& stream, int shift) {
    Reset(stream.Name());

    while (!failed_ && !stream.Eof()) {
        const int64_t id = get32(stream);
        if (failed_) break;
        if (!haveHeader_ && id != ID_MTHD) {
            Fail("is not a MIDI file (no MThd header)");
            break;
        }
        if (id == ID_MTHD) {
            ReadHeader(stream);
        } else if (id == ID_MTRK) {
            int64_t length = 0;
            readtrackdata(stream, length);
        } else {
            const int64_t length = get32(stream);
            if (failed_) break;
            SkipBytes(stream, length, stream.Size(), "a chunk");
        }
    }
    if (!failed_ && !haveHeader_) Fail("is not a MIDI file (no MThd header)");
    startTicks_.resize(notes.size());
    lengthTicks_.resize(notes.size());
    if (failed_) {
        notes.clear();
        Messages.clear();
        startTicks_.clear();
        lengthTicks_.clear();
        if (Log) Log(Error);
        return -1;
    }

    if (Tempo == 0) Tempo = DEFAULT_TEMPO;
    ConvertTimes(shift);
    startTicks_.clear();
    lengthTicks_.clear();
    MoveMessages();
    DropUnusedAndSameTime();
    ApplyVelocities();
    return 0;
}

void TMidiFile::Reset(const std::string& name) {
    notes.clear();
    Messages.clear();
    SameTimeDropped.clear();
    Error.clear();
    RunningStatusCommand = 0;
    PPQN = 0;
    BPM = 0;
    Tempo = 0;
    StarredCount = 0;
    FretsCount = 0;
    TempoEventCount = 0;
    TrackCount = 0;
    failed_ = false;
    haveHeader_ = false;
    name_ = name;
    track_ = 0;
    limit_ = NO_LIMIT;
    startTicks_.clear();
    lengthTicks_.clear();
    std::fill(std::begin(lastNoteOn_), std::end(lastNoteOn_), -1);
}

bool TMidiFile::Fail(const std::string& problem) {
    if (!failed_) Error = name_ + ": " + problem;
    failed_ = true;
    return false;
}

int TMidiFile::ReadU8(TStream& stream) {
    if (failed_) return 0;
    if (stream.Pos() >= std::min(limit_, stream.Size())) {
        Fail(limit_ != NO_LIMIT ? "has an event running past the end of its track chunk"
                                    : "ends in the middle of its data");
        return 0;
    }
    return stream.ReadByte();
}

int64_t TMidiFile::get32(TStream& stream) {
    int64_t value = 0;
    for (int i = 0; i < 4; ++i) value = value * 256 + ReadU8(stream);
    return value;
}

uint16_t TMidiFile::get16(TStream& stream) {
    const int high = ReadU8(stream);
    const int low = ReadU8(stream);
    return uint16_t(high * 256 + low);
}

int64_t TMidiFile::ReadVarLen(TStream& stream) {
    int byte = ReadU8(stream);
    int64_t value = byte;
    if (byte & 0x80) {
        value = byte & 0x7F;
        // The format allows four bytes; more can only be damage, and an
        // endless run of continuation bytes must not overflow.
        int count = 1;
        do {
            if (count == 4) {
                Fail("has a variable-length number longer than four bytes");
                return 0;
            }
            byte = ReadU8(stream);
            ++count;
            value = value * 128 + (byte & 0x7F);
        } while ((byte & 0x80) && !failed_);
    }
    return failed_ ? 0 : value;
}

std::string TMidiFile::ReadEventData(TStream& stream) {
    const int64_t count = ReadVarLen(stream);
    std::string text;
    if (failed_) return text;
    if (count > std::min(limit_, stream.Size()) - stream.Pos()) {
        Fail("has an event running past the end of its chunk");
        return text;
    }
    static const char digits[] = "0123456789ABCDEF";
    text.reserve(size_t(count) * 4);
    for (int64_t i = 0; i < count && !failed_; ++i) {
        const int byte = ReadU8(stream);
        text += '$';
        text += digits[byte >> 4];
        text += digits[byte & 15];
        text += ' ';
    }
    return text;
}

void TMidiFile::SkipBytes(TStream& stream, int64_t count, int64_t limit, const char* what) {
    if (failed_) return;
    if (count < 0 || count > limit - stream.Pos()) {
        Fail(std::string(what) + " runs past the end of " +
             (limit == stream.Size() ? "the file" : "its track chunk"));
        return;
    }
    stream.Seek(stream.Pos() + count);
}

void TMidiFile::ReadHeader(TStream& stream) {
    const int64_t length = get32(stream);
    if (failed_) return;
    if (length < 6) {
        Fail("has a header chunk shorter than 6 bytes");
        return;
    }
    if (length > stream.Size() - stream.Pos()) {
        Fail("has a header chunk running past the end of the file");
        return;
    }
    const int64_t start = stream.Pos();
    get16(stream);  // format
    get16(stream);  // number of tracks
    const uint16_t division = get16(stream);
    if (division & 0x8000) {
        Fail("uses time-code timing, which charts do not support");
        return;
    }
    if (division == 0) {
        Fail("has zero ticks per quarter note");
        return;
    }
    PPQN = float(division);
    haveHeader_ = true;
    stream.Seek(start + length);
}

int TMidiFile::readtrackdata(TStream& stream, int64_t& length) {
    length = get32(stream);
    if (failed_) return 0;
    const int64_t start = stream.Pos();
    if (length > stream.Size() - start) {
        Fail("has a track chunk running past the end of the file");
        return 0;
    }
    const int64_t end = start + length;
    limit_ = end;
    const int track = track_++;
    ++TrackCount;
    int64_t tick = 0;

    // Every pass consumes at least the delta time and the status byte, so the
    // loop always reaches the end of the chunk or fails.
    while (!failed_ && stream.Pos() < end) {
        tick += ReadVarLen(stream) & 0xFFFFFFFF;
        const int status = ReadU8(stream);
        if (failed_) break;
        int command = status >> 4;
        const int sub = status & 15;
        if (status < 0x80) {
            if (RunningStatusCommand < 8) {
                Fail("has a data byte where a status byte belongs");
                break;
            }
            command = RunningStatusCommand;
            stream.Seek(stream.Pos() - 1);
        }
        switch (command) {
            case 8: {
                const int number = ReadU8(stream) & 0x7F;
                ReadU8(stream);  // release velocity
                const int index = lastNoteOn_[number];
                if (index >= 0) lengthTicks_[size_t(index)] = tick - startTicks_[size_t(index)];
                RunningStatusCommand = 8;
                break;
            }
            case 9: {
                const int number = ReadU8(stream) & 0x7F;
                const int velocity = ReadU8(stream) & 0x7F;
                if (failed_) break;
                // Velocity 0 is a note of its own here: charts end notes
                // with note-off events.
                auto note = std::make_shared<TMidiNote>();
                note->note = number;
                note->velocity = velocity;
                note->Track = track;
                lastNoteOn_[number] = int(notes.size());
                notes.push_back(std::move(note));
                startTicks_.push_back(tick);
                lengthTicks_.push_back(0);
                RunningStatusCommand = 9;
                break;
            }
            case 10:
            case 11:
            case 14:
                ReadU8(stream);
                ReadU8(stream);
                RunningStatusCommand = command;
                break;
            case 12:
            case 13:
                ReadU8(stream);
                RunningStatusCommand = command;
                break;
            case 15:
                if (sub == 15) {
                    ReadMeta(stream, end);
                } else if (sub == 0 || sub == 7) {
                    // System-exclusive data carries its own length.
                    SkipBytes(stream, ReadVarLen(stream), end, "a system-exclusive event");
                }
                // The one-byte real-time messages carry nothing more.
                break;
            default:
                break;
        }
        if (!failed_ && stream.Pos() > end) Fail("has an event running past the end of its track chunk");
    }
    limit_ = NO_LIMIT;
    return 0;
}

void TMidiFile::ReadMeta(TStream& stream, int64_t trackEnd) {
    const int type = ReadU8(stream);
    if (failed_) return;
    switch (type) {
        case 0x51: {
            const int64_t length = ReadVarLen(stream);
            if (failed_) return;
            if (length > trackEnd - stream.Pos()) {
                Fail("has a tempo event running past the end of its track chunk");
                return;
            }
            if (length >= 3) {
                const int a = ReadU8(stream), b = ReadU8(stream), c = ReadU8(stream);
                Tempo = float((a << 16) | (b << 8) | c);
                ++TempoEventCount;
                SkipBytes(stream, length - 3, trackEnd, "a tempo event");
            } else {
                SkipBytes(stream, length, trackEnd, "a tempo event");
            }
            break;
        }
        case 0x58: {
            const int64_t length = ReadVarLen(stream);
            if (failed_) return;
            if (length > trackEnd - stream.Pos()) {
                Fail("has a time signature running past the end of its track chunk");
                return;
            }
            for (int64_t i = 0; i < length; ++i) {
                const int byte = ReadU8(stream);
                if (i == 2) BPM = float(byte);
            }
            break;
        }
        case 0x2F:
        case 0x01:
        case 0x02:
        case 0x03:
        case 0x04:
            SkipBytes(stream, ReadVarLen(stream), trackEnd, "a meta event");
            break;
        default:
            ReadEventData(stream);
            break;
    }
}

void TMidiFile::ConvertTimes(int shift) {
    // ticks × µs per quarter ÷ (ticks per quarter × 1000) in one division, so
    // times that come out whole are not lost to rounding.
    const double tempo = Tempo;
    const double perQuarter = PPQN;
    for (size_t i = 0; i < notes.size(); ++i) {
        TMidiNote& n = *notes[i];
        const double start = double(startTicks_[i]) * tempo / (perQuarter * 1000.0);
        const int64_t lengthTicks = std::max<int64_t>(lengthTicks_[i], 0);
        const double length = double(lengthTicks) * tempo / (perQuarter * 30000.0);
        n.StartTime = SaturatingInt(start);
        n.Length = SaturatingInt(length);
        const int64_t shifted = int64_t(n.note) + 12 * int64_t(shift);
        n.note = (shifted < 0 || shifted > 1000) ? -1 : int32_t(shifted);
    }
}

void TMidiFile::MoveMessages() {
    std::vector<MidiNotePtr> kept;
    kept.reserve(notes.size());
    for (MidiNotePtr& n : notes) {
        if (n->note == NOTE_MESSAGE) {
            n->Length = SaturatingInt(double(n->Length) * 30.0);
            Messages.push_back(std::move(n));
        } else {
            kept.push_back(std::move(n));
        }
    }
    notes = std::move(kept);
}

void TMidiFile::DropUnusedAndSameTime() {
    std::vector<MidiNotePtr> kept;
    kept.reserve(notes.size());
    for (MidiNotePtr& n : notes) {
        if (!IsGameNote(n->note)) continue;
        if (!kept.empty() && kept.back()->StartTime == n->StartTime) {
            SameTimeDropped.push_back(std::move(n));
            continue;
        }
        kept.push_back(std::move(n));
    }
    notes = std::move(kept);
}

void TMidiFile::ApplyVelocities() {
    StarredCount = 0;
    FretsCount = 0;
    int counter = 0;
    TMidiNote* prev = nullptr;
    for (const MidiNotePtr& ptr : notes) {
        TMidiNote& n = *ptr;
        if (n.note == NOTE_BONUS || n.note == NOTE_FLASH) continue;
        ++counter;
        if (Log) {
            Log(std::to_string(counter) + ": " + std::to_string(n.StartTime) + "; note: " +
                std::to_string(n.note) + "; velocity: " + std::to_string(n.velocity));
        }
        n.single = 1;
        if (n.velocity < 30) {
            n.single = 0;
            if (prev && prev->single == 1) prev->StartLine = 1;
        }
        if (n.velocity > 30 && n.velocity < 60) {
            n.single = 0;
            n.StartLine = 1;
        }
        if (n.velocity < 90 || n.velocity > 120) n.Length = 0;
        if (n.velocity > 120) n.Starred = 1;
        if (n.Starred) ++StarredCount;
        if (n.note == NOTE_FRET) ++FretsCount;
        if (prev && prev->single == 0 && n.single == 0 && n.StartLine == 0) prev->next_ = ptr;
        prev = &n;
    }
    if (Log) {
        Log("StarredCount = " + std::to_string(StarredCount));
        Log("FretsCount = " + std::to_string(FretsCount));
    }
}
