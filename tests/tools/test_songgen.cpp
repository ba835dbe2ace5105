#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "support/ToolTest.h"
#include "tools/totem-songgen/LoopFolder.h"
#include "tools/totem-songgen/SongDescription.h"

namespace fs = std::filesystem;

namespace {

const std::string kGood =
    "# a test song\n"
    "title = Test Song\n"
    "style = reggae\n"
    "tempo = 96\n"
    "key = F#\n"
    "scale = minor\n"
    "structure = intro:2 A:4 B:4 outro:2\n"
    "seed = 77\n";

std::string Without(const std::string& field, const std::string& text = kGood) {
    std::istringstream in(text);
    std::string line, out;
    while (std::getline(in, line))
        if (line.rfind(field + " =", 0) != 0) out += line + "\n";
    return out;
}

std::string Replace(const std::string& field, const std::string& value, const std::string& text = kGood) {
    return Without(field, text) + field + " = " + value + "\n";
}

// Interleaved stereo floats of an Ogg Vorbis file.
std::vector<float> Decode(const fs::path& path, int* rate = nullptr) {
    OggVorbis_File vf;
    std::vector<float> out;
    if (ov_fopen(path.c_str(), &vf) != 0) return out;
    if (rate) *rate = int(ov_info(&vf, -1)->rate);
    const int channels = ov_info(&vf, -1)->channels;
    float** pcm = nullptr;
    int section = 0;
    long n;
    while ((n = ov_read_float(&vf, &pcm, 4096, &section)) > 0)
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < 2; ++c) out.push_back(pcm[c < channels ? c : 0][i]);
    ov_clear(&vf);
    return out;
}

double Rms(const std::vector<float>& s, size_t from = 0, size_t to = SIZE_MAX) {
    to = std::min(to, s.size());
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0;
}

class SongGenTool : public ToolTest {
protected:
    SongGenTool() : ToolTest("totem-songgen") {}
    fs::path Describe(const std::string& name, const std::string& text) {
        fs::path file = dir_ / (name + ".song");
        Spit(file, text);
        return file;
    }
};

}  // namespace

TEST(SongDescription, ReadsEveryField) {
    SongDescription d;
    std::string error;
    ASSERT_TRUE(SongDescription::Parse(kGood + "lead = 73\n", "good.song", d, error)) << error;
    EXPECT_EQ(d.title, "Test Song");
    EXPECT_EQ(d.style, "reggae");
    EXPECT_DOUBLE_EQ(d.tempo, 96);
    EXPECT_EQ(d.key, 6);
    EXPECT_EQ(d.scale, "minor");
    ASSERT_EQ(d.structure.size(), 4u);
    EXPECT_EQ(d.structure[1].name, "A");
    EXPECT_EQ(d.structure[1].bars, 4);
    EXPECT_EQ(d.TotalBars(), 12);
    EXPECT_EQ(d.seed, 77u);
    EXPECT_EQ(d.leadProgram, 73);
    EXPECT_EQ(d.compProgram, -1);
}

