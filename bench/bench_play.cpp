// What the play screen costs: the CPU time of one frame during a gold rush with
// the highway full, and the wait between starting a level and its first frame.
//
//   bench_play [GAMEDIR] [benchmark flags]
//
// GAMEDIR is a built runtime folder (res.xml, media/); by default the build
// tree's game folder. Without one the benchmarks are skipped with a message.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "app/TApp.h"
#include "content/GameFolder.h"
#include "content/TResManager.h"
#include "core/GameClock.h"
#include "fx/TEmitter.h"
#include "game/GameGlobals.h"
#include "game/TBat.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TMidiFile.h"
#include "game/TNote.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/OggEncoder.h"
#include "game/TLevelInfo.h"

namespace {

using Clock = std::chrono::steady_clock;

// CPU time of the calling thread: the frame's own work, whatever else the
// machine is doing (the software rasteriser's threads are the GPU's part).
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000 + double(t.tv_nsec) / 1e6;
}

std::string gameDir = std::string(TOTEM_BINARY_DIR) + "/game";

// Where the frame's work begins: listed first, so its Update runs before any
// other widget's. The frame's work ends in the hook before the frame is
// presented, after every widget has been updated and drawn.
class FrameStart : public TWidget {
public:
    Clock::time_point at;
    double cpuMs = 0;
    void Update(float) override {
        at = Clock::now();
        cpuMs = ThreadCpuMs();
    }
    void Draw() override {}
};

std::shared_ptr<FrameStart> frameStart;
TGame* game = nullptr;

bool OpenPlayScreen() {
    static int opened = -1;
    if (opened >= 0) return opened == 1;
    opened = 0;
    std::string problem;
    if (!EnterGameFolder(gameDir, problem)) return false;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    UseDrivenClock();
    UseSilentMixer();
    InitGlobals();
    LoadStartupContent();
    if (!OpenDisplay(800, 600, 0, 85)) return false;
    SetVirtualResolution(800, 600);
    LoadResourceFile("res.xml");
    ResManager->LoadScope("Init");
    FetchInitGroup();
    LoadMenuAndGryph();
    frameStart = std::make_shared<FrameStart>();
    WidgetManager->AddWidget(frameStart);
    TApp::CreateGame();
    game = Game;
    TApp::EnterLoop();
    opened = 1;
    return true;
}

int GameNote(const MidiNotePtr& n) { return n->note >= 84 && n->note <= 91; }

// The song time at which the highway holds the most items at once: the moment
// the last note of the fullest stretch one highway run long has spawned.
int32_t BusiestMoment(const std::vector<MidiNotePtr>& notes, float runMs) {
    int32_t best = 0;
    size_t bestCount = 0, first = 0;
    std::vector<int32_t> times;
    for (const MidiNotePtr& n : notes)
        if (GameNote(n)) times.push_back(n->StartTime);
    std::sort(times.begin(), times.end());
    for (size_t last = 0; last < times.size(); ++last) {
        while (float(times[last] - times[first]) > runMs) ++first;
        if (last - first + 1 > bestCount) {
            bestCount = last - first + 1;
            best = times[last] - int32_t(runMs);
        }
    }
    return best;
}

// Keeps the catcher on the line of the nearest item still to come, as a player
// would, so catches burst and long notes are held.
void SteerCatcher(TGryph& gryph) {
    if (!Bat) return;
    const TItem* nearest = nullptr;
    for (const ItemPtr& item : gryph.Items) {
        if (auto* note = dynamic_cast<TNote*>(item.get()); note && note->IsHeld()) return;
        if (item->PickUpStarted || item->time >= 83) continue;
        if (!nearest || item->time > nearest->time) nearest = item.get();
    }
    constexpr float kLineTargetX[5] = {257, 331.5f, 407, 478.5f, 558};
    if (nearest) Bat->mx = kLineTargetX[std::clamp(nearest->LineNum, 0, 4)];
}

