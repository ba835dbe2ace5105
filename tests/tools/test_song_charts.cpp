#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "content/Xml.h"
#include "tools/totem-songgen/ChartBuilder.h"
#include "tools/totem-songgen/ChartMidiWriter.h"
#include "tools/totem-songgen/SongComposer.h"
#include "tools/totem-songgen/SongDescription.h"
#include "tools/totem-songgen/SongStyle.h"

namespace fs = std::filesystem;

namespace {

// What the game makes of one difficulty of a chart file, read here
// independently of the writer: start and length in milliseconds, the game's
// note number after the octave shift, the velocity.
struct Read {
    int ms = 0, lengthMs = 0, note = 0, velocity = 0;
};

struct ReadChart {
    int format = -1, tracks = 0, tempoEvents = 0;
    std::vector<Read> all;  // every difficulty: note numbers before the shift
    bool ok = false;
};

uint32_t Be(const std::vector<uint8_t>& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | b.at(at + size_t(i));
    return v;
}

ReadChart Parse(const std::vector<uint8_t>& b) {
    ReadChart c;
    if (b.size() < 14 || Be(b, 0, 4) != 0x4D546864) return c;
    c.format = int(Be(b, 8, 2));
    c.tracks = int(Be(b, 10, 2));
    const int ppqn = int(Be(b, 12, 2));
    size_t pos = 14;
    long long tempo = 500000;
    struct Raw {
        long long tick, end;
        int note, velocity;
    };
    std::vector<Raw> raw;
    while (pos + 8 <= b.size()) {
        const uint32_t id = Be(b, pos, 4), len = Be(b, pos + 4, 4);
        pos += 8;
        const size_t end = pos + len;
        if (id != 0x4D54726B) {
            pos = end;
            continue;
        }
        long long tick = 0;
        while (pos < end) {
            uint32_t delta = 0;
            uint8_t byte;
            do {
                byte = b.at(pos++);
                delta = delta << 7 | (byte & 0x7F);
            } while (byte & 0x80);
            tick += delta;
            const uint8_t status = b.at(pos++);
            if (status == 0xFF) {
                const uint8_t type = b.at(pos++);
                const uint8_t n = b.at(pos++);
                if (type == 0x51) {
                    tempo = Be(b, pos, 3);
                    ++c.tempoEvents;
                }
                pos += n;
            } else if ((status & 0xF0) == 0x90) {
                raw.push_back({tick, -1, b.at(pos), b.at(pos + 1)});
                pos += 2;
            } else if ((status & 0xF0) == 0x80) {
                for (auto it = raw.rbegin(); it != raw.rend(); ++it)
                    if (it->note == b.at(pos) && it->end < 0) {
                        it->end = tick;
                        break;
                    }
                pos += 2;
            } else {
                return c;  // the charts use nothing else
            }
        }
    }
    for (const auto& r : raw) {
        Read x;
        x.ms = int(r.tick * tempo / (ppqn * 1000ll));
        x.lengthMs = int((r.end - r.tick) * tempo / (ppqn * 1000ll));
        x.note = r.note;
        x.velocity = r.velocity;
        c.all.push_back(x);
    }
    c.ok = true;
    return c;
}

std::vector<Read> Difficulty(const ReadChart& c, int complexity) {
    std::vector<Read> out;
    for (Read r : c.all) {
        r.note += 12 * complexity;
        if (r.note >= 84 && r.note <= 92) out.push_back(r);
    }
    return out;
}

bool IsLine(int note) { return note >= 84 && note <= 88; }
bool Playable(int note) { return note <= 89 || note == 91; }

struct Song {
    std::string name;
    SongDescription description;
    SongScore score;
    std::vector<ChartDifficulty> charts;
    std::vector<uint8_t> midi;
};

const std::vector<Song>& Songs() {
    static const std::vector<Song> songs = [] {
        std::vector<Song> out;
        for (const auto& e : fs::directory_iterator(fs::path(TOTEM_SOURCE_DIR) / "assets/songs")) {
            if (e.path().extension() != ".song") continue;
            Song s;
            s.name = e.path().stem().string();
            std::string error;
            if (!SongDescription::Load(e.path().string(), s.description, error) ||
                !SongComposer::Compose(s.description, s.score, error)) {
                ADD_FAILURE() << error;
                continue;
            }
            for (int c = 1; c <= 4; ++c) s.charts.push_back(ChartBuilder::Build(s.score, c, 99));
            s.midi = ChartMidiWriter::Write(s.score, s.charts);
            out.push_back(std::move(s));
        }
        return out;
    }();
    return songs;
}

}  // namespace

