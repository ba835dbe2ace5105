#include "tools/totem-songgen/SongDescription.h"

#include <fstream>
#include <map>
#include <sstream>

#include "tools/totem-songgen/MusicScale.h"
#include "tools/totem-songgen/SongStyle.h"

namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool ParseKey(const std::string& text, int& key) {
    static const std::map<std::string, int> names = {
        {"C", 0},  {"C#", 1}, {"Db", 1},  {"D", 2},  {"D#", 3}, {"Eb", 3}, {"E", 4},   {"F", 5},
        {"F#", 6}, {"Gb", 6}, {"G", 7},   {"G#", 8}, {"Ab", 8}, {"A", 9},  {"A#", 10}, {"Bb", 10},
        {"B", 11}};
    auto it = names.find(text);
    if (it == names.end()) return false;
    key = it->second;
    return true;
}

bool ParseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end && *end == '\0';
}

bool ParseInt(const std::string& text, long long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return end && *end == '\0';
}

// "intro:4 A:8 A:8 B:8 A:8 outro:4"
bool ParseStructure(const std::string& text, std::vector<SongSection>& out, std::string& why) {
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        size_t colon = word.find(':');
        long long bars = 0;
        if (colon == std::string::npos || colon == 0 || !ParseInt(word.substr(colon + 1), bars) || bars < 1 ||
            bars > 64) {
            why = "structure entry \"" + word + "\" is not name:bars (1-64 bars)";
            return false;
        }
        out.push_back({word.substr(0, colon), int(bars)});
    }
    if (out.empty()) {
        why = "structure lists no sections";
        return false;
    }
    return true;
}

}  // namespace

bool SongDescription::Parse(const std::string& text, const std::string& file, SongDescription& out,
                            std::string& error) {
    auto fail = [&](const std::string& why) {
        error = file + ": " + why;
        return false;
    };
    std::map<std::string, std::string> fields;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        std::string t = Trim(line);
        if (t.empty() || t[0] == '#') continue;
        size_t eq = t.find('=');
        if (eq == std::string::npos) return fail("line " + std::to_string(lineNo) + " is not key=value");
        std::string key = Trim(t.substr(0, eq));
        if (fields.count(key)) return fail("field \"" + key + "\" is given twice");
        fields[key] = Trim(t.substr(eq + 1));
    }
    static const char* required[] = {"title", "tempo", "key", "scale", "style", "structure", "seed"};
    for (const char* name : required)
        if (!fields.count(name) || fields[name].empty()) return fail(std::string("missing field \"") + name + "\"");
    static const char* known[] = {"title", "tempo", "key",  "scale",          "style",
                                  "structure", "seed", "lead", "comp"};
    for (const auto& [name, value] : fields) {
        bool ok = false;
        for (const char* k : known) ok = ok || name == k;
        if (!ok) return fail("unknown field \"" + name + "\"");
    }

    SongDescription d;
    d.title = fields["title"];
    if (!ParseNumber(fields["tempo"], d.tempo) || d.tempo < 40 || d.tempo > 240)
        return fail("tempo \"" + fields["tempo"] + "\" is not a number of beats per minute from 40 to 240");
    if (!ParseKey(fields["key"], d.key)) return fail("key \"" + fields["key"] + "\" is not a note name such as C, F# or Bb");
    d.scale = fields["scale"];
    if (!IsKnownScale(d.scale)) return fail("unknown scale \"" + d.scale + "\"");
    d.style = fields["style"];
    if (!SongStyle::Find(d.style)) return fail("unknown style \"" + d.style + "\"");
    std::string why;
    if (!ParseStructure(fields["structure"], d.structure, why)) return fail(why);
    long long seed = 0;
    if (!ParseInt(fields["seed"], seed) || seed < 0 || seed > 0xFFFFFFFFll)
        return fail("seed \"" + fields["seed"] + "\" is not a whole number from 0 to 4294967295");
    d.seed = uint32_t(seed);
    for (auto [name, target] : {std::pair{"lead", &d.leadProgram}, std::pair{"comp", &d.compProgram}}) {
        if (!fields.count(name)) continue;
        long long program = 0;
        if (!ParseInt(fields[name], program) || program < 0 || program > 127)
            return fail(std::string(name) + " \"" + fields[name] + "\" is not a General MIDI program 0-127");
        *target = int(program);
    }
    out = d;
    return true;
}

bool SongDescription::Load(const std::string& path, SongDescription& out, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return Parse(text.str(), path, out, error);
}

int SongDescription::TotalBars() const {
    int bars = 0;
    for (const auto& s : structure) bars += s.bars;
    return bars;
}