void HoldGoldRush(TGryph& gryph) {
    gryph.RazogrevList.clear();
    for (int i = 0; i < 15; ++i) gryph.RazogrevList.push_back(TRazogrevValue::Create(4));
}

size_t Particles(const TGryph& gryph) {
    size_t n = 0;
    for (const auto& e : gryph.Emitters) n += e->ParticleCount();
    for (const auto& e : gryph.EmittersBack) n += e->ParticleCount();
    return n;
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
    return v[i];
}

constexpr int kGoldRushLevel = 28;  // the last level: the densest chart at the highest speed
constexpr int kFrames = 600;        // ten seconds of play

// Crowds the highway beyond any chart: from `from` on, a note every 100 ms
// cycling through the lines, every fourth one long (with its stars), every
// seventh starred.
void Crowd(TMidiFile& chart, int32_t from, int32_t until) {
    int i = 0;
    for (int32_t t = from; t < until; t += 100, ++i) {
        auto n = std::make_shared<TMidiNote>();
        n->note = 84 + i % 5;
        n->StartTime = t;
        n->single = 1;
        n->Length = i % 4 == 0 ? 12 : 0;
        n->Starred = i % 7 == 0 ? 1 : 0;
        chart.notes.push_back(n);
    }
    std::stable_sort(chart.notes.begin(), chart.notes.end(),
                     [](const MidiNotePtr& a, const MidiNotePtr& b) { return a->StartTime < b->StartTime; });
}

// One frame of the play screen — every widget's Update and Draw, the input poll
// and the audio refill — in a gold rush at the busiest stretch of the densest
// level, with the catcher catching. Each iteration is one frame; the reported
// time is the main thread's CPU time for the frame, without presenting it: the
// work of submitting the drawing, not of rasterising it (which a software
// renderer does on its own threads, possibly frames later).
// Arg 0: the level's own chart. Arg 1: the highway crowded beyond any chart.
void BM_GoldRushFrame(benchmark::State& state) {
    game->LevelInfo = GetLevelById(kGoldRushLevel);
    if (!game->LevelInfo || game->StartLevel(0) != 0) {
        state.SkipWithError("level 28 does not start");
        return;
    }
    TGryph& gryph = *game->Gryph;
    const float runMs = float(gryph.GryphTime) / LevelSpeed;
    const int32_t busiest = BusiestMoment(gryph.MIDI->notes, runMs);
    // Skip ahead to a second before the items of the busiest stretch begin to
    // spawn: the notes due before then are dropped and the clock moved on, so
    // the frames before the measured ones are few.
    const float skipTo = float(busiest) - runMs - 1000;
    if (skipTo > 0) {
        auto& pending = gryph.MIDI->notes;
        pending.erase(std::remove_if(pending.begin(), pending.end(),
                                     [&](const MidiNotePtr& n) { return float(n->StartTime) < skipTo + runMs; }),
                      pending.end());
        GameClock = skipTo;
    }
    if (state.range(0) != 0) Crowd(*gryph.MIDI, busiest - int32_t(runMs), busiest + 12000);
    Clock::time_point frameEnd;
    double frameEndCpuMs = 0;
    TApp::SetBeforePresent([&] {
        frameEnd = Clock::now();
        frameEndCpuMs = ThreadCpuMs();
    });
    // Play up to the busiest moment with the meter held in a gold rush.
    while (gryph.SongTime < busiest && game->CompletedLevels == 0) {
        HoldGoldRush(gryph);
        SteerCatcher(gryph);
        TApp::RunFrame();
    }

    std::vector<double> ms, wallMs, driverMs, oursMs;
    double items = 0, particles = 0, maxItems = 0, maxParticles = 0, drawCalls = 0, quads = 0, pixels = 0;
    for (auto _ : state) {
        HoldGoldRush(gryph);
        SteerCatcher(gryph);
        TApp::RunFrame();
        // The driver's share (GL calls, presenting included) and the rest of
        // the whole frame's CPU time, up to the end of presenting: our code's.
        const RenderStats frameStats = LastFrameStats();
        driverMs.push_back(frameStats.driverMs);
        oursMs.push_back(std::max(0.0, ThreadCpuMs() - frameStart->cpuMs - frameStats.driverMs));
        const double cpu = frameEndCpuMs - frameStart->cpuMs;
        state.SetIterationTime(cpu / 1000);
        ms.push_back(cpu);
        wallMs.push_back(std::chrono::duration<double>(frameEnd - frameStart->at).count() * 1000);
        items += double(gryph.Items.size());
        particles += double(Particles(gryph));
        maxItems = std::max(maxItems, double(gryph.Items.size()));
        maxParticles = std::max(maxParticles, double(Particles(gryph)));
        drawCalls += LastFrameStats().drawCalls;
        quads += LastFrameStats().quads;
        pixels += LastFrameStats().pixels;
    }
    TApp::SetBeforePresent(nullptr);
    // The software renderer may still be drawing the queued frames; finish them
    // here rather than in whatever is measured next.
    GrabFrame();
    const bool goldRush = game->GoldRush() != 0;
    game->StopGame(0);
    if (!goldRush) {
        state.SkipWithError("the gold rush did not hold");
        return;
    }
    const double n = double(ms.size());
    state.counters["median_ms"] = Percentile(ms, 0.5);
    state.counters["p99_ms"] = Percentile(ms, 0.99);
    state.counters["wall_median_ms"] = Percentile(wallMs, 0.5);
    state.counters["wall_p99_ms"] = Percentile(wallMs, 0.99);
    state.counters["items"] = items / n;
    state.counters["items_max"] = maxItems;
    state.counters["particles"] = particles / n;
    state.counters["particles_max"] = maxParticles;
    state.counters["song_s"] = double(busiest) / 1000;
    state.counters["draw_calls"] = drawCalls / n;
    state.counters["quads"] = quads / n;
    state.counters["Mpixels"] = pixels / n / 1e6;
    state.counters["driver_median_ms"] = Percentile(driverMs, 0.5);
    state.counters["ours_median_ms"] = Percentile(oursMs, 0.5);
    state.counters["ours_p99_ms"] = Percentile(oursMs, 0.99);
}

