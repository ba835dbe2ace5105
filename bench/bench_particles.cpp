#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "fx/TEffect.h"
#include "fx/TEmitter.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/System.h"

namespace {

ImagePtr SparkImage() {
    ImagePtr image = CreateImage(8, 8, 1);
    PicturePtr p = LockImage(image, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) p->WritePixel(x, y, 0xFFFFFFFFu);
    UnlockImage(image, 0);
    return image;
}

EffectPtr SparkEffect(bool glow) {
    std::string s = std::string("<fx><GenSpeed value=\"1000\"/><LifeTime min=\"1800\" max=\"2200\"/>") +
                    "<Image value=\"spark\" blend=\"3\"/><Speed min=\"0.5\" max=\"2\"/><Dir min=\"0\" max=\"360\"/>"
                    "<Rotation min=\"-5\" max=\"5\"/><Scale start=\"1\" end=\"0.2\"/>"
                    "<Red start=\"255\" End=\"255\"/><Green start=\"200\" End=\"50\"/><Alpha start=\"1\" end=\"0\"/>"
                    "<GravitationY value=\"0.01\"/>" +
                    (glow ? "<Glowing enabled=\"1\"/>" : "") + "</fx>";
    return TEffect::Load(OpenMemory(std::vector<uint8_t>(s.begin(), s.end()), "bench.xml"));
}

// Runs an emitter until generation and expiry balance: 1000 per second, ~2 s life.
void RunToSteadyState(TEmitter& e) {
    for (int i = 0; i < 300; ++i) {
        AdvanceClock(10);
        e.Update(1);
    }
}

double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) * 1e-6;
}

// One frame of a busy screen: 2,000 live particles updated and drawn.
void BM_Particles2000UpdateDraw(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!DisplayIsOpen() && !OpenDisplay(800, 600, 0, 85)) {
        state.SkipWithError("no display");
        return;
    }
    UseDrivenClock(1000);
    SeedRandom(1);
    ImagePtr spark = SparkImage();
    SetEffectImageResolver([spark](const std::string&) { return EffectImageRef{spark, nullptr}; });
    EffectPtr fx = SparkEffect(state.range(0) != 0);
    auto e = TEmitter::Create(400, 300, fx);
    RunToSteadyState(*e);
    double cpuMs = 0, driverMs = 0;
    int64_t frames = 0;
    for (auto _ : state) {
        const double start = ThreadCpuMs();
        AdvanceClock(10);
        e->Update(1);
        e->Draw();
        Flip(0);
        cpuMs += ThreadCpuMs() - start;
        driverMs += LastFrameStats().driverMs;
        ++frames;
    }
    const double n = static_cast<double>(std::max<int64_t>(frames, 1));
    state.counters["live"] = static_cast<double>(e->ParticleCount());
    state.counters["pool"] = static_cast<double>(e->PoolSize());
    // The frame's thread CPU split into the GL driver's share and ours.
    state.counters["driver_ms"] = driverMs / n;
    state.counters["our_ms"] = (cpuMs - driverMs) / n;
    SetEffectImageResolver(nullptr);
    UseRealClock();
}
BENCHMARK(BM_Particles2000UpdateDraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same without drawing: generation, motion and expiry alone.
void BM_Particles2000Update(benchmark::State& state) {
    UseDrivenClock(1000);
    SeedRandom(1);
    SetEffectImageResolver([](const std::string&) { return EffectImageRef{}; });
    auto e = TEmitter::Create(400, 300, SparkEffect(false));
    RunToSteadyState(*e);
    for (auto _ : state) {
        AdvanceClock(10);
        e->Update(1);
    }
    state.counters["live"] = static_cast<double>(e->ParticleCount());
    SetEffectImageResolver(nullptr);
    UseRealClock();
}
BENCHMARK(BM_Particles2000Update)->Unit(benchmark::kMicrosecond);

}  // namespace
