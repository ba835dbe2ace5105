#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>

#include "content/DataPak.h"
#include "media/Graphics.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

fs::path GameDir() { return fs::path(TOTEM_BINARY_DIR) / "game"; }

struct Shot {
    PicturePtr frame;
    std::map<std::string, std::string> facts;
    int Fact(const std::string& key) const {
        auto it = facts.find(key);
        return it == facts.end() ? -1000 : std::atoi(it->second.c_str());
    }
};

std::map<std::string, std::string> ParseFacts(const std::string& line) {
    std::map<std::string, std::string> facts;
    std::istringstream in(line);
    std::string word;
    while (in >> word)
        if (const size_t eq = word.find('='); eq != std::string::npos) facts[word.substr(0, eq)] = word.substr(eq + 1);
    return facts;
}

PicturePtr PackedPicture(const std::string& path) { return GameFolderPicture(GameDir(), path); }

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb At(const TPicture& p, int x, int y) {
    const uint32_t c = p.ReadPixel(x, y);
    return {double((c >> 16) & 0xFF), double((c >> 8) & 0xFF), double(c & 0xFF)};
}

double Distance(const Rgb& a, const Rgb& b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

// How far the frame differs from a picture drawn with its handle at (hx, hy) of
// the screen point (x, y), over the picture's opaque pixels.
double MismatchOf(const TPicture& frame, const TPicture& art, int handleX, int handleY, int x, int y) {
    double sum = 0;
    int n = 0;
    for (int py = 0; py < art.Height(); ++py)
        for (int px = 0; px < art.Width(); ++px) {
            if ((art.ReadPixel(px, py) >> 24) < 250) continue;
            const int sx = x - handleX + px, sy = y - handleY + py;
            if (sx < 0 || sy < 0 || sx >= frame.Width() || sy >= frame.Height()) continue;
            sum += Distance(At(frame, sx, sy), At(art, px, py));
            ++n;
        }
    return n ? sum / n : 1e9;
}

// Where a picture of the game folder's res.xml is drawn from: its path and its
// handle (the middle for a mid-handled picture).
struct ArtRef {
    PicturePtr picture;
    int handleX = 0, handleY = 0;
};

ArtRef Art(const std::string& id) {
    static const std::string res = Slurp(GameDir() / "res.xml");
    std::smatch m;
    const std::regex entry("<image id=\"" + id + "\"([^>]*)>");
    if (!std::regex_search(res, m, entry)) return {};
    const std::string attrs = m[1].str();
    auto attr = [&attrs](const std::string& name) {
        std::smatch a;
        const std::regex re(" " + name + "=\"([^\"]*)\"");
        return std::regex_search(attrs, a, re) ? a[1].str() : std::string();
    };
    ArtRef art;
    art.picture = PackedPicture(attr("path"));
    if (!art.picture) return art;
    if (attr("midhandle") == "1") {
        art.handleX = art.picture->Width() / 2;
        art.handleY = art.picture->Height() / 2;
    } else {
        art.handleX = std::atoi(attr("handlex").c_str());
        art.handleY = std::atoi(attr("handley").c_str());
    }
    return art;
}

// Share of the picture's opaque pixels that the frame shows nearly unchanged
// when the picture is drawn with its handle at (x, y).
double Coverage(const TPicture& frame, const ArtRef& art, int x, int y) {
    int shown = 0, all = 0;
    for (int py = 0; py < art.picture->Height(); ++py)
        for (int px = 0; px < art.picture->Width(); ++px) {
            if ((art.picture->ReadPixel(px, py) >> 24) < 250) continue;
            const int sx = x - art.handleX + px, sy = y - art.handleY + py;
            if (sx < 0 || sy < 0 || sx >= frame.Width() || sy >= frame.Height()) continue;
            ++all;
            shown += Distance(At(frame, sx, sy), At(*art.picture, px, py)) < 60;
        }
    return all ? double(shown) / all : 0;
}

std::vector<int> Numbers(const std::string& list) {
    std::vector<int> v;
    std::istringstream in(list);
    for (std::string item; std::getline(in, item, ',');) v.push_back(std::atoi(item.c_str()));
    return v;
}

class PlayShot : public ToolTest {
protected:
    PlayShot() : ToolTest("totem-play-shot") {}
    void SetUp() override {
        if (!fs::is_regular_file(GameDir() / "res.xml")) GTEST_SKIP() << "the game content is not built";
        ToolTest::SetUp();
    }

    // Each scene is played once per build of the tool and of the content: the
    // frame and its facts are kept in the build tree, written whole or not at
    // all, so the test processes CTest runs side by side share them.
    const Shot& Take(const std::string& scene) {
        static std::map<std::string, Shot> shots;
        if (auto it = shots.find(scene); it != shots.end()) return it->second;
        const fs::path cache = fs::path(TOTEM_BINARY_DIR) / "play-shots";
        const fs::path png = cache / (scene + ".png"), facts = cache / (scene + ".txt");
        if (!Fresh(png) || !Fresh(facts)) {
            fs::create_directories(cache);
            const fs::path out = dir_ / (scene + ".png");
            const ToolRun run = Tool(Q(GameDir()) + " " + scene + " " + Q(out));
            EXPECT_EQ(run.status, 0) << run.out << run.err;
            std::string line;
            for (const std::string& l : Lines(run.out))
                if (l.rfind("scene=", 0) == 0) line = l;
            if (run.status == 0 && !line.empty()) {
                // Beside the kept files, so that the rename cannot cross file systems.
                const std::string unique = "." + std::to_string(::getpid()) + ".tmp";
                const fs::path tmpPng = cache / (scene + ".png" + unique);
                const fs::path tmpFacts = cache / (scene + ".txt" + unique);
                fs::copy_file(out, tmpPng, fs::copy_options::overwrite_existing);
                Spit(tmpFacts, line);
                fs::rename(tmpPng, png);
                fs::rename(tmpFacts, facts);
            }
        }
        Shot shot;
        if (Fresh(png) && Fresh(facts)) {
            shot.frame = LoadPicture(png.string());
            shot.facts = ParseFacts(Slurp(facts));
        }
        return shots[scene] = shot;
    }

private:
    // Newer than the tool and the content it played.
    static bool Fresh(const fs::path& file) {
        std::error_code error;
        const auto made = fs::last_write_time(file, error);
        if (error) return false;
        for (const fs::path& input : {fs::path(TOTEM_BINARY_DIR) / "bin" / "totem-play-shot",
                                      GameDir() / "media" / "data.pak", GameDir() / "media" / "levels.xml"}) {
            const auto t = fs::last_write_time(input, error);
            if (error || t > made) return false;
        }
        return true;
    }
};

class EveryScene : public PlayShot, public testing::WithParamInterface<const char*> {};

// Every scene is a full frame of the play screen with items on the highway and
// the state the scene is named for.
TEST_P(EveryScene, IsAPlayFrameInItsState) {
    const std::string scene = GetParam();
    const Shot& shot = Take(scene);
    ASSERT_TRUE(shot.frame);
    ASSERT_EQ(shot.frame->Width(), 800);
    ASSERT_EQ(shot.frame->Height(), 600);
    EXPECT_EQ(shot.facts.at("scene"), scene);
    std::set<uint32_t> colours;
    for (int y = 0; y < 600; y += 3)
        for (int x = 0; x < 800; x += 3) colours.insert(shot.frame->ReadPixel(x, y) & 0xFFFFFFu);
    EXPECT_GT(colours.size(), 500u);
    EXPECT_GE(shot.Fact("items"), 1);

    const int meter = shot.Fact("meter");
    if (scene == "x2") {
        EXPECT_GE(meter, 30);
        EXPECT_LT(meter, 40);
        EXPECT_EQ(shot.Fact("bat_mult"), 2);
    } else if (scene == "goldrush") {
        EXPECT_GE(meter, 40);
        EXPECT_EQ(shot.Fact("goldrush"), 1);
        EXPECT_EQ(shot.Fact("bat_mult"), 4);
        EXPECT_GT(shot.Fact("particles"), 0);
    } else {
        EXPECT_LT(meter, 30);
        EXPECT_EQ(shot.Fact("bat_mult"), 0);
    }
    if (scene == "melody") {
        EXPECT_EQ(shot.Fact("completed"), 1);
        EXPECT_GE(shot.Fact("circles"), 3);
        EXPECT_EQ(shot.Fact("passed"), shot.Fact("circles"));
    }
    if (scene == "hold") {
        EXPECT_EQ(shot.Fact("held_line"), shot.Fact("bat_line"));
        EXPECT_GE(shot.Fact("stars_shown"), 2);
    }
    if (scene == "miss") {
        EXPECT_GE(shot.Fact("missed_line"), 0);
    }
    // Every item runs where its note's time puts it, at most the frame it
    // spawned in behind: it reaches the catch point on the beat.
    EXPECT_GE(shot.Fact("beat_lag_ms"), 0);
    EXPECT_LT(shot.Fact("beat_lag_ms"), 17);
}

INSTANTIATE_TEST_SUITE_P(Scenes, EveryScene, testing::Values("start", "hold", "melody", "x2", "goldrush", "miss"));

// The catcher wears the look of the meter: in each frame, its picture matches
// the plain, silver or gold catcher art best.
TEST_F(PlayShot, CatcherWearsTheMeterLook) {
    const std::map<std::string, std::string> art = {{"start", "media/gfx/gryph/bat_main.png"},
                                                    {"x2", "media/gfx/gryph/bat_silver.png"},
                                                    {"goldrush", "media/gfx/gryph/bat_gold.png"}};
    std::map<std::string, PicturePtr> pictures;
    for (const auto& [scene, path] : art) {
        pictures[scene] = PackedPicture(path);
        ASSERT_TRUE(pictures[scene]) << path;
    }
    for (const auto& [scene, path] : art) {
        const Shot& shot = Take(scene);
        ASSERT_TRUE(shot.frame);
        const int x = shot.Fact("bat_x"), y = 499;  // the catch row of the highway
        std::string best;
        double bestMismatch = 1e9;
        for (const auto& [look, picture] : pictures) {
            const double m = MismatchOf(*shot.frame, *picture, picture->Width() / 2, picture->Height() / 2, x, y);
            if (m < bestMismatch) {
                bestMismatch = m;
                best = look;
            }
        }
        EXPECT_EQ(best, scene) << "the catcher of \"" << scene << "\" looks like that of \"" << best << "\"";
    }
}

// In a gold rush the flare turns behind the far end of the highway: the point
// it turns about shows the flare's own centre colour, which neither the frame
// of the same moment without a gold rush nor the one at ×2 shows there.
TEST_F(PlayShot, GoldRushShowsTheFlare) {
    const ArtRef flare = Art("IMAGE_GRYPH_GOLD_FLARE");
    ASSERT_TRUE(flare.picture);
    const Rgb centre = At(*flare.picture, flare.handleX, flare.handleY);
    auto mismatch = [&centre](const Shot& shot) {
        double sum = 0;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) sum += Distance(At(*shot.frame, 398 + dx, 224 + dy), centre);
        return sum / 25;
    };
    const Shot& gold = Take("goldrush");
    const Shot& start = Take("start");
    const Shot& x2 = Take("x2");
    ASSERT_TRUE(gold.frame && start.frame && x2.frame);
    EXPECT_LT(mismatch(gold), 15);
    EXPECT_GT(mismatch(start), 20);
    EXPECT_GT(mismatch(x2), 20);
}

