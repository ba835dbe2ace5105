// Hours of play in one process leak nothing: levels played by the autoplay
// driver pass after pass, then rounds of main menu → story map → level →
// results → story map → main menu, all through the screens' own input path.
//
// After every frame the GL driver must have no error recorded; after every
// level, once its sounds have ended, the mixer must hold as many channels as
// on the story map before the first level; the private memory after the last
// pass must be within 5 MB of that after the first. The process ends through
// the game's own teardown, so the sanitizer build's leak check at exit
// reports real leaks only.
//
// The counts come from the environment, so `make soak` runs the long form
// with the same program CTest runs in its short form:
//   TOTEM_SOAK_LEVELS  levels per pass: n = the n shortest, 0 = every level in
//                      the table's order (default 1)
//   TOTEM_SOAK_PASSES  passes over those levels (default 2)
//   TOTEM_SOAK_CYCLES  rounds of the screens with the shortest level (default 1)
//   TOTEM_SOAK_DRAW_EVERY  while a level plays, one frame in this many is drawn
//                      (default 16, as the game's own fast play)
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SoakRun.h"

namespace {

constexpr int64_t kPassGrowthLimitKb = 5 * 1024;
constexpr int kReportEveryCycles = 50;

int EnvCount(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ", live heap N kB" where the sanitizer's allocator can tell, else nothing.
std::string LiveHeap() {
    const int64_t kb = SoakRun::LiveHeapKb();
    return kb < 0 ? "" : ", live heap " + std::to_string(kb) + " kB";
}

// The levels of one pass: the n shortest, or the whole table in its order.
std::vector<int> PassLevels(int n) {
    std::vector<int> byLength = SoakRun::LevelsByLength();
    if (n <= 0 || n >= static_cast<int>(byLength.size())) {
        std::vector<int> all;
        for (int id = 1; id <= static_cast<int>(byLength.size()); ++id) all.push_back(id);
        return all;
    }
    byLength.resize(static_cast<size_t>(n));
    return byLength;
}

TEST(Soak, LevelsPassAfterPassThenRoundsOfTheScreensLeakNothing) {
    const int levelCount = EnvCount("TOTEM_SOAK_LEVELS", 1);
    const int passes = EnvCount("TOTEM_SOAK_PASSES", 2);
    const int cycles = EnvCount("TOTEM_SOAK_CYCLES", 1);

    SoakRun run;
    const std::string why = run.Start();
    if (!why.empty()) GTEST_SKIP() << why;
    const std::vector<int> levels = PassLevels(levelCount);
    const std::vector<int> byLength = SoakRun::LevelsByLength();
    ASSERT_FALSE(levels.empty()) << "no level chart could be read";
    const auto start = std::chrono::steady_clock::now();

    ASSERT_TRUE(run.OpenStoryMap()) << run.Problem();
    const int idle = run.SettleChannels();
    std::printf("soak: %zu levels a pass, %d passes, %d rounds; one frame in %d drawn while playing\n",
                levels.size(), passes, cycles, run.DrawEvery());
    std::printf("soak: mixer channels at rest on the story map: %d; private memory %lld kB\n", idle,
                static_cast<long long>(SoakRun::PrivateKb()));

    std::vector<int64_t> afterPass;
    for (int pass = 1; pass <= passes; ++pass) {
        const auto passStart = std::chrono::steady_clock::now();
        for (int level : levels) {
            int channels = -1;
            ASSERT_TRUE(run.PlayLevelFromMap(level, channels)) << "pass " << pass << ": " << run.Problem();
            EXPECT_EQ(channels, idle) << "mixer channels after level " << level << " of pass " << pass;
        }
        afterPass.push_back(SoakRun::PrivateKb());
        std::printf("soak: pass %d: %zu levels in %.1f s, private memory %lld kB%s, frames %lld (%lld drawn)\n",
                    pass, levels.size(), SecondsSince(passStart), static_cast<long long>(afterPass.back()),
                    LiveHeap().c_str(), static_cast<long long>(run.Frames()),
                    static_cast<long long>(run.DrawnFrames()));
        std::fflush(stdout);
    }

    if (afterPass.size() >= 2) {
        EXPECT_LE(afterPass.back() - afterPass.front(), kPassGrowthLimitKb)
            << "private memory grew from " << afterPass.front() << " kB after the first pass to "
            << afterPass.back() << " kB after the last";
    }

    ASSERT_TRUE(run.BackToMainMenu()) << run.Problem();
    const int shortest = byLength.front();
    const auto roundsStart = std::chrono::steady_clock::now();
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        int channels = -1;
        ASSERT_TRUE(run.OpenStoryMap()) << "round " << cycle << ": " << run.Problem();
        ASSERT_TRUE(run.PlayLevelFromMap(shortest, channels)) << "round " << cycle << ": " << run.Problem();
        EXPECT_EQ(channels, idle) << "mixer channels after round " << cycle;
        ASSERT_TRUE(run.BackToMainMenu()) << "round " << cycle << ": " << run.Problem();
        if (cycle % kReportEveryCycles == 0 || cycle == cycles) {
            std::printf("soak: round %d (level %d): %.1f s since the first, private memory %lld kB%s\n", cycle,
                        shortest, SecondsSince(roundsStart), static_cast<long long>(SoakRun::PrivateKb()),
                        LiveHeap().c_str());
            std::fflush(stdout);
        }
    }

    EXPECT_EQ(run.GlErrors(), 0) << run.FirstGlError();
    std::printf("soak: %lld frames (%lld drawn), %lld GL errors, %lld driver misses, %.1f s in all\n",
                static_cast<long long>(run.Frames()), static_cast<long long>(run.DrawnFrames()),
                static_cast<long long>(run.GlErrors()), static_cast<long long>(run.PlayerProblems()),
                SecondsSince(start));
    run.Stop();
}

}  // namespace