TEST(SongCatalogue, TwelveSongsInDistinctStylesOfPlayableLength) {
    std::set<std::string> styles;
    for (const auto& s : Songs()) {
        styles.insert(s.description.style);
        EXPECT_GE(s.score.DurationSeconds(), 90.0) << s.name;
        EXPECT_LE(s.score.DurationSeconds(), 180.0) << s.name;
        EXPECT_EQ(s.name, [&] { std::string l = s.name; std::transform(l.begin(), l.end(), l.begin(), ::tolower); return l; }())
            << "song folders are lower case";
    }
    EXPECT_GE(Songs().size(), 12u);
    EXPECT_GE(styles.size(), 12u);
}

// The chart file as the game reads it: one track, one tempo, and in every
// difficulty the rules a player relies on.
TEST(SongCharts, EveryDifficultyFollowsTheChartRules) {
    for (const auto& s : Songs()) {
        ReadChart c = Parse(s.midi);
        ASSERT_TRUE(c.ok) << s.name;
        EXPECT_EQ(c.format, 0) << s.name;
        EXPECT_EQ(c.tracks, 1) << s.name;
        EXPECT_EQ(c.tempoEvents, 1) << s.name;
        for (int complexity = 1; complexity <= 4; ++complexity) {
            const auto rules = ChartBuilder::RulesFor(complexity);
            const auto items = Difficulty(c, complexity);
            const std::string where = s.name + " difficulty " + std::to_string(complexity);
            std::set<int> ms;
            const Read* prev = nullptr;
            int melody = 0, lines = 0, messages = 0, flashes = 0, longs = 0, stars = 0, frets = 0, heads = 0;
            for (const auto& r : items) {
                if (r.note == 90) {
                    EXPECT_TRUE(r.velocity >= 1 && r.velocity <= 6) << where;
                    ++messages;
                    continue;
                }
                EXPECT_TRUE(ms.insert(r.ms).second) << where << ": two notes at " << r.ms << " ms";
                if (r.note == 92) {
                    ++flashes;
                    continue;
                }
                if (!Playable(r.note)) continue;
                // Every catch moves the melody row on: bonus items stay out of melodies.
                if (r.note == 91) {
                    EXPECT_EQ(melody, 0) << where << ": bonus item inside a melody at " << r.ms;
                }
                const bool head = IsLine(r.note) && r.velocity >= 31 && r.velocity <= 59;
                const bool member = r.velocity < 30;
                if (member) {
                    EXPECT_GT(melody, 0) << where << ": melody note without head at " << r.ms;
                    EXPECT_TRUE(IsLine(r.note)) << where;
                    ++melody;
                    EXPECT_LE(melody, 6) << where << ": melody too long for its row at " << r.ms;
                } else {
                    if (melody == 1) ADD_FAILURE() << where << ": lone melody head before " << r.ms;
                    melody = head ? 1 : 0;
                    heads += head;
                }
                const bool isLong = IsLine(r.note) && r.velocity >= 90 && r.velocity <= 120;
                if (isLong) {
                    ++longs;
                    EXPECT_GT(r.lengthMs / 30, 4) << where << ": long note too short at " << r.ms;
                }
                stars += IsLine(r.note) && r.velocity >= 121;
                frets += r.note == 89;
                lines |= IsLine(r.note) ? 1 << (r.note - 84) : 0;
                if (prev) {
                    const int prevEnd = prev->ms + ((IsLine(prev->note) && prev->velocity >= 90 && prev->velocity <= 120)
                                                        ? prev->lengthMs : 0);
                    EXPECT_GE(r.ms - prevEnd, rules.minGapMs) << where << " at " << r.ms;
                    if (IsLine(prev->note) && IsLine(r.note)) {
                        const int jump = std::abs(r.note - prev->note);
                        EXPECT_LE(jump, rules.maxJump) << where << " at " << r.ms;
                        EXPECT_GE(r.ms - prevEnd, rules.minGapMs + jump * rules.msPerLine) << where << " at " << r.ms;
                    }
                }
                prev = &r;
            }
            EXPECT_NE(melody, 1) << where << ": the chart ends on a lone melody head";
            // Every kind of item turns up, and the lines in use match the difficulty.
            EXPECT_GT(messages, 0) << where;
            EXPECT_EQ(flashes, int(s.score.sections.size())) << where;
            EXPECT_GT(longs, 0) << where;
            EXPECT_GT(frets, 0) << where;
            EXPECT_GT(stars + heads, 0) << where;
            const int expectedLines = ((1 << (rules.highLine + 1)) - 1) & ~((1 << rules.lowLine) - 1);
            EXPECT_EQ(lines & ~expectedLines, 0) << where;
        }
    }
}

