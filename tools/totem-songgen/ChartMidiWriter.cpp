#include "tools/totem-songgen/ChartMidiWriter.h"

#include <algorithm>
#include <string>

namespace {

struct Event {
    long long tick;
    int order;  // note-offs before meta before note-ons at one tick
    std::vector<uint8_t> bytes;
};

void VarLen(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t buf[5];
    int n = 0;
    buf[n++] = uint8_t(v & 0x7F);
    while (v >>= 7) buf[n++] = uint8_t((v & 0x7F) | 0x80);
    while (n) out.push_back(buf[--n]);
}

void Be(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> ChartMidiWriter::Write(const SongScore& score, const std::vector<ChartDifficulty>& charts) {
    std::vector<Event> events;
    const std::string name = "chart";
    std::vector<uint8_t> meta = {0xFF, 0x03, uint8_t(name.size())};
    meta.insert(meta.end(), name.begin(), name.end());
    events.push_back({0, 1, meta});
    events.push_back({0, 1, {0xFF, 0x51, 0x03, uint8_t(score.tempoUs >> 16), uint8_t(score.tempoUs >> 8),
                             uint8_t(score.tempoUs)}});
    events.push_back({0, 1, {0xFF, 0x58, 0x04, uint8_t(score.beatsPerBar), 0x02, 0x18, 0x08}});
    long long last = score.endTick;
    for (const auto& chart : charts) {
        for (const auto& item : chart.items) {
            const int note = item.note - 12 * chart.complexity;
            if (note < 0 || note > 127) continue;
            const int length = std::max(1, item.length);
            events.push_back({item.tick, 2, {0x90, uint8_t(note), uint8_t(std::clamp(item.velocity, 0, 127))}});
            events.push_back({(long long)item.tick + length, 0, {0x80, uint8_t(note), 0x40}});
            last = std::max(last, (long long)item.tick + length);
        }
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> track;
    long long now = 0;
    for (const auto& e : events) {
        VarLen(track, uint32_t(e.tick - now));
        now = e.tick;
        track.insert(track.end(), e.bytes.begin(), e.bytes.end());
    }
    VarLen(track, uint32_t(last - now));
    track.insert(track.end(), {0xFF, 0x2F, 0x00});

    std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
    Be(file, 6, 4);
    Be(file, 0, 2);  // format 0
    Be(file, 1, 2);
    Be(file, SongScore::kPpqn, 2);
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    Be(file, uint32_t(track.size()), 4);
    file.insert(file.end(), track.begin(), track.end());
    return file;
}