// The level of the table whose song is nearest to three minutes long.
LevelInfoPtr LongestLevel(double& seconds) {
    LevelInfoPtr best;
    double bestGap = 1e9;
    for (const LevelInfoPtr& level : LevelInfoList) {
        SoundPtr track = LoadSound("media/songs/" + level->song + "/song.ogg");
        if (!track || track->Rate() <= 0) continue;
        const double length = double(track->Frames()) / track->Rate();
        if (std::abs(length - 180) < bestGap) {
            bestGap = std::abs(length - 180);
            best = level;
            seconds = length;
        }
    }
    return best;
}

// Writes `seconds` of a chord, as the game's tracks are encoded, to `path`.
bool WriteTrack(const std::filesystem::path& path, double seconds, float pitch) {
    const size_t frames = size_t(seconds * 44100);
    std::vector<float> pcm(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        const float t = float(i) / 44100.0f;
        const float v = 0.2f * std::sin(6.2831853f * pitch * t) + 0.1f * std::sin(6.2831853f * pitch * 1.5f * t);
        pcm[2 * i] = pcm[2 * i + 1] = v;
    }
    std::vector<uint8_t> ogg;
    if (!EncodeOggVorbis(pcm.data(), frames, OggEncodeSettings{}, ogg, nullptr)) return false;
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(ogg.data(), 1, ogg.size(), f) == ogg.size();
    return std::fclose(f) == 0 && ok;
}

