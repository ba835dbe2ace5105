#include "tools/totem-songgen/ChartBuilder.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "tools/totem-songgen/SongRandom.h"

namespace {

constexpr int kShortNoteTicks = 60;
// Items need the whole highway run (about 2.5 s at the slowest speed) to be seen coming.
constexpr int kFirstItemMs = 3000;

bool IsLine(int note) { return note >= ChartNote::kLine0 && note <= ChartNote::kLine0 + 4; }
bool IsPlayable(int note) { return IsLine(note) || note == ChartNote::kFret || note == ChartNote::kBonus; }
bool IsLong(const ChartItem& i) { return IsLine(i.note) && i.velocity >= 90 && i.velocity <= 120; }

int StartMs(const SongScore& s, const ChartItem& i) { return s.ReaderMs(i.tick); }
int EndMs(const SongScore& s, const ChartItem& i) {
    return IsLong(i) ? s.ReaderMs((long long)i.tick + i.length) : s.ReaderMs(i.tick);
}

// The quiet time the player needs between item a and the next item b.
int RequiredGap(const DifficultyRules& r, const ChartItem& a, const ChartItem& b) {
    int gap = r.minGapMs;
    if (IsLine(a.note) && IsLine(b.note)) gap += r.msPerLine * std::abs(a.note - b.note);
    if (a.note == ChartNote::kBonus || b.note == ChartNote::kBonus) gap += 2 * r.msPerLine;
    return gap;
}

// The problem with b following a, or empty.
std::string PairProblem(const SongScore& s, const DifficultyRules& r, const ChartItem& a, const ChartItem& b) {
    const int free = StartMs(s, b) - EndMs(s, a);
    if (IsLine(a.note) && IsLine(b.note) && std::abs(a.note - b.note) > r.maxJump)
        return "a jump of " + std::to_string(std::abs(a.note - b.note)) + " lines";
    if (free < RequiredGap(r, a, b))
        return std::to_string(free) + " ms after the previous item, " + std::to_string(RequiredGap(r, a, b)) +
               " needed";
    return {};
}

// Lines by melodic contour: within a phrase, higher notes sit further right and
// repeated pitches share a line.
std::map<int, std::map<int, int>> ContourLines(const SongScore& score, const DifficultyRules& r) {
    std::map<int, std::set<int>> pitches;
    for (const auto& n : score.lead) pitches[n.phrase].insert(n.pitch);
    std::map<int, std::map<int, int>> lines;
    for (const auto& [phrase, set] : pitches) {
        const int count = int(set.size());
        int rank = 0;
        for (int p : set) {
            int line = count <= 5 ? (5 - count) / 2 + rank : int(std::lround(rank * 4.0 / (count - 1)));
            line = r.lowLine + int(std::lround(line * (r.highLine - r.lowLine) / 4.0));
            lines[phrase][p] = line;
            ++rank;
        }
    }
    return lines;
}

class Builder {
public:
    Builder(const SongScore& score, const DifficultyRules& rules, uint32_t seed)
        : s_(score), r_(rules), rng_(seed) {}

    std::vector<ChartItem> Run() {
        // Long notes first, then the band's hits, then the rest of the tune.
        LeadNotes(true);
        Frets();
        LeadNotes(false);
        std::vector<ChartItem> out;
        for (auto& [tick, item] : items_) out.push_back(item);
        Melodies(out);
        for (const auto& item : out) items_[item.tick] = item;
        Bonuses();
        out.clear();
        for (auto& [tick, item] : items_) out.push_back(item);
        Flashes(out);
        Messages(out);
        std::stable_sort(out.begin(), out.end(), [](const ChartItem& a, const ChartItem& b) { return a.tick < b.tick; });
        return out;
    }

private:
    bool Fits(const ChartItem& c) const {
        auto next = items_.lower_bound(c.tick);
        if (next != items_.end() && !PairProblem(s_, r_, c, next->second).empty()) return false;
        if (next != items_.begin() && !PairProblem(s_, r_, std::prev(next)->second, c).empty()) return false;
        // The catcher travels from the last line it was on, even across a fret.
        if (IsLine(c.note)) {
            for (auto it = next; it != items_.end(); ++it)
                if (IsLine(it->second.note)) {
                    if (!PairProblem(s_, r_, c, it->second).empty()) return false;
                    break;
                }
            for (auto it = next; it != items_.begin();) {
                --it;
                if (IsLine(it->second.note)) {
                    if (!PairProblem(s_, r_, it->second, c).empty()) return false;
                    break;
                }
            }
        }
        return true;
    }