TEST(SongCharts, HarderDifficultiesAreDenser) {
    for (const auto& s : Songs()) {
        ReadChart c = Parse(s.midi);
        std::vector<int> playable;
        for (int complexity = 1; complexity <= 4; ++complexity) {
            int n = 0;
            for (const auto& r : Difficulty(c, complexity)) n += r.note <= 89;  // notes and frets
            playable.push_back(n);
        }
        EXPECT_LE(playable[0], playable[1]) << s.name;
        EXPECT_LE(playable[1], playable[2]) << s.name;
        EXPECT_LE(playable[2], playable[3]) << s.name;
        EXPECT_LT(playable[0], playable[3]) << s.name;
    }
}

// The chart and the recordings come from one score: every note is a lead note
// and every fret a band hit, at the very same tick.
TEST(SongCharts, ChartNotesSitOnTheMusic) {
    for (const auto& s : Songs()) {
        std::set<int> leadTicks, hits(s.score.bandHits.begin(), s.score.bandHits.end());
        for (const auto& n : s.score.lead) leadTicks.insert(n.tick);
        for (const auto& chart : s.charts)
            for (const auto& i : chart.items) {
                if (i.note >= 84 && i.note <= 88) {
                    EXPECT_TRUE(leadTicks.count(i.tick)) << s.name << " " << i.tick;
                }
                if (i.note == 89) {
                    EXPECT_TRUE(hits.count(i.tick)) << s.name << " " << i.tick;
                }
            }
    }
}

TEST(SongCharts, CompositionIsRepeatableAndFollowsTheSeed) {
    const Song& s = Songs().front();
    SongDescription d = s.description;
    SongScore again;
    std::string error;
    ASSERT_TRUE(SongComposer::Compose(d, again, error));
    std::vector<ChartDifficulty> charts;
    for (int c = 1; c <= 4; ++c) charts.push_back(ChartBuilder::Build(again, c, 99));
    EXPECT_TRUE(ChartMidiWriter::Write(again, charts) == s.midi);
    d.seed += 1;
    ASSERT_TRUE(SongComposer::Compose(d, again, error));
    std::vector<int> a, b;
    for (const auto& n : s.score.lead) a.push_back(n.pitch);
    for (const auto& n : again.lead) b.push_back(n.pitch);
    EXPECT_NE(a, b);
}