// No song of the table lasts three minutes, so the longest one's level is
// started on a copy of its chart with two tracks of exactly three minutes,
// kept in a folder of their own; the highway is pointed there.
LevelInfoPtr ThreeMinuteLevel(double& seconds) {
    LevelInfoPtr longest = LongestLevel(seconds);
    if (!longest || seconds >= 175) return longest;
    namespace fs = std::filesystem;
    const fs::path songs = fs::temp_directory_path() / "totem_bench_songs";
    const fs::path folder = songs / longest->song;
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    fs::copy_file(fs::path("media/songs") / longest->song / "notes.mid", folder / "notes.mid",
                  fs::copy_options::overwrite_existing, ignored);
    if (!WriteTrack(folder / "song.ogg", 180, 220) || !WriteTrack(folder / "guitar.ogg", 180, 330)) return nullptr;
    TGryph::SongsFolder = songs.string() + "/";
    seconds = 180;
    return longest;
}

// From asking the controller to start a level to the end of the level's first
// frame: the chart, both tracks and, with a cold start, the level's skin.
// Arg 0: the skin is already loaded (the next level of the same island).
// Arg 1: the skin is loaded too (the first level of an island).
void BM_StartLevelToFirstFrame(benchmark::State& state) {
    double seconds = 0;
    LevelInfoPtr level = ThreeMinuteLevel(seconds);
    if (!level) {
        state.SkipWithError("no level with a readable song");
        return;
    }
    const bool cold = state.range(0) != 0;
    // The first frame counts once it is drawn: reading it back waits for the
    // renderer to finish it.
    Clock::time_point frameEnd;
    double frameEndCpuMs = 0;
    TApp::SetBeforePresent([&] {
        GrabFrame();
        frameEnd = Clock::now();
        frameEndCpuMs = ThreadCpuMs();
    });
    std::vector<double> wallMs, cpuMs;
    for (auto _ : state) {
        game->LevelInfo = level;
        if (cold && !CurrentSkin.empty()) {
            ResManager->UnLoadScope(CurrentSkin);
            CurrentSkin.clear();
        } else if (!cold && CurrentSkin != level->Skin) {
            game->StartLevel(0);
            game->StopGame(0);
        }
        // Let the renderer finish what earlier frames queued, so none of it is
        // counted here.
        GrabFrame();
        const Clock::time_point begin = Clock::now();
        const double beginCpuMs = ThreadCpuMs();
        if (game->StartLevel(0) != 0) {
            state.SkipWithError("the level does not start");
            break;
        }
        TApp::RunFrame();
        const double wall = std::chrono::duration<double>(frameEnd - begin).count();
        state.SetIterationTime(wall);
        wallMs.push_back(wall * 1000);
        cpuMs.push_back(frameEndCpuMs - beginCpuMs);
        game->StopGame(0);
    }
    TApp::SetBeforePresent(nullptr);
    state.SetLabel("level " + std::to_string(level->id) + " " + level->song + " on " + std::to_string(int(seconds)) + " s tracks");
    state.counters["song_s"] = seconds;
    if (wallMs.empty()) return;
    // The first start reads the level's files from disk; the others find them cached.
    state.counters["first_ms"] = wallMs.front();
    state.counters["median_ms"] = Percentile(wallMs, 0.5);
    state.counters["cpu_median_ms"] = Percentile(cpuMs, 0.5);
}

}  // namespace

int main(int argc, char** argv) {
    // A first argument that is not a flag names the game folder.
    if (argc > 1 && argv[1][0] != '-') {
        gameDir = argv[1];
        for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
        --argc;
    }
    benchmark::Initialize(&argc, argv);
    const std::string path = std::filesystem::absolute(gameDir).string();
    if (!std::filesystem::is_regular_file(std::filesystem::path(gameDir) / "res.xml")) {
        std::printf("bench_play: skipped, no built game folder at %s\n", path.c_str());
        return 0;
    }
    gameDir = path;
    if (!OpenPlayScreen()) {
        std::printf("bench_play: skipped, the play screen does not open from %s\n", path.c_str());
        return 0;
    }
    benchmark::RegisterBenchmark("BM_GoldRushFrame", BM_GoldRushFrame)
        ->Arg(0)
        ->Arg(1)
        ->Iterations(kFrames)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_StartLevelToFirstFrame", BM_StartLevelToFirstFrame)
        ->Arg(0)
        ->Arg(1)
        ->Iterations(5)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