    void Insert(const ChartItem& c) {
        if (s_.ReaderMs(c.tick) < kFirstItemMs) return;
        if (Fits(c)) {
            items_[c.tick] = c;
            return;
        }
        if (!IsLine(c.note)) return;
        // Too far to travel: a nearer line in the same direction still shows the tune's shape.
        int prevLine = -1;
        for (auto it = items_.lower_bound(c.tick); it != items_.begin();) {
            --it;
            if (IsLine(it->second.note)) {
                prevLine = it->second.note - ChartNote::kLine0;
                break;
            }
        }
        const int want = c.note - ChartNote::kLine0;
        for (int d = 1; d <= 4; ++d)
            for (int line : {want - d, want + d}) {
                if (line < r_.lowLine || line > r_.highLine) continue;
                if (prevLine >= 0 && (line > prevLine) != (want > prevLine)) continue;
                if (prevLine >= 0 && (line == prevLine) != (want == prevLine)) continue;
                ChartItem moved = c;
                moved.note = ChartNote::kLine0 + line;
                if (Fits(moved)) {
                    items_[c.tick] = moved;
                    return;
                }
            }
    }

    void LeadNotes(bool held) {
        auto lines = ContourLines(s_, r_);
        struct Candidate {
            int priority;
            const LeadNote* note;
        };
        std::vector<Candidate> candidates;
        int lastPhrase = -1;
        for (const auto& n : s_.lead) {
            const int inBeat = n.tick % SongScore::kPpqn;
            const bool onBeat = inBeat == 0;
            const bool onEighth = inBeat == 0 || inBeat == SongScore::kPpqn / 2 || inBeat == SongScore::kPpqn * 2 / 3;
            if (!onEighth && !r_.sixteenths) continue;
            const bool phraseStart = n.phrase != lastPhrase;
            lastPhrase = n.phrase;
            if (!onBeat && r_.beatsOnly && !n.accent && !phraseStart) continue;
            if (n.held != held) continue;
            int priority = n.held ? 4 : n.accent ? 3 : phraseStart ? 3 : onBeat ? 2 : onEighth ? 1 : 0;
            candidates.push_back({priority, &n});
        }
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const Candidate& a, const Candidate& b) { return a.priority > b.priority; });
        const int minHoldMs = 400;
        for (const auto& c : candidates) {
            const LeadNote& n = *c.note;
            ChartItem item;
            item.tick = n.tick;
            item.phrase = n.phrase;
            item.note = ChartNote::kLine0 + lines[n.phrase][n.pitch];
            item.velocity = ChartVelocity::kPlain;
            item.length = kShortNoteTicks;
            int holdTicks = n.length - s_.TicksForMs(60);
            // A band hit right after the held note gets room for its fret.
            auto hit = std::upper_bound(s_.bandHits.begin(), s_.bandHits.end(), n.tick);
            if (hit != s_.bandHits.end() && *hit < n.tick + n.length + s_.TicksForMs(r_.minGapMs))
                holdTicks = std::min(holdTicks, *hit - n.tick - s_.TicksForMs(r_.minGapMs + 20));
            if (n.held && s_.ReaderMs(n.tick + holdTicks) - s_.ReaderMs(n.tick) >= minHoldMs) {
                item.velocity = ChartVelocity::kLong;
                item.length = holdTicks;
            } else if (n.accent) {
                item.velocity = ChartVelocity::kStarred;
            }
            Insert(item);
        }
    }

    void Frets() {
        for (int tick : s_.bandHits) {
            ChartItem item;
            item.tick = tick;
            item.note = ChartNote::kFret;
            item.velocity = ChartVelocity::kPlain;
            item.length = kShortNoteTicks;
            Insert(item);
        }
    }

    // A bonus item in the first quiet stretch after every interval.
    void Bonuses() {
        int nextMs = r_.bonusEveryMs / 2;
        const int step = SongScore::kPpqn / 2;
        for (int tick = 0; tick < s_.endTick - s_.ticksPerBar; tick += step) {
            if (s_.ReaderMs(tick) < nextMs) continue;
            ChartItem item;
            item.tick = tick;
            item.note = ChartNote::kBonus;
            item.velocity = 64;
            item.length = kShortNoteTicks;
            if (s_.ReaderMs(tick) < kFirstItemMs || !Fits(item) || rng_.Chance(0.3)) continue;
            // Every catch moves the melody row on, so a bonus item never follows melody notes.
            auto before = items_.lower_bound(tick);
            if (before != items_.begin() && std::prev(before)->second.velocity < 60) continue;
            items_[tick] = item;
            nextMs = s_.ReaderMs(tick) + r_.bonusEveryMs;
        }
    }

    // Consecutive plain notes of one phrase become melodies of three to six notes.
    void Melodies(std::vector<ChartItem>& out) {
        size_t i = 0;
        while (i < out.size()) {
            auto plain = [&](size_t k) {
                return IsLine(out[k].note) && out[k].velocity == ChartVelocity::kPlain;
            };
            if (!plain(i)) {
                ++i;
                continue;
            }
            size_t j = i + 1;
            while (j < out.size() && plain(j) && out[j].phrase == out[i].phrase) ++j;
            const int n = int(j - i);
            if (n >= 3) {
                const int chunks = (n + 5) / 6;
                size_t k = i;
                for (int c = 0; c < chunks; ++c) {
                    const int size = n / chunks + (c < n % chunks ? 1 : 0);
                    out[k].velocity = ChartVelocity::kMelodyHead;
                    for (int m = 1; m < size; ++m) out[k + size_t(m)].velocity = ChartVelocity::kMelodyMember;
                    k += size_t(size);
                }
            }
            i = j;
        }
    }

    // A light flash at every section start, never in the same millisecond as an item.
    void Flashes(std::vector<ChartItem>& out) {
        std::set<int> taken;
        for (const auto& i : out) taken.insert(StartMs(s_, i));
        for (size_t k = 0; k < s_.sections.size(); ++k) {
            const auto& sec = s_.sections[k];
            int strength = sec.name == "intro" ? 50 : sec.name == "outro" ? 60 : k + 2 >= s_.sections.size() ? 100 : 80;
            int tick = sec.startTick;
            while (taken.count(s_.ReaderMs(tick)) && tick > 0) tick = std::max(0, tick - 15);
            if (taken.count(s_.ReaderMs(tick))) continue;
            taken.insert(s_.ReaderMs(tick));
            out.push_back({tick, 30, ChartNote::kFlash, strength, -1});
        }
    }

    void Messages(std::vector<ChartItem>& out) {
        std::stable_sort(out.begin(), out.end(), [](const ChartItem& a, const ChartItem& b) { return a.tick < b.tick; });
        std::vector<std::pair<int, int>> wanted;  // (ms, picture)
        int firstMs = -1, lastEndMs = 0, melodyMs = -1, fretMs = -1, holdMs = -1;
        for (const auto& i : out) {
            if (!IsPlayable(i.note)) continue;
            if (firstMs < 0) firstMs = StartMs(s_, i);
            lastEndMs = std::max(lastEndMs, EndMs(s_, i));
            if (melodyMs < 0 && i.velocity == ChartVelocity::kMelodyHead) melodyMs = StartMs(s_, i);
            if (fretMs < 0 && i.note == ChartNote::kFret) fretMs = StartMs(s_, i);
            if (holdMs < 0 && IsLong(i)) holdMs = StartMs(s_, i);
        }
        if (firstMs < 0) return;
        const int shown = 1800;
        wanted.push_back({0, ChartMessage::kGetReady});
        for (auto [ms, picture] : {std::pair{melodyMs, ChartMessage::kMelody}, std::pair{fretMs, ChartMessage::kFrets},
                                   std::pair{holdMs, ChartMessage::kHold}})
            if (ms >= 0) wanted.push_back({std::max(0, ms - 2200), picture});
        for (size_t k = s_.sections.size(); k-- > 0;)
            if (s_.sections[k].name != "outro") {
                if (k > 0) wanted.push_back({s_.ReaderMs(s_.sections[k].startTick), ChartMessage::kFinalRound});
                break;
            }
        const int endMs = s_.ReaderMs(s_.endTick);
        if (endMs - lastEndMs > 1500) wanted.push_back({lastEndMs + 500, ChartMessage::kWellDone});
        std::stable_sort(wanted.begin(), wanted.end());
        // One at a time, with time for the previous picture to fade.
        int freeFrom = 0;
        for (auto [ms, picture] : wanted) {
            if (ms < freeFrom) continue;
            int length = picture == ChartMessage::kGetReady ? std::clamp(firstMs - 400, 1000, 3000) : shown;
            if (picture == ChartMessage::kWellDone) length = std::min(3000, endMs - ms);
            out.push_back({s_.TicksForMs(ms) + 1, s_.TicksForMs(length), ChartNote::kMessage, picture, -1});
            freeFrom = ms + length + 1500;
        }
    }

    const SongScore& s_;
    const DifficultyRules r_;
    SongRandom rng_;
    std::map<int, ChartItem> items_;  // playable items by tick
};

}  // namespace

