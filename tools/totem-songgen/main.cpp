// totem-songgen: composes the game's songs from their descriptions.
//
//   totem-songgen song DESCRIPTION.song OUTDIR   → OUTDIR/{song.ogg,guitar.ogg,notes.mid}
//   totem-songgen loop DESCRIPTION.song OUT.ogg  → one seamless loop of band and lead
//   totem-songgen info DESCRIPTION.song...       → length and chart sizes, no audio
// Option --soundfont FILE (default: the General MIDI soundfont of Debian's
// fluid-soundfont-gm). Every failure prints one line and exits with 1; files
// are written beside their final names and renamed only when all are made.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media/OggEncoder.h"
#include "tools/totem-songgen/ChartBuilder.h"
#include "tools/totem-songgen/ChartMidiWriter.h"
#include "tools/totem-songgen/LoopFolder.h"
#include "tools/totem-songgen/SongComposer.h"
#include "tools/totem-songgen/SongDescription.h"
#include "tools/totem-songgen/SongRenderer.h"

namespace fs = std::filesystem;

namespace {

constexpr int kComplexities = 4;        // the charts hold difficulties 1 to 4
constexpr double kTailSeconds = 2.5;    // the reverb rings out after the last note
constexpr double kSilentRms = 0.003;    // about −50 dBFS: anything quieter is a broken render

int Fail(const std::string& message) {
    std::fprintf(stderr, "totem-songgen: %s\n", message.c_str());
    return 1;
}

double Rms(const std::vector<float>& s) {
    double sum = 0;
    for (float v : s) sum += double(v) * v;
    return s.empty() ? 0 : std::sqrt(sum / double(s.size()));
}

uint32_t Serial(const std::string& text, uint32_t salt) {
    uint32_t h = 2166136261u ^ salt;
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    return h & 0x7FFFFFFF;
}

bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out.flush());
}

bool Encode(const std::vector<float>& samples, uint32_t serial, std::vector<uint8_t>& out, std::string& error) {
    OggEncodeSettings settings;
    settings.serial = int(serial);
    settings.quality = 0.3f;
    return EncodeOggVorbis(samples.data(), samples.size() / 2, settings, out, &error);
}

// One gain for both tracks keeps the balance between band and lead and puts
// the loudest moment of the two together just below full scale.
void Normalise(std::vector<float>& a, std::vector<float>* b) {
    float peak = 0;
    for (size_t i = 0; i < a.size(); ++i) peak = std::max(peak, std::fabs(a[i] + (b ? (*b)[i] : 0.0f)));
    if (peak <= 0) return;
    const float gain = std::min(6.0f, 0.89f / peak);
    for (float& v : a) v *= gain;
    if (b)
        for (float& v : *b) v *= gain;
}

struct Options {
    std::string soundfont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
    std::vector<std::string> args;
};

bool LoadAndCompose(const std::string& file, bool loop, SongScore& score, std::string& error) {
    SongDescription d;
    if (!SongDescription::Load(file, d, error)) return false;
    std::string why;
    if (!SongComposer::Compose(d, score, why, loop)) {
        error = file + ": " + why;
        return false;
    }
    return true;
}

std::vector<ChartDifficulty> Charts(const SongScore& score, const std::string& file, std::string& error) {
    std::vector<ChartDifficulty> charts;
    for (int c = 1; c <= kComplexities; ++c) {
        charts.push_back(ChartBuilder::Build(score, c, Serial(fs::path(file).stem().string(), 7)));
        auto problems = ChartBuilder::Check(score, charts.back());
        if (!problems.empty()) {
            error = file + ": chart " + std::to_string(c) + " " + problems.front();
            return {};
        }
    }
    return charts;
}

