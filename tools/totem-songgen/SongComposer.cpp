#include "tools/totem-songgen/SongComposer.h"

#include <algorithm>
#include <map>

#include "tools/totem-songgen/MusicScale.h"
#include "tools/totem-songgen/SongRandom.h"
#include "tools/totem-songgen/SongStyle.h"

namespace {

constexpr int kPpqn = SongScore::kPpqn;
constexpr int kCompChannel = 1, kBassChannel = 2, kPadChannel = 3, kExtraChannel = 4;

bool IsFrame(const std::string& name) { return name == "intro" || name == "outro"; }

uint32_t Hash(const std::string& s, uint32_t seed) {
    uint32_t h = 2166136261u ^ seed;
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    return h;
}

class Composer {
public:
    Composer(const SongDescription& d, const SongStyle& style, const MusicScale& scale, SongScore& score, bool loop)
        : d_(d), style_(style), scale_(scale), score_(score), rng_(d.seed), loop_(loop) {}

    void Run() {
        score_.tempoUs = int(60000000.0 / d_.tempo + 0.5);
        score_.beatsPerBar = style_.beatsPerBar;
        score_.ticksPerBar = style_.beatsPerBar * kPpqn;
        score_.programs.fill(-1);
        score_.programs[SongScore::kLeadChannel] = d_.leadProgram >= 0 ? d_.leadProgram : style_.leadProgram;
        score_.programs[kCompChannel] = d_.compProgram >= 0 ? d_.compProgram : style_.compProgram;
        score_.programs[kBassChannel] = style_.bassProgram;
        if (style_.padProgram >= 0) score_.programs[kPadChannel] = style_.padProgram;
        if (style_.extraProgram >= 0) score_.programs[kExtraChannel] = style_.extraProgram;
        score_.programs[SongScore::kDrumChannel] = 0;

        LayOutChords();
        int tick = 0, bar = 0;
        const int totalBars = d_.TotalBars();
        for (size_t si = 0; si < d_.structure.size(); ++si) {
            const SongSection& sec = d_.structure[si];
            score_.sections.push_back({sec.name, tick, sec.bars});
            for (int b = 0; b < sec.bars; ++b, ++bar) {
                const int barTick = bar * score_.ticksPerBar;
                const bool last = bar == totalBars - 1 && !loop_;
                if (last) {
                    FinalChord(barTick, bar);
                    continue;
                }
                Drums(barTick, b == sec.bars - 1 && sec.bars > 1, b == 0, sec.name == "intro" && b < sec.bars / 2);
                Bass(barTick, bar);
                Comp(barTick, bar, style_.compPattern, kCompChannel, style_.compGate, style_.compLow, 72);
                if (style_.extraProgram >= 0 && !style_.extraPattern.empty() && sec.name != "intro")
                    Comp(barTick, bar, style_.extraPattern, kExtraChannel, style_.extraGate, style_.extraLow, 58);
                if (style_.padProgram >= 0) Pad(barTick, bar);
            }
            Lead(sec, tick, bar - sec.bars);
            tick += sec.bars * score_.ticksPerBar;
        }
        score_.endTick = totalBars * score_.ticksPerBar;
        auto byTick = [](const auto& a, const auto& b) { return a.tick < b.tick; };
        std::stable_sort(score_.band.begin(), score_.band.end(), byTick);
        std::stable_sort(score_.lead.begin(), score_.lead.end(), byTick);
        std::sort(score_.bandHits.begin(), score_.bandHits.end());
        score_.bandHits.erase(std::unique(score_.bandHits.begin(), score_.bandHits.end()), score_.bandHits.end());
    }

private:
    // One chord (scale degree) per bar, the same progression for every section of one name.
    void LayOutChords() {
        std::map<std::string, std::vector<int>> chosen;
        for (const auto& sec : d_.structure) {
            std::string key = IsFrame(sec.name) ? std::string("A") : sec.name;
            if (!chosen.count(key)) {
                SongRandom r(Hash(key, d_.seed));
                chosen[key] = r.Pick(style_.progressions);
            }
            const auto& prog = sec.name == "intro" ? style_.progressions.front() : chosen[key];
            for (int b = 0; b < sec.bars; ++b) barChords_.push_back(prog[size_t(b) % prog.size()]);
        }
    }

    int StepTick(int step) const {
        int beat = step / 4, sub = step % 4;
        static const int straight[4] = {0, 120, 240, 360};
        static const int swung[4] = {0, 160, 320, 400};
        return beat * kPpqn + (style_.swing ? swung[sub] : straight[sub]);
    }