// The checker the tool runs before it writes anything finds each kind of fault.
TEST(SongCharts, CheckerFindsBrokenCharts) {
    const Song& s = Songs().front();
    const ChartDifficulty good = s.charts[1];
    ASSERT_TRUE(ChartBuilder::Check(s.score, good).empty());
    auto firstWhere = [&](auto pred) {
        for (size_t i = 0; i < good.items.size(); ++i)
            if (pred(good.items[i])) return i;
        return good.items.size();
    };
    const size_t head = firstWhere([](const ChartItem& i) { return i.velocity == ChartVelocity::kMelodyHead; });
    const size_t plain = firstWhere([](const ChartItem& i) { return i.note <= 88 && i.velocity == ChartVelocity::kPlain; });
    ASSERT_LT(head, good.items.size());
    ASSERT_LT(plain, good.items.size());
    struct Case {
        const char* what;
        std::function<void(std::vector<ChartItem>&)> breakIt;
    } cases[] = {
        {"one millisecond", [&](auto& v) { v.insert(v.begin() + long(plain) + 1, v[plain]); }},
        {"without a head", [&](auto& v) { v[head].velocity = ChartVelocity::kPlain; }},
        {"without members", [&](auto& v) { v[head + 1].velocity = ChartVelocity::kPlain; }},
        {"needed", [&](auto& v) {
             ChartItem crowd = v[plain];
             crowd.tick += s.score.TicksForMs(40);
             crowd.note = 89;
             v.insert(v.begin() + long(plain) + 1, crowd);
         }},
        {"bonus item inside a melody", [&](auto& v) {
             ChartItem bonus = v[head + 1];
             bonus.note = ChartNote::kBonus;
             bonus.velocity = 64;
             bonus.tick += s.score.TicksForMs(1);
             v.insert(v.begin() + long(head) + 2, bonus);
         }},
        {"jump", [&](auto& v) {
             // Two notes far apart in time but five lines… only four exist, so swing across.
             size_t i = plain, j = plain + 1;
             while (j < v.size() && v[j].note > 88) ++j;
             v[i].note = 84;
             v[j].note = 88;
         }},
    };
    for (const auto& c : cases) {
        ChartDifficulty broken = good;
        c.breakIt(broken.items);
        auto problems = ChartBuilder::Check(s.score, broken);
        ASSERT_FALSE(problems.empty()) << c.what;
        bool named = false;
        for (const auto& p : problems) named = named || p.find(c.what) != std::string::npos;
        EXPECT_TRUE(named) << c.what << ": " << problems.front();
    }
}

TEST(LevelTable, TwentyEightLevelsRisingOverTheSongsAndSkins) {
    XmlNode root = XmlLoad(std::string(TOTEM_SOURCE_DIR) + "/assets/levels.xml");
    ASSERT_TRUE(root);
    std::set<std::string> songs, skins;
    int count = 0, lastComplexity = 0;
    float lastSpeed = 0;
    for (sdXMLnode* n = root->firstchild; n; n = n->NextNode) {
        if (!XmlNameEquals(n->Tag, "level")) continue;
        ++count;
        EXPECT_EQ(XmlAttrInt(n, "id", 0), count);
        const std::string song = XmlAttrString(n, "song", "");
        EXPECT_TRUE(fs::exists(fs::path(TOTEM_SOURCE_DIR) / "assets/songs" / (song + ".song"))) << song;
        songs.insert(song);
        const std::string skin = XmlAttrString(n, "skin", "");
        EXPECT_TRUE(skin == "sunrise" || skin == "lagoon" || skin == "volcano" || skin == "starlight") << skin;
        skins.insert(skin);
        const int complexity = XmlAttrInt(n, "complexity", 0);
        const float speed = XmlAttrFloat(n, "speed", 0);
        EXPECT_GE(complexity, std::max(1, lastComplexity));
        EXPECT_LE(complexity, 4);
        EXPECT_GE(speed, lastSpeed);
        if (count == 1) {
            EXPECT_EQ(complexity, 1);
            EXPECT_FLOAT_EQ(speed, 1.0f);
        }
        lastComplexity = complexity;
        lastSpeed = speed;
    }
    EXPECT_EQ(count, 28);
    EXPECT_EQ(lastComplexity, 4);
    EXPECT_GT(lastSpeed, 1.4f);
    EXPECT_EQ(skins.size(), 4u);
    EXPECT_GE(songs.size(), 12u);
}
