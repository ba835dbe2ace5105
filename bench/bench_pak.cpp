// Loading a level's pictures from the data pack: one scope of 100 small PNG
// images declared in a resource description and packed into media/data.pak,
// with no loose files beside it. Each iteration loads the whole scope and
// unloads it again outside the timed part.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "content/DataPak.h"
#include "content/PakWriter.h"
#include "content/TResManager.h"
#include "content/Xml.h"
#include "media/Graphics.h"
#include "media/System.h"
#include "media/TPicture.h"
#include "media/TStream.h"

namespace fs = std::filesystem;

namespace {

constexpr int kImages = 100;
constexpr int kSide = 64;

// A folder holding only media/data.pak with the pictures and the resource
// description; the working directory stays there while the benchmark runs.
class PackedScope {
public:
    PackedScope() {
        previous_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("totem_bench_pak_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "media" / "level");
        fs::current_path(dir_);

        std::vector<PakWriterEntry> entries;
        std::string xml = "<res><resources id=\"level\"><setdefaults path=\"media/level/\" idprefix=\"LVL_\"/>\n";
        for (int i = 0; i < kImages; ++i) {
            TPicture pic(kSide, kSide, true);
            for (int y = 0; y < kSide; ++y)
                for (int x = 0; x < kSide; ++x)
                    pic.WritePixel(x, y, 0xFF000000u | uint32_t((x * 4 + i) & 0xFF) << 16 |
                                             uint32_t((y * 4) & 0xFF) << 8 | uint32_t((x ^ y ^ i) & 0xFF));
            const std::string name = "media/level/pic" + std::to_string(i) + ".png";
            if (!SavePicturePNG(pic, name)) ok_ = false;
            std::ifstream in(name, std::ios::binary);
            entries.push_back({name, std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {})});
            fs::remove(name);
            xml += "<image id=\"pic" + std::to_string(i) + "\" path=\"pic" + std::to_string(i) + ".png\"/>\n";
        }
        xml += "</resources></res>\n";

        StreamPtr out = OpenWrite("media/data.pak");
        std::string problem;
        if (!out || !WritePak(*out, entries, &problem)) ok_ = false;
        if (out) out->Close();
        fs::remove_all(dir_ / "media" / "level");

        PakPath = "media/data.pak";
        ResetPakDirectory();
        ResManager = std::make_shared<TResManager>();
        ResourceFatal = [this](const std::string&) { ok_ = false; };
        LoadResourceFile(XmlLoad(OpenMemory({xml.begin(), xml.end()})));
    }
    ~PackedScope() {
        ResManager = std::make_shared<TResManager>();
        ResetPakDirectory();
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    bool ok() const { return ok_; }

private:
    fs::path dir_, previous_;
    bool ok_ = true;
};

void BM_LoadScopeOf100PackedImages(benchmark::State& state) {
    SetNotifyBoxesEnabled(false);
    if (OpenDisplay(800, 600, 0, 60)) SetVirtualResolution(800, 600);
    PackedScope scope;
    if (!scope.ok()) {
        state.SkipWithError("could not build the pack");
        return;
    }
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        ResManager->LoadScope("level");
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        if (!ResManager->GetImage("LVL_pic0") || !ResManager->GetImage("LVL_pic99")) {
            state.SkipWithError("scope did not load");
            break;
        }
        ResManager->UnLoadScope("level");
        state.ResumeTiming();
    }
    if (!scope.ok()) state.SkipWithError("a packed picture was not found");
    state.counters["ms_per_scope"] = state.iterations() ? seconds * 1000 / double(state.iterations()) : 0;
    state.counters["images"] = kImages;
}
BENCHMARK(BM_LoadScopeOf100PackedImages)->Unit(benchmark::kMillisecond);

}  // namespace
