#include "game/ChartRules.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

bool IsLineNote(const TMidiNote& n) {
    return n.note >= TMidiFile::NOTE_LINE_FIRST && n.note <= TMidiFile::NOTE_LINE_LAST;
}

bool IsLong(const TMidiNote& n) { return n.Length > ChartRules::LONG_NOTE_MIN; }

int64_t TailEnd(const TMidiNote& n) { return int64_t(n.StartTime) + int64_t(n.Length) * 30; }

std::string Ms(int64_t ms) { return std::to_string(ms) + " ms"; }

std::string Fixed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", std::ceil(value));
    return text;
}

std::string Kind(const TMidiNote& n) {
    if (IsLineNote(n)) return "line " + std::to_string(n.note - TMidiFile::NOTE_LINE_FIRST) + " note";
    if (n.note == TMidiFile::NOTE_FRET) return "fret";
    if (n.note == TMidiFile::NOTE_BONUS) return "bonus item";
    if (n.note == TMidiFile::NOTE_FLASH) return "light flash";
    if (n.note == TMidiFile::NOTE_MESSAGE) return "message";
    return "note " + std::to_string(n.note);
}

}  // namespace

// The catcher picture closes a third of its distance to the line under the
// pointer every frame. Lines lie about 72 pixels apart at the catch point, so
// after k frames a move of n lines has 72·n·(2/3)^k pixels left; it reads as
// arrived within half a line: (2/3)^k ≤ 1/(2n), k = ceil(ln(2n) / ln 1.5).
int ChartRules::TravelFrames(int lines) {
    if (lines <= 0) return 0;
    return int(std::ceil(std::log(2.0 * lines) / std::log(1.5) - 1e-9));
}

// Leaving line a: a short note is caught on the first frame inside its window,
// at the latest one frame after the window opens, t_a − 7.5/s + F; a long note
// is held until its tail end has passed, up to one frame after t_end.
// Reaching line b: the catcher must be there on a frame inside b's window, at
// the latest one frame before it closes, t_b + 45/s − F. In between it needs
// the travel time plus the player's reaction margin, so
//   t_b − t_a   ≥ travel(n) + reaction + 2F − (7.5 + 45)/s   (short note a)
//   t_b − t_end ≥ travel(n) + reaction + 2F − 45/s           (long note a)
// Higher speeds shrink the catch window and so ask for wider gaps.
double ChartRules::MinLineGapMs(int lines, bool fromTailEnd) const {
    const double slack = (WINDOW_AFTER_MS + (fromTailEnd ? 0.0 : WINDOW_BEFORE_MS)) / Speed;
    return TravelMs(lines) + ReactionMs + 2 * FRAME_MS - slack;
}

std::vector<ChartViolation> ChartRules::Check(const TMidiFile& chart) const {
    std::vector<ChartViolation> out;
    CheckTempo(chart, out);
    CheckTracks(chart, out);
    CheckSameTime(chart, out);
    CheckHasNotes(chart, out);
    CheckMelodies(chart, out);
    CheckLines(chart, out);
    CheckClicks(chart, out);
    CheckVelocities(chart, out);
    return out;
}

void ChartRules::CheckTempo(const TMidiFile& chart, std::vector<ChartViolation>& out) const {
    if (chart.TempoEventCount == 1) return;
    if (chart.TempoEventCount == 0) {
        out.push_back({"tempo", "no tempo event; the song is timed at 500000 us per quarter note"});
    } else {
        out.push_back({"tempo", std::to_string(chart.TempoEventCount) +
                                    " tempo events; only the last one read applies to the whole song"});
    }
}

void ChartRules::CheckTracks(const TMidiFile& chart, std::vector<ChartViolation>& out) const {
    std::set<int> tracks;
    for (const auto* list : {&chart.notes, &chart.Messages, &chart.SameTimeDropped}) {
        for (const auto& n : *list) tracks.insert(n->Track);
    }
    if (tracks.size() <= 1) return;
    std::string which;
    for (int t : tracks) which += (which.empty() ? "" : ", ") + std::to_string(t);
    out.push_back({"tracks", "chart notes are spread over tracks " + which + "; they must share one track"});
}

void ChartRules::CheckSameTime(const TMidiFile& chart, std::vector<ChartViolation>& out) const {
    for (const auto& n : chart.SameTimeDropped) {
        out.push_back({"same time", Kind(*n) + " at " + Ms(n->StartTime) +
                                        " is dropped: an earlier note starts in the same millisecond"});
    }
}

void ChartRules::CheckHasNotes(const TMidiFile& chart, std::vector<ChartViolation>& out) const {
    for (const auto& n : chart.notes) {
        if (IsLineNote(*n) || n->note == TMidiFile::NOTE_FRET) return;
    }
    out.push_back({"notes", "the chart has no notes or frets at this complexity"});
}