DifficultyRules ChartBuilder::RulesFor(int complexity) {
    DifficultyRules r;
    switch (std::clamp(complexity, 1, 4)) {
        case 1: r = {430, 60, 2, 1, 3, false, true, 12000}; break;
        case 2: r = {320, 35, 3, 0, 4, false, false, 15000}; break;
        case 3: r = {230, 28, 4, 0, 4, true, false, 18000}; break;
        default: r = {170, 20, 4, 0, 4, true, false, 20000}; break;
    }
    return r;
}

ChartDifficulty ChartBuilder::Build(const SongScore& score, int complexity, uint32_t seed) {
    ChartDifficulty chart;
    chart.complexity = complexity;
    chart.items = Builder(score, RulesFor(complexity), seed * 31u + uint32_t(complexity)).Run();
    return chart;
}

std::vector<std::string> ChartBuilder::Check(const SongScore& score, const ChartDifficulty& chart) {
    std::vector<std::string> problems;
    const DifficultyRules r = RulesFor(chart.complexity);
    auto at = [&](const ChartItem& i) { return "at " + std::to_string(score.ReaderMs(i.tick)) + " ms: "; };
    std::set<int> taken;
    const ChartItem* prev = nullptr;
    const ChartItem* prevLine = nullptr;
    int melodyLength = 0;  // notes of the melody being read so far
    bool expectMember = false;
    for (size_t k = 0; k < chart.items.size(); ++k) {
        const ChartItem& i = chart.items[k];
        if (k > 0 && i.tick < chart.items[k - 1].tick) problems.push_back(at(i) + "items out of time order");
        if (i.note < ChartNote::kLine0 || i.note > ChartNote::kFlash) problems.push_back(at(i) + "unknown note number");
        if (i.note == ChartNote::kMessage) {
            if (i.velocity < 1 || i.velocity > 6) problems.push_back(at(i) + "message picture outside 1-6");
            continue;
        }
        if (!taken.insert(score.ReaderMs(i.tick)).second) problems.push_back(at(i) + "two notes in one millisecond");
        if (!IsPlayable(i.note)) continue;
        if (score.ReaderMs(i.tick) < kFirstItemMs) problems.push_back(at(i) + "too early to be seen coming");
        if (prev) {
            std::string p = PairProblem(score, r, *prev, i);
            if (!p.empty()) problems.push_back(at(i) + p);
        }
        if (IsLine(i.note) && prevLine && prevLine != prev) {
            std::string p = PairProblem(score, r, *prevLine, i);
            if (!p.empty()) problems.push_back(at(i) + p + " (across a fret or bonus)");
        }
        // Melodies: a head followed directly by one to five members, plain notes only.
        const bool head = IsLine(i.note) && i.velocity >= 31 && i.velocity <= 59;
        const bool member = i.note <= ChartNote::kFret && i.velocity < 30;
        if (expectMember && !member) problems.push_back(at(*prev) + "melody head without members");
        if (member && melodyLength == 0) problems.push_back(at(i) + "melody note without a head before it");
        if (i.note == ChartNote::kBonus && melodyLength > 0)
            problems.push_back(at(i) + "a bonus item inside a melody");
        if (i.note == ChartNote::kFret && (member || (i.velocity >= 31 && i.velocity <= 59)))
            problems.push_back(at(i) + "a fret inside a melody");
        if (head) {
            melodyLength = 1;
            expectMember = true;
        } else if (member && melodyLength > 0) {
            expectMember = false;
            if (++melodyLength == 7) problems.push_back(at(i) + "melody longer than six notes");
        } else {
            melodyLength = 0;
            expectMember = false;
        }
        if (IsLong(i) && score.ReaderMs((long long)i.tick + i.length) - score.ReaderMs(i.tick) < 150)
            problems.push_back(at(i) + "long note too short to hold");
        prev = &i;
        if (IsLine(i.note)) prevLine = &i;
    }
    if (expectMember) problems.push_back(at(*prev) + "melody head without members");
    return problems;
}
