// totem-chart: looks at a song chart (notes.mid) the way a level loads it.
//
//   totem-chart info FILE COMPLEXITY         the lines the game prints while
//                                            loading, then a summary
//   totem-chart dump FILE COMPLEXITY         every loaded note and message
//   totem-chart check FILE COMPLEXITY SPEED  playability rules at that level
//                                            speed; one line per violation
//
// COMPLEXITY is the level's octave shift. Exit status: 0 fine, 1 rules
// broken (check), 2 unreadable chart or bad command line.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "game/ChartRules.h"
#include "game/TMidiFile.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: totem-chart info FILE COMPLEXITY | dump FILE COMPLEXITY | "
                 "check FILE COMPLEXITY SPEED\n");
    return 2;
}

bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < -100 || v > 100) return false;
    value = int(v);
    return true;
}

bool ParseSpeed(const std::string& text, double& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v) || v <= 0 || v > 100) return false;
    value = v;
    return true;
}

void Out(const std::string& line) { std::printf("%s\n", line.c_str()); }

bool IsLine(const TMidiNote& n) {
    return n.note >= TMidiFile::NOTE_LINE_FIRST && n.note <= TMidiFile::NOTE_LINE_LAST;
}

// When the last thing of the chart ends, in ms.
int64_t SongLength(const TMidiFile& chart) {
    int64_t end = 0;
    for (const auto& n : chart.notes) {
        int64_t last = n->StartTime;
        if (IsLine(*n) || n->note == TMidiFile::NOTE_FRET) last += int64_t(n->Length) * 30;
        end = std::max(end, last);
    }
    for (const auto& m : chart.Messages) end = std::max(end, int64_t(m->StartTime) + m->Length);
    return end;
}

std::string MinutesSeconds(int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60));
    return text;
}

void Summary(const TMidiFile& chart) {
    int lines[5] = {};
    int frets = 0, starred = 0, longNotes = 0, bonus = 0, flashes = 0;
    std::vector<int> melodies;
    for (const auto& ptr : chart.notes) {
        const TMidiNote& n = *ptr;
        if (IsLine(n)) ++lines[n.note - TMidiFile::NOTE_LINE_FIRST];
        if (n.note == TMidiFile::NOTE_FRET) ++frets;
        if (n.note == TMidiFile::NOTE_BONUS) ++bonus;
        if (n.note == TMidiFile::NOTE_FLASH) ++flashes;
        if (n.Starred) ++starred;
        if ((IsLine(n) || n.note == TMidiFile::NOTE_FRET) && n.Length > ChartRules::LONG_NOTE_MIN) ++longNotes;
        if (n.StartLine == 1 && n.single == 0) {
            int length = 0;
            for (const TMidiNote* m = &n; m; m = m->next_.get()) ++length;
            melodies.push_back(length);
        }
    }
    const int64_t length = SongLength(chart);
    const int playable = lines[0] + lines[1] + lines[2] + lines[3] + lines[4] + frets;
    char text[160];
    Out("song length: " + std::to_string(length) + " ms (" + MinutesSeconds(length) + ")");
    std::snprintf(text, sizeof text, "line notes: %d %d %d %d %d", lines[0], lines[1], lines[2], lines[3],
                  lines[4]);
    Out(text);
    Out("frets: " + std::to_string(frets));
    Out("starred: " + std::to_string(starred));
    Out("long notes: " + std::to_string(longNotes));
    std::string melodyText = "melodies: " + std::to_string(melodies.size());
    if (!melodies.empty()) {
        melodyText += " (notes:";
        for (int m : melodies) melodyText += " " + std::to_string(m);
        melodyText += ")";
    }
    Out(melodyText);
    Out("bonus items: " + std::to_string(bonus));
    Out("light flashes: " + std::to_string(flashes));
    Out("messages: " + std::to_string(chart.Messages.size()));
    std::snprintf(text, sizeof text, "notes per second: %.2f",
                  length > 0 ? playable * 1000.0 / double(length) : 0.0);
    Out(text);
}

void Dump(const TMidiFile& chart) {
    std::map<const TMidiNote*, size_t> index;
    for (size_t i = 0; i < chart.notes.size(); ++i) index[chart.notes[i].get()] = i;
    for (const auto& n : chart.notes) {
        long long next = -1;
        if (n->next_) {
            auto it = index.find(n->next_.get());
            if (it != index.end()) next = static_cast<long long>(it->second);
        }
        std::printf("note=%d start=%d length=%d single=%d startline=%d starred=%d next=%lld\n", n->note,
                    n->StartTime, n->Length, n->single, n->StartLine, n->Starred, next);
    }
    for (const auto& m : chart.Messages) {
        std::printf("message=%d start=%d length=%d\n", m->velocity, m->StartTime, m->Length);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    const int wanted = command == "check" ? 5 : 4;
    if ((command != "info" && command != "dump" && command != "check") || argc != wanted) return Usage();
    const std::string path = argv[2];
    int complexity = 0;
    double speed = 1.0;
    if (!ParseInt(argv[3], complexity)) return Usage();
    if (command == "check" && !ParseSpeed(argv[4], speed)) return Usage();

    TMidiFile chart;
    std::vector<std::string> printed;
    chart.Log = [&printed](const std::string& line) { printed.push_back(line); };
    if (chart.Load(path, complexity) != 0) {
        std::fprintf(stderr, "%s\n", chart.Error.c_str());
        return 2;
    }

    if (command == "info") {
        for (const std::string& line : printed) Out(line);
        Summary(chart);
        return 0;
    }
    if (command == "dump") {
        Dump(chart);
        return 0;
    }
    const ChartRules rules(speed);
    const std::vector<ChartViolation> violations = rules.Check(chart);
    for (const ChartViolation& v : violations) Out(v.Line());
    if (!violations.empty()) return 1;
    int notes = 0, melodies = 0;
    for (const auto& n : chart.notes) {
        if (IsLine(*n) || n->note == TMidiFile::NOTE_FRET) ++notes;
        if (n->StartLine == 1 && n->single == 0) ++melodies;
    }
    char text[200];
    std::snprintf(text, sizeof text, "ok: %d notes and frets, %d melodies, playable at speed %g", notes,
                  melodies, speed);
    Out(text);
    return 0;
}
