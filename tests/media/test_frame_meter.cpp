// The "--fps" line: frames presented per second and the longest gap between
// two presents, counted from the present times alone and, through Flip, from
// the media clock the game is driven by in tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GraphicsTestSupport.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/TFrameMeter.h"

namespace {

// Presents at the given times, the lines they gave, in order.
std::vector<std::string> LinesFor(const std::vector<double>& presents) {
    TFrameMeter meter;
    std::vector<std::string> lines;
    for (double t : presents)
        for (const std::string& line : meter.Presented(t)) lines.push_back(line);
    return lines;
}

// Presents every `stepMs` from `fromMs` up to, not including, `toMs`.
std::vector<double> Steady(double fromMs, double toMs, double stepMs) {
    std::vector<double> times;
    for (double t = fromMs; t < toMs; t += stepMs) times.push_back(t);
    return times;
}

struct MeterCase {
    const char* name;
    std::vector<double> presents;
    std::vector<std::string> lines;
};

TEST(FrameMeter, CountsEachSecondFromTheFirstPresent) {
    // 50 frames, then nothing until 7700, then a frame at 8000, 8100, 9000.
    std::vector<double> stall = Steady(5000, 5500, 10);
    for (double t : {7700.0, 8000.0, 8100.0, 9000.0}) stall.push_back(t);
    // 80 frames, the 41st of them late.
    std::vector<double> hitch = Steady(0, 1000, 12.5);
    hitch[40] += 9.25;
    hitch.push_back(1000);
    const std::vector<MeterCase> cases = {
        {"one frame", {100}, {}},
        {"a second not yet over", Steady(0, 999.9, 10), {}},
        {"steady 80 fps, closed by the next second's first frame", Steady(0, 1001, 12.5), {"fps 80 worst 12.5 ms"}},
        {"a late frame is the worst, the one after it is early", hitch, {"fps 80 worst 21.8 ms"}},
        {"a stall: an empty second, the gap in the second that ends it, then the pace after it",
         stall,
         {"fps 50 worst 10.0 ms", "fps 0 worst 1000.0 ms", "fps 1 worst 2210.0 ms", "fps 2 worst 300.0 ms"}},
    };
    for (const MeterCase& c : cases) EXPECT_EQ(LinesFor(c.presents), c.lines) << c.name;
}

// Through the display: the line Flip writes, timed by the driven clock, which
// stands in for the real one the game runs on when played.
TEST(FrameMeter, FlipWritesTheLineOnceASecondOnlyWhenAskedTo) {
    if (!gfxtest::EnsureDisplay()) GTEST_SKIP() << "no display";
    UseDrivenClock(5000);
    // Presents 16 ms apart but one 25 ms: 62 of them (5000 .. 5985) in the
    // first second, the 63rd (6001) in the next.
    auto present63 = [] {
        for (int i = 0; i < 63; ++i) {
            Flip(0);
            AdvanceClock(i == 30 ? 25 : 16);
        }
    };
    testing::internal::CaptureStdout();
    present63();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "off by default";

    SetFrameRateLog(true);
    testing::internal::CaptureStdout();
    present63();
    const std::string out = testing::internal::GetCapturedStdout();
    SetFrameRateLog(false);
    UseRealClock();
    EXPECT_EQ(out, "fps 62 worst 25.0 ms\n");
}

}  // namespace