void ChartRules::CheckMelodies(const TMidiFile& chart, std::vector<ChartViolation>& out) const {
    const TMidiNote* head = nullptr;  // melody being walked
    int count = 0;
    auto close = [&]() {
        if (head && count < 2) {
            out.push_back({"melody", "melody at " + Ms(head->StartTime) + " has only its head note"});
        }
        head = nullptr;
        count = 0;
    };
    for (const auto& ptr : chart.notes) {
        const TMidiNote& n = *ptr;
        if (n.note == TMidiFile::NOTE_FLASH) continue;  // not an item
        if (n.note == TMidiFile::NOTE_BONUS) {
            // Every item caught moves the melody row on, bonus items too.
            if (head) {
                out.push_back({"melody", "bonus item at " + Ms(n.StartTime) + " falls inside the melody at " +
                                             Ms(head->StartTime)});
            }
            continue;
        }
        if (n.single == 0 && n.StartLine == 1) {
            close();
            head = &n;
            count = 1;
            if (!IsLineNote(n)) out.push_back({"melody", "melody at " + Ms(n.StartTime) + " starts with a fret"});
        } else if (n.single == 0) {
            if (!head) {
                out.push_back({"melody", Kind(n) + " at " + Ms(n.StartTime) +
                                             " continues a melody but follows no melody head"});
                continue;
            }
            ++count;
            if (!IsLineNote(n)) {
                out.push_back({"melody", "fret at " + Ms(n.StartTime) + " inside the melody at " +
                                             Ms(head->StartTime)});
            }
        } else {
            close();
        }
    }
    close();
}

void ChartRules::CheckLines(const TMidiFile& chart, std::vector<ChartViolation>& out) const {
    const TMidiNote* prev = nullptr;
    for (const auto& ptr : chart.notes) {
        const TMidiNote& n = *ptr;
        if (!IsLineNote(n)) continue;
        if (prev) {
            const int lines = std::abs(n.note - prev->note);
            const bool fromTail = IsLong(*prev);
            const int64_t from = fromTail ? TailEnd(*prev) : prev->StartTime;
            const int64_t gap = int64_t(n.StartTime) - from;
            const std::string what = Kind(*prev) + " at " + Ms(prev->StartTime) + " then " + Kind(n) + " at " +
                                     Ms(n.StartTime);
            // Notes on one line need no move; a second note of the same
            // number cannot start inside a tail (its note-off would end the
            // later note instead).
            if (lines > 0 && double(gap) < MinLineGapMs(lines, fromTail)) {
                out.push_back({"lines", what + ": " + Ms(gap) + (fromTail ? " after the tail" : "") +
                                            " to move " + std::to_string(lines) + " line(s), needs " +
                                            Fixed(MinLineGapMs(lines, fromTail)) + " ms"});
            }
        }
        prev = &n;
    }
}

void ChartRules::CheckClicks(const TMidiFile& chart, std::vector<ChartViolation>& out) const {
    // One press catches one fret or pays one starred note; the next needs a
    // release and another press.
    const TMidiNote* prev = nullptr;
    for (const auto& ptr : chart.notes) {
        const TMidiNote& n = *ptr;
        if (n.note != TMidiFile::NOTE_FRET && !(IsLineNote(n) && n.Starred)) continue;
        if (prev) {
            const int64_t gap = int64_t(n.StartTime) - prev->StartTime;
            if (double(gap) < ClickGapMs) {
                out.push_back({"clicks", (prev->Starred ? "starred " : "") + Kind(*prev) + " at " +
                                             Ms(prev->StartTime) + " then " + (n.Starred ? "starred " : "") +
                                             Kind(n) + " at " + Ms(n.StartTime) + ": " + Ms(gap) +
                                             " apart, two clicks need " + Fixed(ClickGapMs) + " ms"});
            }
        }
        prev = &n;
    }
}

void ChartRules::CheckVelocities(const TMidiFile& chart, std::vector<ChartViolation>& out) const {
    for (const auto& m : chart.Messages) {
        if (m->velocity < 1 || m->velocity > 6) {
            out.push_back({"message", "message at " + Ms(m->StartTime) + " has velocity " +
                                          std::to_string(m->velocity) + "; messages are numbered 1-6"});
        }
    }
    for (const auto& n : chart.notes) {
        if (n->note == TMidiFile::NOTE_FLASH && n->velocity > 100) {
            out.push_back({"flash", "light flash at " + Ms(n->StartTime) + " has velocity " +
                                        std::to_string(n->velocity) + "; flashes take 0-100"});
        }
    }
}