    int StepsPerBar() const { return style_.beatsPerBar * 4; }

    void Add(int channel, int tick, int length, int pitch, int velocity) {
        if (length < 10 || pitch < 0 || pitch > 127) return;
        score_.band.push_back({tick, length, channel, pitch, std::clamp(velocity, 1, 127)});
    }

    static int StepVelocity(char c) { return c == 'X' ? 118 : c == 'x' ? 96 : c == 'o' ? 62 : 0; }

    void Drums(int barTick, bool fill, bool sectionStart, bool sparse) {
        const auto& voices = fill ? style_.fill : style_.drums;
        for (const auto& v : voices) {
            for (int s = 0; s < StepsPerBar() && s < int(v.steps.size()); ++s) {
                int vel = StepVelocity(v.steps[size_t(s)]);
                if (!vel) continue;
                if (sparse && (v.key == 42 || v.key == 46 || v.key == 70)) continue;
                vel += rng_.Range(-5, 5);
                Add(SongScore::kDrumChannel, barTick + StepTick(s), 100, v.key, vel);
            }
        }
        if (sectionStart) {
            Add(SongScore::kDrumChannel, barTick, 400, 49, 112);
            score_.bandHits.push_back(barTick);
        }
    }

    int BassRoot(int bar) const {
        int cls = scale_.ChordRootClass(barChords_[size_t(bar)]);
        return 36 + cls - (cls >= 8 ? 12 : 0);  // E1 … G2, where a bass guitar sits
    }

    void Bass(int barTick, int bar) {
        const std::string& p = style_.bassPattern;
        const int root = BassRoot(bar);
        const auto chord = scale_.Chord(barChords_[size_t(bar)], 3, root);
        const int nextRoot = bar + 1 < int(barChords_.size()) ? BassRoot(bar + 1) : root;
        for (int s = 0; s < int(p.size()) && s < StepsPerBar(); ++s) {
            char c = p[size_t(s)];
            if (c == '.') continue;
            int next = s + 1;
            while (next < int(p.size()) && next < StepsPerBar() && p[size_t(next)] == '.') ++next;
            int len = StepTick(next) - StepTick(s) - 20;
            int pitch = root;
            if (c == 'f') pitch = chord[2];
            if (c == 'o') pitch = root + 12;
            if (c == 't') pitch = chord[1];
            if (c == 'w') pitch = nextRoot + (nextRoot > root ? -1 : 1);
            Add(kBassChannel, barTick + StepTick(s), len, pitch, 96 + rng_.Range(-6, 6) + (s == 0 ? 8 : 0));
        }
    }

    void Comp(int barTick, int bar, const std::string& p, int channel, int gate, int low, int velocity) {
        const int notes = style_.sevenths ? std::max(style_.compNotes, 4) : style_.compNotes;
        auto chord = scale_.Chord(barChords_[size_t(bar)], notes == 2 ? 3 : notes, low);
        if (notes == 2) chord = {chord[0], chord[2], chord[0] + 12};  // a power chord
        int arp = 0;
        for (int s = 0; s < int(p.size()) && s < StepsPerBar(); ++s) {
            char c = p[size_t(s)];
            if (c == '.') continue;
            int next = s + 1;
            while (next < int(p.size()) && next < StepsPerBar() && p[size_t(next)] == '.') ++next;
            int end = gate > 0 ? std::min(StepTick(s + gate), score_.ticksPerBar) : StepTick(next);
            int len = end - StepTick(s) - 15;
            int vel = velocity + rng_.Range(-6, 6) + (s % 4 == 0 ? 6 : 0);
            if (c == 'x') {
                for (size_t i = 0; i < chord.size(); ++i)
                    Add(channel, barTick + StepTick(s) + int(i) * (channel == kCompChannel ? 6 : 0), len, chord[i], vel);
            } else if (c == 'a') {
                // Up and down through the chord and its octave.
                std::vector<int> cycle = chord;
                cycle.push_back(chord[0] + 12);
                for (int i = int(chord.size()) - 1; i > 0; --i) cycle.push_back(chord[size_t(i)]);
                Add(channel, barTick + StepTick(s), len, cycle[size_t(arp++) % cycle.size()], vel);
            }
        }
    }

    void Pad(int barTick, int bar) {
        auto chord = scale_.Chord(barChords_[size_t(bar)], 3, 55);
        for (int p : chord) Add(kPadChannel, barTick, score_.ticksPerBar - 10, p, 50);
    }