TEST(SongDescription, RejectsBadInputNamingTheFile) {
    struct Case {
        std::string text, why;
    } cases[] = {
        {Replace("style", "polka-dub"), "unknown style"},
        {Replace("tempo", "39"), "tempo"},
        {Replace("tempo", "241"), "tempo"},
        {Replace("tempo", "fast"), "tempo"},
        {Without("title"), "missing field \"title\""},
        {Without("tempo"), "missing field \"tempo\""},
        {Without("structure"), "missing field \"structure\""},
        {Without("seed"), "missing field \"seed\""},
        {Replace("key", "H"), "key"},
        {Replace("scale", "lydian-ish"), "unknown scale"},
        {Replace("structure", "intro:4 A"), "structure"},
        {Replace("structure", "A:0"), "structure"},
        {Replace("lead", "128"), "lead"},
        {kGood + "tempo = 100\n", "twice"},
        {kGood + "mood = happy\n", "unknown field"},
        {kGood + "just words\n", "key=value"},
    };
    for (const auto& c : cases) {
        SongDescription d;
        std::string error;
        EXPECT_FALSE(SongDescription::Parse(c.text, "assets/songs/x.song", d, error)) << c.why;
        EXPECT_EQ(error.rfind("assets/songs/x.song: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.why), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST_F(SongGenTool, BadDescriptionFailsWithOneLineAndWritesNothing) {
    const fs::path file = Describe("broken", Replace("tempo", "300"));
    const fs::path out = dir_ / "broken_out";
    ToolRun r = Tool("song " + Q(file) + " " + Q(out));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(file.string()), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_FALSE(fs::exists(out / "notes.mid"));
    EXPECT_FALSE(fs::exists(out / "song.ogg"));
}

TEST_F(SongGenTool, MissingSoundfontStopsWithAClearMessage) {
    const fs::path file = Describe("nofont", Replace("structure", "A:2"));
    const fs::path out = dir_ / "nofont_out";
    ToolRun r = Tool("song " + Q(file) + " " + Q(out) + " --soundfont /nonexistent/none.sf2");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("soundfont /nonexistent/none.sf2"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out / "song.ogg"));
    EXPECT_FALSE(fs::exists(out / "guitar.ogg"));
    EXPECT_FALSE(fs::exists(out / "notes.mid"));
}

// A short song renders two tracks of the same length, both clearly audible,
// the lead different from the band, and leaves no temporary files behind.
TEST_F(SongGenTool, ShortSongRendersBandAndLead) {
    const fs::path file = Describe("short", Replace("structure", "A:2 outro:2"));
    const fs::path out = dir_ / "short_out";
    ToolRun r = Tool("song " + Q(file) + " " + Q(out));
    ASSERT_EQ(r.status, 0) << r.err;
    int rate = 0;
    auto band = Decode(out / "song.ogg", &rate);
    auto lead = Decode(out / "guitar.ogg");
    EXPECT_EQ(rate, 44100);
    // 4 bars of 4 beats at 96 bpm = 10 s, plus the reverb tail.
    const double seconds = double(band.size()) / 2 / 44100;
    EXPECT_GT(seconds, 10.0);
    EXPECT_LT(seconds, 14.0);
    EXPECT_EQ(band.size(), lead.size());
    EXPECT_GT(Rms(band), 0.02);
    EXPECT_GT(Rms(lead), 0.01);
    // The lead plays in the first bars (it rests in an intro only).
    EXPECT_GT(Rms(lead, 0, 2 * 44100 * 5), 0.01);
    double diff = 0;
    for (size_t i = 0; i < band.size(); ++i) diff += std::fabs(band[i] - lead[i]);
    EXPECT_GT(diff / double(band.size()), 0.005);
    EXPECT_TRUE(fs::exists(out / "notes.mid"));
    for (const auto& entry : fs::directory_iterator(out))
        EXPECT_EQ(entry.path().extension().string() == ".part", false) << entry.path();
    // The same description renders the same bytes again.
    std::ifstream first(out / "song.ogg", std::ios::binary);
    std::string before((std::istreambuf_iterator<char>(first)), {});
    ASSERT_EQ(Tool("song " + Q(file) + " " + Q(out)).status, 0);
    std::ifstream second(out / "song.ogg", std::ios::binary);
    std::string after((std::istreambuf_iterator<char>(second)), {});
    EXPECT_TRUE(before == after);
}

// The menu loop wraps around without a click: the jump from its last frame to
// its first is no larger than the usual step between neighbouring frames, and
// what still sounds at the end (a sustained pad, the reverb) carries on at the start.
TEST_F(SongGenTool, LoopJoinsSeamlessly) {
    const fs::path file = Describe("loop", Replace("style", "ballad", Replace("structure", "A:2")));
    const fs::path out = dir_ / "loop.ogg";
    ToolRun r = Tool("loop " + Q(file) + " " + Q(out));
    ASSERT_EQ(r.status, 0) << r.err;
    auto s = Decode(out);
    ASSERT_GT(s.size(), 44100u * 2);
    // 2 bars at 96 bpm: exactly 5 s, no tail.
    EXPECT_NEAR(double(s.size()) / 2 / 44100, 5.0, 0.01);
    EXPECT_GT(Rms(s), 0.02);
    std::vector<float> steps;
    for (size_t i = 2; i < s.size(); ++i) steps.push_back(std::fabs(s[i] - s[i - 2]));
    std::sort(steps.begin(), steps.end());
    const float usual = steps[steps.size() * 999 / 1000];
    for (int c = 0; c < 2; ++c) EXPECT_LE(std::fabs(s[size_t(c)] - s[s.size() - 2 + size_t(c)]), usual) << c;
}

// A tone struck just before the loop's end rings on over the seam: folded, it
// continues at the start without a jump, and nothing is lost or doubled.
TEST(LoopFolder, WhatRingsPastTheEndContinuesAtTheStart) {
    const size_t loop = 4000, tail = 3000, strike = loop - 500;
    std::vector<float> band((loop + tail) * 2, 0.0f), lead((loop + tail) * 2, 0.0f);
    for (size_t f = strike; f < loop + tail; ++f) {
        const double t = double(f - strike);
        band[2 * f] = band[2 * f + 1] = float(0.5 * std::exp(-t / 1200) * std::sin(t * 0.05));
    }
    lead[2 * 10] = 0.25f;  // one click in the lead, at frame 10
    const auto mix = LoopFolder::Fold(band, lead, loop);
    ASSERT_EQ(mix.size(), loop * 2);
    for (size_t c = 0; c < 2; ++c) {
        const float step = std::fabs(mix[c] - mix[2 * (loop - 1) + c]);
        EXPECT_LT(step, 0.05f) << "a jump at the seam";
    }
    EXPECT_FLOAT_EQ(mix[2 * 700], band[2 * (loop + 700)]);
    EXPECT_FLOAT_EQ(mix[2 * 10], band[2 * (loop + 10)] + 0.25f);
    EXPECT_FLOAT_EQ(mix[2 * (strike + 100)], band[2 * (strike + 100)]);
}
