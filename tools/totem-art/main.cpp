// totem-art: paints every picture of the game into a folder.
//
//   totem-art OUTDIR            paints every registered piece below OUTDIR
//   totem-art OUTDIR FILTER     only pieces whose path contains FILTER
//   totem-art --list            prints every piece's path and size
//   totem-art --skins-xml FILE  writes the statues' eye positions of the skins
//   totem-art --svg FILE.svg W H OUT.png
//                               rasterises one SVG source at W × H, so an author
//                               can look at a drawing before a painter uses it
//
// Each picture is written beside its final name and renamed into place when
// complete. Problems are printed as "PATH: problem", one per line, and the exit
// status is 1 when any piece failed.

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <set>
#include <string>

#include "ArtKit.h"
#include "ArtRegistry.h"
#include "ArtSkins.h"

namespace fs = std::filesystem;

namespace {

std::string Render(const ArtPiece& piece, const fs::path& outDir) {
    if (piece.width <= 0 || piece.height <= 0) return "empty size";
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, piece.width, piece.height);
    cairo_t* cr = cairo_create(surface);
    std::string problem;
    try {
        piece.paint(cr);
    } catch (const std::exception& e) {
        problem = e.what();
    }
    if (problem.empty() && cairo_status(cr) != CAIRO_STATUS_SUCCESS)
        problem = std::string("drawing failed: ") + cairo_status_to_string(cairo_status(cr));
    cairo_destroy(cr);
    if (problem.empty()) {
        const fs::path target = outDir / piece.path;
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        const std::string temp = target.string() + ".partial";
        cairo_surface_flush(surface);
        if (cairo_surface_write_to_png(surface, temp.c_str()) != CAIRO_STATUS_SUCCESS) {
            problem = "cannot be written";
        } else {
            fs::rename(temp, target, ec);
            if (ec) problem = "cannot be moved into place";
        }
        if (!problem.empty()) fs::remove(temp, ec);
    }
    cairo_surface_destroy(surface);
    return problem;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--list") {
        for (const ArtPiece& p : AllArt()) std::printf("%s %dx%d\n", p.path.c_str(), p.width, p.height);
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--skins-xml") {
        FILE* out = std::fopen(argv[2], "wb");
        const std::string xml = SkinsXml();
        const bool ok = out && std::fwrite(xml.data(), 1, xml.size(), out) == xml.size();
        if (out && std::fclose(out) != 0) return 1;
        if (!ok) std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
        return ok ? 0 : 1;
    }
    if (argc == 6 && std::string(argv[1]) == "--svg") {
        const std::string svg = fs::absolute(argv[2]).string();
        const int w = std::atoi(argv[3]), h = std::atoi(argv[4]);
        const ArtPiece piece{argv[5], w, h, [=](cairo_t* cr) { PaintSvg(cr, svg, 0, 0, w, h); }};
        const std::string problem = Render(piece, fs::path());
        if (!problem.empty()) std::fprintf(stderr, "%s: %s\n", argv[5], problem.c_str());
        return problem.empty() ? 0 : 1;
    }
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: totem-art OUTDIR [FILTER] | --list | --skins-xml FILE | --svg FILE.svg W H OUT.png\n");
        return 2;
    }
    const fs::path outDir = argv[1];
    const std::string filter = argc == 3 ? argv[2] : "";
    int failures = 0;
    std::set<std::string> seen;
    for (const ArtPiece& piece : AllArt()) {
        if (!seen.insert(piece.path).second) {
            std::fprintf(stderr, "%s: painted twice\n", piece.path.c_str());
            ++failures;
            continue;
        }
        if (!filter.empty() && piece.path.find(filter) == std::string::npos) continue;
        const std::string problem = Render(piece, outDir);
        if (!problem.empty()) {
            std::fprintf(stderr, "%s: %s\n", piece.path.c_str(), problem.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
