// totem-sfx: synthesises every sound effect of the game as Ogg Vorbis.
//
//   totem-sfx OUTDIR    writes OUTDIR/<name>.ogg for every sound and prints each
//                       one's length, peak and RMS level
//   totem-sfx --list    prints "name min max loops" for every sound: the planned
//                       length range in seconds and 1 for a looping sound
//
// Files are written beside their final name and renamed into place when
// complete. Problems are printed as "PATH: problem"; the exit status is 1 when
// any sound could not be made or written.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Sounds.h"
#include "Synth.h"
#include "media/OggEncoder.h"

namespace fs = std::filesystem;

namespace {

double Db(double level) { return level > 0 ? 20 * std::log10(level) : -120.0; }

bool WriteAtomically(const fs::path& target, const std::vector<uint8_t>& bytes) {
    const fs::path temp = target.string() + ".partial";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code renamed;
    fs::rename(temp, target, renamed);
    if (renamed) {
        std::error_code ignored;  // a separate code: clearing up must not hide the failure
        fs::remove(temp, ignored);
    }
    return !renamed;
}

// Renders, checks and encodes one sound; returns the problem, or "" when it is written.
std::string Make(const SoundRecipe& recipe, int serial, const fs::path& outDir) {
    sfx::Signal s = recipe.render();
    const double seconds = double(s.size()) / sfx::kRate;
    if (seconds < recipe.minSeconds || seconds > recipe.maxSeconds) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "is %.3f s long, planned %.2f-%.2f s", seconds, recipe.minSeconds,
                      recipe.maxSeconds);
        return buf;
    }
    if (sfx::Peak(s) <= 0) return "is silent";
    sfx::NormalisePeak(s, std::pow(10.0, recipe.peakDb / 20.0));

    OggEncodeSettings settings;
    settings.channels = 1;
    settings.rate = sfx::kRate;
    settings.quality = 0.5f;
    settings.serial = serial;  // fixed per sound, so rebuilds give identical files
    std::vector<uint8_t> bytes;
    std::string error;
    if (!EncodeOggVorbis(s.data(), s.size(), settings, bytes, &error)) return "cannot be encoded: " + error;
    if (!WriteAtomically(outDir / (recipe.name + ".ogg"), bytes)) return "cannot be written";
    std::printf("%-22s %6.3f s  peak %6.1f dBFS  rms %6.1f dBFS  brightness %5.0f Hz%s\n",
                (recipe.name + ".ogg").c_str(), seconds, Db(sfx::Peak(s)), Db(sfx::Rms(s)), sfx::BrightnessHz(s),
                recipe.loops ? "  (loops)" : "");
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--list") {
        for (const SoundRecipe& r : SoundRecipes())
            std::printf("%s %.3f %.3f %d\n", r.name.c_str(), r.minSeconds, r.maxSeconds, r.loops ? 1 : 0);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: totem-sfx OUTDIR | --list\n");
        return 2;
    }
    const fs::path outDir = argv[1];
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (!fs::is_directory(outDir, ec)) {
        std::fprintf(stderr, "%s: cannot be created\n", outDir.string().c_str());
        return 1;
    }
    int failures = 0, serial = 4100;
    for (const SoundRecipe& recipe : SoundRecipes()) {
        const std::string problem = Make(recipe, ++serial, outDir);
        if (!problem.empty()) {
            std::fprintf(stderr, "%s: %s\n", (outDir / (recipe.name + ".ogg")).string().c_str(), problem.c_str());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
