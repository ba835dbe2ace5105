#pragma once
// Builds small MIDI files byte by byte for the chart tests.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace midi_test {

using Bytes = std::vector<uint8_t>;

inline void PutVarLen(Bytes& out, uint32_t value) {
    uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = uint8_t(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1) out.push_back(uint8_t(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

inline void Put32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

inline void Put16(Bytes& out, uint16_t v) {
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

// Events in the order written, each after its delta time.
class Track {
public:
    // Any event bytes after a delta time (running status, odd messages).
    Track& Raw(uint32_t delta, std::initializer_list<uint8_t> bytes) {
        PutVarLen(data_, delta);
        data_.insert(data_.end(), bytes);
        return *this;
    }
    Track& RawBytes(uint32_t delta, const Bytes& bytes) {
        PutVarLen(data_, delta);
        data_.insert(data_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    Track& On(uint32_t delta, int note, int velocity, int channel = 0) {
        return Raw(delta, {uint8_t(0x90 | channel), uint8_t(note), uint8_t(velocity)});
    }
    Track& Off(uint32_t delta, int note, int velocity = 64, int channel = 0) {
        return Raw(delta, {uint8_t(0x80 | channel), uint8_t(note), uint8_t(velocity)});
    }
    Track& Tempo(uint32_t delta, uint32_t microsPerQuarter) {
        return Raw(delta, {0xFF, 0x51, 0x03, uint8_t(microsPerQuarter >> 16),
                           uint8_t(microsPerQuarter >> 8), uint8_t(microsPerQuarter)});
    }
    Track& Meta(uint32_t delta, int type, const std::string& text) {
        PutVarLen(data_, delta);
        data_.push_back(0xFF);
        data_.push_back(uint8_t(type));
        PutVarLen(data_, uint32_t(text.size()));
        data_.insert(data_.end(), text.begin(), text.end());
        return *this;
    }
    Track& End(uint32_t delta = 0) { return Raw(delta, {0xFF, 0x2F, 0x00}); }

    const Bytes& Data() const { return data_; }

private:
    Bytes data_;
};

// A chunk with any id and payload (a track's length is computed).
inline void PutChunk(Bytes& out, const char* id, const Bytes& payload) {
    out.insert(out.end(), id, id + 4);
    Put32(out, uint32_t(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
}

inline Bytes Header(uint16_t division, uint16_t tracks, uint16_t format = 1) {
    Bytes out;
    Bytes payload;
    Put16(payload, format);
    Put16(payload, tracks);
    Put16(payload, division);
    PutChunk(out, "MThd", payload);
    return out;
}

inline Bytes File(uint16_t division, std::initializer_list<Track> tracks) {
    Bytes out = Header(division, uint16_t(tracks.size()));
    for (const Track& t : tracks) PutChunk(out, "MTrk", t.Data());
    return out;
}

// A chart written at 1000 ticks per quarter and 1 000 000 µs per quarter, so
// one tick is one millisecond: notes are given by absolute time and length.
class Chart {
public:
    Chart& Note(int startMs, int number, int velocity, int lengthMs = 30) {
        events_.push_back({startMs, 1, order_++, {0x90, uint8_t(number), uint8_t(velocity)}});
        // A zero-length note ends after it starts, not before.
        events_.push_back({startMs + lengthMs, lengthMs > 0 ? 0 : 2, order_++, {0x80, uint8_t(number), 0x40}});
        return *this;
    }
    // Extra tempo events (the chart always starts with one).
    Chart& ExtraTempo(int atMs, uint32_t microsPerQuarter) {
        events_.push_back({atMs, 1, order_++,
                           {0xFF, 0x51, 0x03, uint8_t(microsPerQuarter >> 16),
                            uint8_t(microsPerQuarter >> 8), uint8_t(microsPerQuarter)}});
        return *this;
    }
    Chart& NoTempo() {
        tempo_ = false;
        return *this;
    }
    Track BuildTrack() const {
        std::vector<Event> sorted = events_;
        // Note-offs first within a tick, so a note can end where the next one
        // on the same number begins.
        std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
            if (a.tick != b.tick) return a.tick < b.tick;
            if (a.rank != b.rank) return a.rank < b.rank;
            return a.order < b.order;
        });
        Track track;
        if (tempo_) track.Tempo(0, 1000000);
        int now = 0;
        for (const Event& e : sorted) {
            track.RawBytes(uint32_t(e.tick - now), e.bytes);
            now = e.tick;
        }
        track.End();
        return track;
    }
    Bytes Build() const { return File(1000, {BuildTrack()}); }

private:
    struct Event {
        int tick;
        int rank;  // 0 = note-off
        int order;
        Bytes bytes;
    };
    std::vector<Event> events_;
    int order_ = 0;
    bool tempo_ = true;
};

}  // namespace midi_test