    void FinalChord(int barTick, int bar) {
        int len = score_.ticksPerBar;
        Add(SongScore::kDrumChannel, barTick, 400, 49, 118);
        Add(SongScore::kDrumChannel, barTick, 200, 36, 118);
        score_.bandHits.push_back(barTick);
        Add(kBassChannel, barTick, len, BassRoot(bar), 104);
        for (int p : scale_.Chord(0, 3, style_.compLow)) Add(kCompChannel, barTick, len, p, 90);
        if (style_.padProgram >= 0)
            for (int p : scale_.Chord(0, 3, 55)) Add(kPadChannel, barTick, len, p, 55);
    }

    // Melody pitches around the style's range, moved to the song's key.
    std::vector<int> LeadPitches() const {
        int shift = d_.key > 6 ? d_.key - 12 : d_.key;
        return scale_.MelodyPitches(style_.leadLow + shift, style_.leadHigh + shift);
    }

    bool IsChordTone(int pitch, int bar) const {
        auto chord = scale_.Chord(barChords_[size_t(bar)], style_.sevenths ? 4 : 3, 0);
        for (int c : chord)
            if ((pitch - c) % 12 == 0) return true;
        return false;
    }

    int NearestChordIndex(const std::vector<int>& pitches, int idx, int bar, bool preferRoot) const {
        int best = idx, bestDist = 99;
        int root = scale_.ChordRootClass(barChords_[size_t(bar)]);
        for (int i = 0; i < int(pitches.size()); ++i) {
            bool ok = preferRoot ? (pitches[size_t(i)] % 12 == root) : IsChordTone(pitches[size_t(i)], bar);
            int dist = std::abs(i - idx);
            if (ok && dist < bestDist) best = i, bestDist = dist;
        }
        return best;
    }

    // A section's melody is made once per section name and repeated on every
    // return of that section, so the song has a recognisable tune.
    void Lead(const SongSection& sec, int sectionTick, int firstBar) {
        if (sec.name == "intro") return;
        if (sec.name == "outro") {
            OutroLead(sec, sectionTick, firstBar);
            return;
        }
        auto it = melodies_.find(sec.name);
        if (it == melodies_.end() || it->second.bars != sec.bars)
            it = melodies_.insert_or_assign(sec.name, MakeMelody(sec, firstBar)).first;
        for (LeadNote n : it->second.notes) {
            n.tick += sectionTick;
            n.phrase += phraseBase_;
            score_.lead.push_back(n);
        }
        for (int h : it->second.hits) {
            score_.bandHits.push_back(sectionTick + h);
            Add(SongScore::kDrumChannel, sectionTick + h, 300, 49, 115);
            Add(SongScore::kDrumChannel, sectionTick + h, 100, 36, 115);
            int bar = firstBar + h / score_.ticksPerBar;
            for (int p : scale_.Chord(barChords_[size_t(bar)], 3, style_.compLow))
                Add(kCompChannel, sectionTick + h, kPpqn / 2, p, 112);
        }
        phraseBase_ += it->second.phrases;
    }

    struct Melody {
        int bars = 0, phrases = 0;
        std::vector<LeadNote> notes;  // ticks from the section start
        std::vector<int> hits;
    };

