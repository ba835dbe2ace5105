// The sound generator as the content build runs it: every sound the menus and
// the levels ask for is declared, written, decodes with the game's loader, has
// its planned length, is audible and does not clip; the looping hold sound
// joins its end to its start; rebuilds give the same bytes; and a folder that
// cannot be written is reported by name.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "content/ResourceCatalogue.h"
#include "content/ContentSources.h"
#include "content/Xml.h"
#include "core/TextHelpers.h"
#include "media/Audio.h"
#include "media/TStream.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

const std::string kTool = std::string(TOTEM_BINARY_DIR) + "/bin/totem-sfx";

// ctest runs every test in its own process, several at once: each process
// works in folders of its own.
fs::path Scratch(const std::string& name) {
    return fs::temp_directory_path() / (name + "_" + std::to_string(getpid()));
}

struct ToolRun {
    int status;
    std::string output;
};

ToolRun Command(const std::string& args) {
    ToolRun r{-1, ""};
    FILE* pipe = popen((kTool + " " + args + " 2>&1").c_str(), "r");
    if (!pipe) return r;
    std::array<char, 512> buf{};
    while (fgets(buf.data(), int(buf.size()), pipe)) r.output += buf.data();
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

struct Declared {
    std::string path;
    int loop;
};

// The sound declarations of the two sound fragments, by lower-cased id.
std::map<std::string, Declared> DeclaredSounds(std::vector<std::string>& problems) {
    std::vector<ResourceFragment> fragments;
    for (const char* name : {"45-menu-sounds.xml", "55-gryph-sounds.xml"}) {
        const fs::path p = fs::path(TOTEM_SOURCE_DIR) / "assets" / "res" / name;
        fragments.push_back({p.string(), Slurp(p)});
    }
    const std::string joined = JoinResourceFragments(fragments, problems);
    std::map<std::string, Declared> sounds;
    XmlNode root = XmlLoad(OpenMemory(std::vector<uint8_t>(joined.begin(), joined.end()), "res.xml"));
    if (!root) return sounds;
    for (sdXMLnode* g = root->firstchild; g; g = g->NextNode)
        for (sdXMLnode* n = g->firstchild; n; n = n->NextNode)
            if (XmlNameEquals(n->Tag, "sound"))
                sounds[LowerAscii(XmlAttrString(n, "id", ""))] = {XmlAttrString(n, "path", ""), XmlAttrInt(n, "loop", 0)};
    return sounds;
}

struct Plan {
    double minSeconds, maxSeconds;
    int loops;
};

std::map<std::string, Plan> PlannedSounds() {
    std::map<std::string, Plan> plans;
    std::istringstream lines(Command("--list").output);
    std::string name;
    Plan p{};
    while (lines >> name >> p.minSeconds >> p.maxSeconds >> p.loops) plans[name] = p;
    return plans;
}

// Every sample the game's mixer plays of the sound, left channel, −1 … 1.
std::vector<float> Play(const SoundPtr& sound) {
    UseManualMixer();
    ChannelPtr ch = PlaySound(sound);
    std::vector<float> samples;
    std::vector<int16_t> block(2 * 1024);
    for (int64_t done = 0; done < sound->Frames(); done += 1024) {
        MixerRender(block.data(), 1024);
        const int64_t n = std::min<int64_t>(1024, sound->Frames() - done);
        for (int64_t i = 0; i < n; ++i) samples.push_back(block[size_t(2 * i)] / 32768.0f);
    }
    ch->Stop();
    return samples;
}

class SoundTool : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        out = Scratch("totem_sfx_test");
        fs::remove_all(out);
        first = Command(out.string());
    }
    static void TearDownTestSuite() { fs::remove_all(out); }
    static inline fs::path out;
    static inline ToolRun first;
};

