#include "tools/totem-songgen/MusicScale.h"

#include <map>

namespace {

struct ScaleShape {
    std::vector<int> chord, melody;
};

const std::map<std::string, ScaleShape>& Shapes() {
    static const std::map<std::string, ScaleShape> shapes = {
        {"major", {{0, 2, 4, 5, 7, 9, 11}, {0, 2, 4, 5, 7, 9, 11}}},
        {"minor", {{0, 2, 3, 5, 7, 8, 10}, {0, 2, 3, 5, 7, 8, 10}}},
        {"dorian", {{0, 2, 3, 5, 7, 9, 10}, {0, 2, 3, 5, 7, 9, 10}}},
        {"mixolydian", {{0, 2, 4, 5, 7, 9, 10}, {0, 2, 4, 5, 7, 9, 10}}},
        {"harmonic", {{0, 2, 3, 5, 7, 8, 11}, {0, 2, 3, 5, 7, 8, 11}}},
        // Dominant chords under a minor-pentatonic line with the flat fifth.
        {"blues", {{0, 2, 4, 5, 7, 9, 10}, {0, 3, 5, 6, 7, 10}}},
        {"pentatonic", {{0, 2, 4, 5, 7, 9, 11}, {0, 2, 4, 7, 9}}},
        {"minorpentatonic", {{0, 2, 3, 5, 7, 8, 10}, {0, 3, 5, 7, 10}}},
    };
    return shapes;
}

}  // namespace

bool IsKnownScale(const std::string& name) { return Shapes().count(name) != 0; }

bool MusicScale::Make(const std::string& name, int key, MusicScale& out) {
    auto it = Shapes().find(name);
    if (it == Shapes().end()) return false;
    out.key = key;
    out.chordSteps = it->second.chord;
    out.melodySteps = it->second.melody;
    return true;
}

int MusicScale::ChordRootClass(int degree) const {
    int d = ((degree % 7) + 7) % 7;
    return (key + chordSteps[size_t(d)]) % 12;
}

std::vector<int> MusicScale::Chord(int degree, int notes, int low) const {
    std::vector<int> pitches;
    int root = ChordRootClass(degree);
    int base = low + ((root - low) % 12 + 12) % 12;
    int d = ((degree % 7) + 7) % 7;
    for (int i = 0; i < notes; ++i) {
        int idx = d + 2 * i;
        int octave = idx / 7;
        int pitch = key + chordSteps[size_t(idx % 7)] + 12 * octave;
        int rootPitch = key + chordSteps[size_t(d)];
        pitches.push_back(base + (pitch - rootPitch));
    }
    return pitches;
}

std::vector<int> MusicScale::MelodyPitches(int low, int high) const {
    std::vector<int> out;
    for (int p = low; p <= high; ++p) {
        int cls = ((p - key) % 12 + 12) % 12;
        for (int s : melodySteps)
            if (s == cls) out.push_back(p);
    }
    return out;
}