    Melody MakeMelody(const SongSection& sec, int firstBar) {
        SongRandom r(Hash(sec.name, d_.seed ^ 0x5bd1e995u));
        Melody m;
        m.bars = sec.bars;
        const auto pitches = LeadPitches();
        const int bpb = style_.beatsPerBar;
        int idx = int(pitches.size()) / 2;
        int phrase = 0;
        for (int pb = 0; pb < sec.bars; pb += style_.phraseBars, ++phrase) {
            const int bars = std::min(style_.phraseBars, sec.bars - pb);
            const int beats = bars * bpb;
            const int phraseTick = pb * score_.ticksPerBar;
            const bool answer = phrase % 2 == 1 || pb + bars >= sec.bars;
            const bool rising = r.Chance(0.5);
            const int heldStart = std::max(1, beats - 3);
            std::vector<LeadNote> notes;
            int beat = 0;
            while (beat < heldStart) {
                std::string cell = r.Pick(style_.cells);
                if (cell == "r" && beat == 0) cell = "x...";
                if (cell == "r") {
                    ++beat;
                    continue;
                }
                bool hold = r.Chance(style_.heldChance) && cell[0] == 'x' && beat + 2 <= heldStart && beat > 0;
                if (hold) cell = "x...";
                for (int s = 0; s < 4; ++s) {
                    if (cell[size_t(s)] != 'x') continue;
                    LeadNote n;
                    n.tick = phraseTick + StepTick(beat * 4 + s);
                    n.held = hold;
                    notes.push_back(n);
                }
                beat += hold ? 2 : 1;
            }
            LeadNote last;
            last.tick = phraseTick + heldStart * kPpqn;
            last.held = true;
            notes.push_back(last);
            // Lengths: up to the next onset, the last one held almost to the phrase's final beat.
            for (size_t i = 0; i < notes.size(); ++i) {
                int end = i + 1 < notes.size() ? notes[i + 1].tick : phraseTick + (beats - 1) * kPpqn - kPpqn / 4;
                notes[i].length = std::max(60, end - notes[i].tick - 30);
            }
            // Pitches: an arch or a valley, chord tones on the beats, the phrase ending on a
            // chord tone (the root when it answers).
            int highest = -1;
            for (size_t i = 0; i < notes.size(); ++i) {
                auto& n = notes[i];
                const int bar = firstBar + n.tick / score_.ticksPerBar;
                bool firstHalf = i < notes.size() / 2;
                int drift = (rising == firstHalf) ? 1 : -1;
                int step = r.Pick(std::vector<int>{-2, -1, -1, 0, 1, 1, 2, 3, -3}) + (r.Chance(0.45) ? drift : 0);
                if (i > 0) idx += step;
                idx = std::clamp(idx, 1, int(pitches.size()) - 2);
                bool onBeat = (n.tick - phraseTick) % kPpqn == 0;
                if (i + 1 == notes.size())
                    idx = NearestChordIndex(pitches, idx, bar, answer);
                else if (onBeat)
                    idx = NearestChordIndex(pitches, idx, bar, false);
                n.pitch = pitches[size_t(idx)];
                n.velocity = style_.leadVelocity + r.Range(-6, 4) + (onBeat ? 4 : 0);
                n.phrase = phrase;
                if (!n.held && (highest < 0 || n.pitch > notes[size_t(highest)].pitch)) highest = int(i);
            }
            // Accents: the peak of most phrases, and now and then the downbeat that opens one.
            auto accent = [](LeadNote& n) {
                n.accent = true;
                n.velocity = 120;
            };
            if (highest > 0 && r.Chance(0.85)) accent(notes[size_t(highest)]);
            if (phrase % 2 == 0 && !notes.front().held && r.Chance(0.5)) accent(notes.front());
            m.notes.insert(m.notes.end(), notes.begin(), notes.end());
            if (style_.bandHitEvery > 0 && phrase % style_.bandHitEvery == style_.bandHitEvery - 1 && beats >= 4)
                m.hits.push_back(phraseTick + (beats - 1) * kPpqn);
        }
        m.phrases = phrase;
        return m;
    }

    // The outro's lead: long notes on chord tones, the last one the tonic.
    void OutroLead(const SongSection& sec, int sectionTick, int firstBar) {
        const auto pitches = LeadPitches();
        int idx = int(pitches.size()) / 2;
        for (int b = 0; b < sec.bars; b += 2) {
            const int bar = firstBar + b;
            const bool last = b + 2 >= sec.bars;
            idx = NearestChordIndex(pitches, idx + (last ? 0 : rng_.Range(-2, 2)), bar, last);
            LeadNote n;
            n.tick = sectionTick + b * score_.ticksPerBar;
            int bars = std::min(2, sec.bars - b);
            n.length = bars * score_.ticksPerBar - kPpqn;
            n.pitch = pitches[size_t(idx)];
            n.velocity = style_.leadVelocity - 4;
            n.held = true;
            n.phrase = phraseBase_ + b / 2;
            score_.lead.push_back(n);
        }
        phraseBase_ += (sec.bars + 1) / 2;
    }

    const SongDescription& d_;
    const SongStyle& style_;
    const MusicScale& scale_;
    SongScore& score_;
    SongRandom rng_;
    std::vector<int> barChords_;
    std::map<std::string, Melody> melodies_;
    int phraseBase_ = 0;
    bool loop_ = false;
};

}  // namespace

bool SongComposer::Compose(const SongDescription& description, SongScore& score, std::string& error,
                           bool forLoop) {
    const SongStyle* style = SongStyle::Find(description.style);
    MusicScale scale;
    if (!style) {
        error = "unknown style \"" + description.style + "\"";
        return false;
    }
    if (!MusicScale::Make(description.scale, description.key, scale)) {
        error = "unknown scale \"" + description.scale + "\"";
        return false;
    }
    score = SongScore{};
    Composer(description, *style, scale, score, forLoop).Run();
    return true;
}
