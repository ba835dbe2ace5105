#include <benchmark/benchmark.h>

#include "core/TGraphicsState.h"
#include "media/Graphics.h"

// What every widget draw and particle emitter pays to bracket its drawing.
static void BM_PushPopDrawState(benchmark::State& state) {
    for (auto _ : state) {
        PushDrawState();
        SetColor(10, 20, 30);
        PopDrawState();
    }
}
BENCHMARK(BM_PushPopDrawState);

// Nested brackets, as a particle shadow inside an emitter inside a widget.
static void BM_PushPopDrawStateNested3(benchmark::State& state) {
    for (auto _ : state) {
        PushDrawState();
        PushDrawState();
        PushDrawState();
        PopDrawState();
        PopDrawState();
        PopDrawState();
    }
}
BENCHMARK(BM_PushPopDrawStateNested3);
