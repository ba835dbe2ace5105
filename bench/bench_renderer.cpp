// Renderer throughput: a frame of 2,000 mixed quads (atlas images, rects,
// changing colour, alpha, rotation and scale) and the cost of one DrawImage.
// The frame's thread CPU time is split into the GL driver's share (llvmpipe
// does vertex work and binning on the calling thread) and our own: building
// vertices, resolving textures, batching.
#include <benchmark/benchmark.h>

#include <ctime>
#include <vector>

#include "media/Graphics.h"
#include "media/System.h"

namespace {

bool DisplayReady() {
    static const bool ok = [] {
        SetNotifyBoxesEnabled(false);
        const bool opened = OpenDisplay(800, 600, 0, 60);
        if (opened) SetVirtualResolution(800, 600);
        return opened;
    }();
    return ok;
}

struct Scene {
    std::vector<ImagePtr> images;
};

// Sixteen 32×32 frames cut from one picture plus a few loose small images:
// all of them land on one atlas page.
const Scene& TheScene() {
    static const Scene scene = [] {
        Scene s;
        auto sheet = std::make_shared<TPicture>(128, 128, true);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x)
                sheet->WritePixel(x, y, ((x ^ y) & 8) ? 0xFFE0A040u : 0x8020C0F0u);
        ImagePtr strip = ImageStripFromPicture(sheet, 32, 32, 0, 16, 2);
        CentreImageHandle(strip);
        for (int i = 0; i < 16; ++i) {
            auto frame = std::make_shared<TImage>(*strip);
            frame->frames = {strip->frames[size_t(i)]};
            s.images.push_back(frame);
        }
        for (int i = 0; i < 4; ++i) {
            ImagePtr loose = CreateImage(24, 16, 1, 3);
            PicturePtr p = LockImage(loose);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 24; ++x) p->WritePixel(x, y, 0xFF000000u | uint32_t(i * 60 + x * 8) << 8);
            UnlockImage(loose);
            s.images.push_back(loose);
        }
        return s;
    }();
    return scene;
}

constexpr int kQuadsPerFrame = 2000;

double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) * 1e-6;
}

void DrawMixedFrame(const Scene& scene, int blendSwitchEvery) {
    SetClsColor(0, 0, 0);
    Cls();
    for (int i = 0; i < kQuadsPerFrame; ++i) {
        SetColor(128 + (i * 37) % 128, 128 + (i * 11) % 128, 255);
        SetAlpha(0.3f + float(i % 7) * 0.1f);
        SetRotation(float((i * 13) % 360));
        SetScale(0.5f + float(i % 5) * 0.25f, 0.5f + float(i % 3) * 0.5f);
        if (blendSwitchEvery > 0) SetBlend((i / blendSwitchEvery) % 2 ? LIGHTBLEND : ALPHABLEND);
        const float x = float((i * 53) % 800), y = float((i * 97) % 600);
        if (i % 8 == 7) DrawRect(x, y, 20, 12);
        else DrawImage(scene.images[size_t(i) % scene.images.size()], x, y);
    }
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(255, 255, 255);
    SetAlpha(1);
}

// Arg: draw the blend mode switch every n quads (0 = never), as particle
// effects mixing LIGHT and ALPHA do.
void BM_MixedFrame(benchmark::State& state) {
    if (!DisplayReady()) {
        state.SkipWithError("no OpenGL 3.3 display");
        return;
    }
    const Scene& scene = TheScene();
    const int blendSwitchEvery = int(state.range(0));
    DrawMixedFrame(scene, blendSwitchEvery);  // uploads happen here, not in the loop
    Flip(0);
    int64_t drawCalls = 0, frames = 0;
    double cpuMs = 0, driverMs = 0;
    for (auto _ : state) {
        const double start = ThreadCpuMs();
        DrawMixedFrame(scene, blendSwitchEvery);
        Flip(0);
        cpuMs += ThreadCpuMs() - start;
        drawCalls += LastFrameStats().drawCalls;
        driverMs += LastFrameStats().driverMs;
        ++frames;
    }
    const double n = double(std::max<int64_t>(frames, 1));
    const double ourMs = std::max(cpuMs - driverMs, 1e-6);
    state.counters["quads_per_s"] =
        benchmark::Counter(double(frames) * kQuadsPerFrame, benchmark::Counter::kIsRate);
    state.counters["draw_calls_per_frame"] = double(drawCalls) / n;
    state.counters["frames_per_s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
    state.counters["cpu_ms_per_frame"] = cpuMs / n;
    state.counters["driver_ms_per_frame"] = driverMs / n;
    state.counters["our_ms_per_frame"] = ourMs / n;
    // Quads our code submits per second of its own CPU time.
    state.counters["our_quads_per_s"] = double(frames) * kQuadsPerFrame / (ourMs * 1e-3);
}
BENCHMARK(BM_MixedFrame)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

// A frame with nothing drawn: the fixed driver cost of clearing and presenting
// that every frame pays whatever it draws.
void BM_EmptyFrame(benchmark::State& state) {
    if (!DisplayReady()) {
        state.SkipWithError("no OpenGL 3.3 display");
        return;
    }
    Flip(0);
    double driverMs = 0;
    int64_t frames = 0;
    for (auto _ : state) {
        SetClsColor(0, 0, 0);
        Cls();
        Flip(0);
        driverMs += LastFrameStats().driverMs;
        ++frames;
    }
    state.counters["driver_ms_per_frame"] = driverMs / double(std::max<int64_t>(frames, 1));
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond);

// CPU cost of one DrawImage with state changes in between, as the game issues
// them; the batch is flushed and presented outside the timed region.
void BM_DrawImage(benchmark::State& state) {
    if (!DisplayReady()) {
        state.SkipWithError("no OpenGL 3.3 display");
        return;
    }
    const Scene& scene = TheScene();
    const ImagePtr& image = scene.images[3];
    DrawImage(image, 0, 0);
    Flip(0);
    int count = 0;
    for (auto _ : state) {
        SetRotation(float(count & 255));
        SetAlpha(0.5f);
        DrawImage(image, float(count % 800), float(count % 600));
        if (++count == 6000) {
            state.PauseTiming();
            Flip(0);
            count = 0;
            state.ResumeTiming();
        }
    }
    SetRotation(0);
    SetAlpha(1);
    Flip(0);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawImage);

}  // namespace