// A missed note turns its line's light red: the red picture of that line shows
// at the light's place, where the first frame of the song shows the resting
// light; the other lines stay unlit.
TEST_F(PlayShot, MissedNoteLightsItsLineRed) {
    const int lightX[5] = {178, 267, 363, 445, 522}, lightY = 514;
    const Shot& miss = Take("miss");
    const Shot& start = Take("start");
    ASSERT_TRUE(miss.frame && start.frame);
    const int missed = miss.Fact("missed_line");
    ASSERT_GE(missed, 0);
    ASSERT_LE(missed, 4);
    for (int line = 0; line < 5; ++line) {
        const ArtRef bad = Art("IMAGE_GRYPH_LINE_BAD_" + std::to_string(line + 1));
        ASSERT_TRUE(bad.picture) << line;
        const double inMiss = Coverage(*miss.frame, bad, lightX[line], lightY);
        const double inStart = Coverage(*start.frame, bad, lightX[line], lightY);
        if (line == missed) {
            EXPECT_GT(inMiss, 0.6) << "line " << line;
            EXPECT_LT(inStart, 0.2) << "line " << line;
        } else {
            EXPECT_LT(inMiss, 0.2) << "line " << line;
        }
    }
}

// A completed melody shows its row of circles, all passed and so opaque, each
// in the colour of its note's line, centred on the row 41 pixels apart.
TEST_F(PlayShot, CompletedMelodyLightsEveryCircle) {
    const Shot& shot = Take("melody");
    ASSERT_TRUE(shot.frame);
    const std::vector<int> lines = Numbers(shot.facts.count("circle_lines") ? shot.facts.at("circle_lines") : "");
    ASSERT_GE(lines.size(), 3u);
    const int rowX = 261, rowY = 178, rowW = 278, rowH = 45;
    const double n = double(lines.size());
    std::vector<ArtRef> circles;
    for (int line = 0; line < 5; ++line) circles.push_back(Art("IMAGE_NOTELINE_CIRCLE_" + std::to_string(line + 1)));
    int matched = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int x = rowX + int(std::lround(rowW / 2 - n * 20.5 + 20.5 + 41 * double(i)));
        const int y = rowY + rowH / 2;
        int best = -1;
        double bestCoverage = 0;
        for (int line = 0; line < 5; ++line) {
            ASSERT_TRUE(circles[line].picture);
            const double c = Coverage(*shot.frame, circles[line], x, y);
            if (c > bestCoverage) {
                bestCoverage = c;
                best = line;
            }
        }
        matched += best == lines[i] && bestCoverage > 0.3;
    }
    // The picture of the completed row lies over the middle of it.
    EXPECT_GE(matched, int(lines.size()) - 1) << "of " << lines.size() << " circles";
}

}  // namespace