TEST_F(SoundTool, EverySoundOfTheMenusAndLevelsIsMadeAndDeclared) {
    ASSERT_EQ(first.status, 0) << first.output;
    std::vector<std::string> problems;
    const auto declared = DeclaredSounds(problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    const auto plans = PlannedSounds();
    ASSERT_FALSE(plans.empty());
    int checked = 0;
    for (const ResourceGroup* group : {&MenuGroup(), &GryphGroup()})
        for (const auto& entry : group->sounds) {
            const std::string id = LowerAscii(entry.id);
            if (id == "sound_menu_back_song") continue;  // the menu music comes with the songs
            SCOPED_TRACE(id);
            auto d = declared.find(id);
            ASSERT_NE(d, declared.end()) << "not declared";
            const fs::path rel = d->second.path;
            ASSERT_EQ(rel.parent_path().generic_string(), "media/sound");
            ASSERT_EQ(rel.extension(), ".ogg");
            const std::string name = rel.stem().string();
            auto p = plans.find(name);
            ASSERT_NE(p, plans.end()) << name << " is not made by the tool";
            EXPECT_EQ(d->second.loop, p->second.loops) << "loop flag of the declaration";
            EXPECT_TRUE(fs::exists(out / rel.filename())) << rel.filename();
            // A line of figures per sound, for whoever tunes them.
            EXPECT_NE(first.output.find(name + ".ogg"), std::string::npos);
            ++checked;
        }
    EXPECT_EQ(checked, 12);
    EXPECT_EQ(size_t(checked), plans.size()) << "the tool makes sounds nobody declares";
}

TEST_F(SoundTool, SoundsDecodeWithThePlannedLengthAreAudibleAndDoNotClip) {
    ASSERT_EQ(first.status, 0) << first.output;
    const auto plans = PlannedSounds();
    ASSERT_FALSE(plans.empty());
    for (const auto& [name, plan] : plans) {
        SCOPED_TRACE(name);
        SoundPtr sound = LoadSound((out / (name + ".ogg")).string(), plan.loops ? SOUND_LOOP : 0);
        ASSERT_TRUE(sound) << "does not decode";
        EXPECT_EQ(sound->Rate(), MIXER_RATE);
        const double seconds = double(sound->Frames()) / sound->Rate();
        EXPECT_GE(seconds, plan.minSeconds);
        EXPECT_LE(seconds, plan.maxSeconds);
        const std::vector<float> s = Play(sound);
        ASSERT_EQ(int64_t(s.size()), sound->Frames());
        double peak = 0, sum = 0;
        int railed = 0;
        for (float v : s) {
            peak = std::max(peak, double(std::fabs(v)));
            sum += double(v) * v;
            if (std::fabs(v) >= 32767.0f / 32768.0f) ++railed;
        }
        const double rms = std::sqrt(sum / double(s.size()));
        EXPECT_EQ(railed, 0) << "clips";
        EXPECT_LT(peak, 0.97) << "no headroom left";
        EXPECT_GT(peak, 0.5) << "far too quiet";
        EXPECT_GT(rms, 0.02) << "nearly silent";
        // The sound must fade out rather than stop dead (looping sounds excepted).
        if (!plan.loops) {
            double tail = 0;
            for (size_t i = s.size() - 200; i < s.size(); ++i) tail = std::max(tail, double(std::fabs(s[i])));
            EXPECT_LT(tail, 0.05) << "ends with a click";
        }
    }
}

TEST_F(SoundTool, TheHoldLoopJoinsItsEndToItsStart) {
    ASSERT_EQ(first.status, 0) << first.output;
    int loops = 0;
    for (const auto& [name, plan] : PlannedSounds()) {
        if (!plan.loops) continue;
        ++loops;
        SoundPtr sound = LoadSound((out / (name + ".ogg")).string(), SOUND_LOOP);
        ASSERT_TRUE(sound) << name;
        const std::vector<float> s = Play(sound);
        ASSERT_GT(s.size(), 1000u);
        // The jump from the last sample to the first must look like any other
        // step of the sound, not like a cut.
        double typical = 0;
        for (size_t i = 1; i < s.size(); ++i) typical += std::fabs(s[i] - s[i - 1]);
        typical /= double(s.size() - 1);
        const double seam = std::fabs(s.front() - s.back());
        EXPECT_LT(seam, 6 * typical) << name << ": seam " << seam << ", typical step " << typical;
        // And the level just either side of the seam must match (over 20 ms:
        // a sound may swell and fade, but not jump at its loop point).
        auto level = [&](size_t from, size_t n) {
            double sum = 0;
            for (size_t i = from; i < from + n; ++i) sum += double(s[i]) * s[i];
            return std::sqrt(sum / double(n));
        };
        const double head = level(0, 882), end = level(s.size() - 882, 882);
        EXPECT_LT(std::fabs(head - end), 0.35 * std::max(head, end)) << name;
    }
    EXPECT_EQ(loops, 1);
}

TEST_F(SoundTool, RebuildsWriteTheSameBytes) {
    ASSERT_EQ(first.status, 0) << first.output;
    const fs::path again = Scratch("totem_sfx_test_again");
    fs::remove_all(again);
    ASSERT_EQ(Command(again.string()).status, 0);
    for (const auto& [name, plan] : PlannedSounds()) {
        const std::string a = Slurp(out / (name + ".ogg")), b = Slurp(again / (name + ".ogg"));
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == b) << name << " differs between two builds";
    }
    for (const auto& entry : fs::directory_iterator(again))
        EXPECT_EQ(entry.path().extension(), ".ogg") << "left behind: " << entry.path();
    fs::remove_all(again);
}

TEST_F(SoundTool, AFolderThatCannotBeWrittenIsReportedByName) {
    const fs::path base = Scratch("totem_sfx_test_blocked");
    fs::remove_all(base);
    fs::create_directories(base);
    // A plain file where the output folder should be.
    const fs::path blocker = base / "not_a_folder";
    std::ofstream(blocker) << "x";
    ToolRun r = Command((blocker / "sound").string());
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find((blocker / "sound").string()), std::string::npos) << r.output;

    // A folder sitting where one sound's file should go: that sound fails by
    // name, the others are still written.
    const fs::path outDir = base / "out";
    fs::create_directories(outDir / "gryph_click.ogg");
    r = Command(outDir.string());
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find((outDir / "gryph_click.ogg").string() + ":"), std::string::npos) << r.output;
    EXPECT_TRUE(fs::exists(outDir / "gryph_fail.ogg"));
    fs::remove_all(base);
}

}  // namespace