int Song(const Options& o) {
    if (o.args.size() != 3) return Fail("usage: totem-songgen song DESCRIPTION.song OUTDIR");
    const std::string file = o.args[1];
    const fs::path dir = o.args[2];
    SongScore score;
    std::string error;
    if (!LoadAndCompose(file, false, score, error)) return Fail(error);
    auto charts = Charts(score, file, error);
    if (charts.empty()) return Fail(error);
    const auto midi = ChartMidiWriter::Write(score, charts);

    SongRenderer renderer;
    if (!renderer.Open(o.soundfont, error)) return Fail(file + ": " + error);
    const size_t frames = SongRenderer::FramesFor(score, kTailSeconds);
    std::vector<float> band, lead;
    if (!renderer.Render(score, false, frames, band, error) || !renderer.Render(score, true, frames, lead, error))
        return Fail(file + ": " + error);
    if (Rms(band) < kSilentRms) return Fail(file + ": the band track rendered silent");
    if (Rms(lead) < kSilentRms) return Fail(file + ": the lead track rendered silent");
    // Instruments differ a lot in loudness; the lead sits a little under the band
    // so that the band carries the song while the lead is muted.
    const float balance = float(std::clamp(0.8 * Rms(band) / Rms(lead), 0.4, 1.6));
    for (float& v : lead) v *= balance;
    Normalise(band, &lead);

    const std::string name = fs::path(file).stem().string();
    std::vector<uint8_t> bandOgg, leadOgg;
    if (!Encode(band, Serial(name, 1), bandOgg, error) || !Encode(lead, Serial(name, 2), leadOgg, error))
        return Fail(file + ": Ogg Vorbis encoding failed: " + error);

    std::error_code ec;
    fs::create_directories(dir, ec);
    const std::pair<const char*, const std::vector<uint8_t>*> outputs[] = {
        {"song.ogg", &bandOgg}, {"guitar.ogg", &leadOgg}, {"notes.mid", &midi}};
    for (const auto& [leaf, bytes] : outputs)
        if (!WriteFile(dir / (std::string(leaf) + ".part"), *bytes))
            return Fail((dir / leaf).string() + ": cannot be written");
    for (const auto& [leaf, bytes] : outputs) {
        fs::rename(dir / (std::string(leaf) + ".part"), dir / leaf, ec);
        if (ec) return Fail((dir / leaf).string() + ": cannot be written: " + ec.message());
    }
    std::printf("%s: %.1f s, %zu lead notes, chart items", name.c_str(), score.DurationSeconds(), score.lead.size());
    for (const auto& c : charts) std::printf(" %zu", c.items.size());
    std::printf("\n");
    return 0;
}

int Loop(const Options& o) {
    if (o.args.size() != 3) return Fail("usage: totem-songgen loop DESCRIPTION.song OUT.ogg");
    const std::string file = o.args[1];
    const fs::path out = o.args[2];
    SongScore score;
    std::string error;
    if (!LoadAndCompose(file, true, score, error)) return Fail(error);
    SongRenderer renderer;
    if (!renderer.Open(o.soundfont, error)) return Fail(file + ": " + error);
    const size_t frames = SongRenderer::FramesFor(score, kTailSeconds);
    const size_t loopFrames = SongRenderer::FramesFor(score, 0);
    std::vector<float> band, lead;
    if (!renderer.Render(score, false, frames, band, error) || !renderer.Render(score, true, frames, lead, error))
        return Fail(file + ": " + error);
    std::vector<float> mix = LoopFolder::Fold(band, lead, loopFrames);
    if (Rms(mix) < kSilentRms) return Fail(file + ": the loop rendered silent");
    Normalise(mix, nullptr);
    std::vector<uint8_t> ogg;
    if (!Encode(mix, Serial(out.filename().string(), 3), ogg, error))
        return Fail(file + ": Ogg Vorbis encoding failed: " + error);
    std::error_code ec;
    fs::create_directories(out.parent_path(), ec);
    fs::path part = out;
    part += ".part";
    if (!WriteFile(part, ogg)) return Fail(out.string() + ": cannot be written");
    fs::rename(part, out, ec);
    if (ec) return Fail(out.string() + ": cannot be written: " + ec.message());
    std::printf("%s: %.1f s loop\n", out.filename().string().c_str(), score.DurationSeconds());
    return 0;
}

int Info(const Options& o) {
    if (o.args.size() < 2) return Fail("usage: totem-songgen info DESCRIPTION.song...");
    for (size_t i = 1; i < o.args.size(); ++i) {
        SongScore score;
        std::string error;
        if (!LoadAndCompose(o.args[i], false, score, error)) return Fail(error);
        auto charts = Charts(score, o.args[i], error);
        if (charts.empty()) return Fail(error);
        std::printf("%s: %.1f s, %zu lead notes, chart items", o.args[i].c_str(), score.DurationSeconds(),
                    score.lead.size());
        for (const auto& c : charts) std::printf(" %zu", c.items.size());
        std::printf("\n");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--soundfont" && i + 1 < argc)
            o.soundfont = argv[++i];
        else
            o.args.push_back(a);
    }
    if (o.args.empty()) return Fail("usage: totem-songgen song|loop|info ...");
    if (o.args[0] == "song") return Song(o);
    if (o.args[0] == "loop") return Loop(o);
    if (o.args[0] == "info") return Info(o);
    return Fail("unknown command \"" + o.args[0] + "\"");
}
