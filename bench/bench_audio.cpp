// Mixer cost and long-track loading.
//
//   BM_MixSongAndEffects  two streamed tracks plus 16 short sounds: time per
//                         1024-frame render (decoding included) and that time
//                         as a percentage of the 23.2 ms the frames last.
//   BM_MixEffectsOnly     the 16 short sounds alone.
//   BM_LoadLongTrack      loading a 3-minute Ogg track from disk, and the
//                         memory the loaded sound holds (heap bytes).
//   BM_StartLongTrack     starting a channel on it (opening its decoder and
//                         filling the first buffer), which happens on the
//                         main thread.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "media/Audio.h"
#include "media/TStream.h"
#include "tests/media/AudioFixtures.h"

namespace {

constexpr double TRACK_SECONDS = 180.0;

// The 3-minute track, encoded once per run into the temporary folder.
const std::string& TrackPath() {
    static const std::string path = [] {
        auto p = std::filesystem::temp_directory_path() / "totem_bench_track.ogg";
        auto bytes = audio_fixtures::SineOgg(2, 44100, TRACK_SECONDS);
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return p.string();
    }();
    return path;
}

std::vector<SoundPtr> ShortSounds(int count) {
    std::vector<SoundPtr> sounds;
    for (int i = 0; i < count; ++i) {
        int frames = 8000 + 1500 * i;
        int channels = 1 + i % 2;
        std::vector<int> samples(size_t(frames * channels));
        for (size_t k = 0; k < samples.size(); ++k) samples[k] = int((k * size_t(37 + i)) % 20000) - 10000;
        sounds.push_back(LoadSound(OpenMemory(audio_fixtures::MakeWav(channels, i % 3 ? 44100 : 22050, 16, samples)),
                                   SOUND_LOOP));
    }
    return sounds;
}

// Renders 1024 frames per iteration and reports the time spent as a
// percentage of the time those frames last when played.
void RenderLoop(benchmark::State& state) {
    constexpr int FRAMES = 1024;
    std::vector<int16_t> out(2 * FRAMES);
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        MixerRender(out.data(), FRAMES);
        benchmark::DoNotOptimize(out.data());
    }
    double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double played = double(state.iterations()) * FRAMES / MIXER_RATE;
    state.counters["pct_of_real_time"] = played > 0 ? 100.0 * spent / played : 0.0;
}

void StartEffects(const std::vector<SoundPtr>& sounds, std::vector<ChannelPtr>& channels) {
    for (size_t i = 0; i < sounds.size(); ++i) {
        auto ch = PlaySound(sounds[i]);
        ch->SetPan(float(int(i % 5) - 2) * 0.4f);
        ch->SetVolume(0.1f);
        if (i % 4 == 1) ch->SetRate(1.25f);
        channels.push_back(ch);
    }
}

void BM_MixSongAndEffects(benchmark::State& state) {
    UseManualMixer();
    auto track = LoadSound(TrackPath(), SOUND_LOOP);
    if (!track || !track->Streamed()) {
        state.SkipWithError("track did not load as a stream");
        return;
    }
    std::vector<ChannelPtr> channels{PlaySound(track), PlaySound(track)};
    auto effects = ShortSounds(16);
    StartEffects(effects, channels);
    RenderLoop(state);
    CloseAudio();
}
BENCHMARK(BM_MixSongAndEffects)->Unit(benchmark::kMicrosecond);

void BM_MixEffectsOnly(benchmark::State& state) {
    UseManualMixer();
    std::vector<ChannelPtr> channels;
    auto effects = ShortSounds(16);
    StartEffects(effects, channels);
    RenderLoop(state);
    CloseAudio();
}
BENCHMARK(BM_MixEffectsOnly)->Unit(benchmark::kMicrosecond);

size_t HeapInUse() { return mallinfo2().uordblks; }

void BM_LoadLongTrack(benchmark::State& state) {
    const std::string& path = TrackPath();
    for (auto _ : state) {
        auto sound = LoadSound(path);
        benchmark::DoNotOptimize(sound.get());
    }
    // Heap held by one loaded track, measured outside the timed loop.
    size_t before = HeapInUse();
    auto sound = LoadSound(path);
    size_t after = HeapInUse();
    state.counters["bytes_held"] = double(after - before);
    state.counters["decoded_bytes_would_be"] = sound ? double(sound->Frames() * sound->Channels() * 2) : 0.0;
    state.counters["file_bytes"] = double(std::filesystem::file_size(path));
}
BENCHMARK(BM_LoadLongTrack)->Unit(benchmark::kMillisecond);

void BM_StartLongTrack(benchmark::State& state) {
    UseManualMixer();
    auto track = LoadSound(TrackPath());
    ChannelPtr ch;
    size_t before = HeapInUse();
    ch = PlaySound(track, ch);
    state.counters["bytes_per_playing_channel"] = double(HeapInUse() - before);
    for (auto _ : state) {
        ch = PlaySound(track, ch);
        benchmark::DoNotOptimize(ch.get());
    }
    CloseAudio();
}
BENCHMARK(BM_StartLongTrack)->Unit(benchmark::kMillisecond);

}  // namespace
