// Draws every picture of one resource scope onto a single PNG sheet, to look
// over a scope's art at a glance: a grid of cells, each picture scaled down to
// fit on a checkerboard (so transparency shows), its id and size written under
// it; animated strips show all their frames and fonts a sample line. The
// resources are registered and loaded exactly as the game does it, through the
// data pack and the game's own readers.
//
//   totem-contact-sheet GAMEDIR SCOPE OUT.png
//
// SCOPE "fonts" (unless res.xml has a scope of that name) shows every font of
// every scope at its own size instead.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "content/GameFolder.h"
#include "SheetCanvas.h"
#include "content/TResManager.h"
#include "core/TextHelpers.h"
#include "media/Graphics.h"

namespace {

constexpr uint32_t kBackground = 0xFF202028u;
constexpr uint32_t kPanel = 0xFF3C3A46u;
constexpr uint32_t kCheckLight = 0xFFC8C8C8u, kCheckDark = 0xFF989898u;
constexpr uint32_t kLabel = 0xFFFFFFFFu, kInfo = 0xFFB0B0B8u, kMissing = 0xFFFF5050u;
constexpr int kMargin = 10, kGap = 8;
constexpr int kCellW = 200, kAreaW = 184, kAreaH = 140, kPad = 8, kLineH = 12;
constexpr int kMaxColumns = 5;
const char* const kSample = "AaBbQq 0123 +50 ÀÉéñöÿ";

// What one cell shows.
struct Cell {
    std::string id;
    std::string info;
    std::vector<PicturePtr> frames;  // pictures; several for a strip
    FontPtr font;                    // or a font's sample line
    bool missing = false;
};

// Loads one entry the way the game does and turns it into a cell.
Cell MakeCell(const ResPtr& res, std::vector<std::string>& failures) {
    Cell cell;
    cell.id = UpperAscii(res->name);
    const size_t failuresBefore = failures.size();
    res->Load();
    if (auto font = res->AsFont()) {
        cell.font = font;
        cell.info = "font, " + std::to_string(font->height()) + " px high";
    } else if (auto image = res->AsImage()) {
        cell.frames = image->frames;
        cell.info = std::to_string(image->width) + "x" + std::to_string(image->height);
        if (image->FrameCount() > 1) cell.info = std::to_string(image->FrameCount()) + " frames of " + cell.info;
    } else {
        cell.missing = true;
        cell.info = "missing";
        if (failures.size() == failuresBefore) failures.push_back(res->FileName + " not found");
    }
    res->UnLoad();
    return cell;
}

// Lays several frames side by side in rows into one picture, a transparent
// line between them.
PicturePtr FrameGrid(const std::vector<PicturePtr>& frames) {
    if (frames.size() == 1) return frames[0];
    const int n = static_cast<int>(frames.size());
    const int cols = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    const int rows = (n + cols - 1) / cols;
    const int fw = frames[0]->Width(), fh = frames[0]->Height();
    const int gap = std::max(1, std::max(fw, fh) / 16);
    auto grid = std::make_shared<TPicture>(cols * fw + (cols - 1) * gap, rows * fh + (rows - 1) * gap, true);
    for (int i = 0; i < n; ++i) {
        const int ox = (i % cols) * (fw + gap), oy = (i / cols) * (fh + gap);
        const bool opaque = !frames[static_cast<size_t>(i)]->HasAlpha();
        for (int y = 0; y < fh; ++y)
            for (int x = 0; x < fw; ++x) {
                const uint32_t p = frames[static_cast<size_t>(i)]->ReadPixel(x, y);
                grid->WritePixel(ox + x, oy + y, opaque ? (p | 0xFF000000u) : p);
            }
    }
    return grid;
}

// The longest start of `text` that fits in `width` with the font.
std::string Fit(const TImageFont& font, std::string text, int width) {
    while (!text.empty() && SheetCanvas::MeasureText(font, text) > width) {
        text.pop_back();
        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
        if (!text.empty() && static_cast<unsigned char>(text.back()) >= 0xC0) text.pop_back();
    }
    return text;
}

void DrawCross(SheetCanvas& canvas, int x, int y, int w, int h) {
    const int n = std::min(w, h);
    for (int i = 0; i < n; ++i)
        for (int t = -1; t <= 1; ++t) {
            canvas.FillRect(x + (w - n) / 2 + i + t, y + (h - n) / 2 + i, 1, 1, kMissing);
            canvas.FillRect(x + (w - n) / 2 + n - 1 - i + t, y + (h - n) / 2 + i, 1, 1, kMissing);
        }
}

PicturePtr GridSheet(const std::vector<Cell>& cells) {
    const FontPtr label = DefaultFont();
    const int cellH = kPad + kAreaH + 4 + 2 * kLineH + kPad / 2;
    const int n = static_cast<int>(cells.size());
    const int cols = std::clamp(n, 1, kMaxColumns);
    const int rows = std::max(1, (n + cols - 1) / cols);
    SheetCanvas canvas(2 * kMargin + cols * kCellW + (cols - 1) * kGap, 2 * kMargin + rows * cellH + (rows - 1) * kGap,
                       kBackground);
    for (int i = 0; i < n; ++i) {
        const Cell& cell = cells[static_cast<size_t>(i)];
        const int x = kMargin + (i % cols) * (kCellW + kGap), y = kMargin + (i / cols) * (cellH + kGap);
        canvas.FillRect(x, y, kCellW, cellH, kPanel);
        const int ax = x + (kCellW - kAreaW) / 2, ay = y + kPad;
        canvas.Checkerboard(ax, ay, kAreaW, kAreaH, 8, kCheckLight, kCheckDark);
        if (cell.missing) {
            DrawCross(canvas, ax + 20, ay + 20, kAreaW - 40, kAreaH - 40);
        } else if (cell.font) {
            const std::string sample = Fit(*cell.font, kSample, kAreaW - 8);
            canvas.DrawText(*cell.font, sample, ax + 4, ay + std::max(0, (kAreaH - cell.font->height()) / 2),
                            0xFFFFFFFFu);
        } else if (!cell.frames.empty()) {
            canvas.DrawFitted(*FrameGrid(cell.frames), ax, ay, kAreaW, kAreaH);
        }
        const int ty = ay + kAreaH + 4;
        canvas.DrawText(*label, Fit(*label, cell.id, kAreaW), ax, ty, kLabel);
        canvas.DrawText(*label, Fit(*label, cell.info, kAreaW), ax, ty + kLineH, cell.missing ? kMissing : kInfo);
    }
    return canvas.Picture();
}

// One full-width row per font: its id, then its sample line at its own size.
PicturePtr FontSheet(const std::vector<Cell>& cells) {
    const FontPtr label = DefaultFont();
    int width = 400;
    int height = 2 * kMargin - kGap;
    for (const Cell& cell : cells) {
        if (cell.font) width = std::max(width, SheetCanvas::MeasureText(*cell.font, kSample) + 2 * kPad);
        height += kGap + kPad + kLineH + (cell.font ? cell.font->height() : kLineH) + kPad;
    }
    SheetCanvas canvas(width + 2 * kMargin, height, kBackground);
    int y = kMargin;
    for (const Cell& cell : cells) {
        const int sampleH = cell.font ? cell.font->height() : kLineH;
        canvas.FillRect(kMargin, y, width, kPad + kLineH + sampleH + kPad, kPanel);
        canvas.DrawText(*label, cell.id + "  " + cell.info, kMargin + kPad, y + kPad / 2, cell.missing ? kMissing : kLabel);
        canvas.Checkerboard(kMargin + kPad, y + kPad + kLineH, width - 2 * kPad, sampleH, 8, kCheckLight, kCheckDark);
        if (cell.font) canvas.DrawText(*cell.font, kSample, kMargin + kPad, y + kPad + kLineH, 0xFFFFFFFFu);
        y += kPad + kLineH + sampleH + kPad + kGap;
    }
    return canvas.Picture();
}

bool WritePng(const TPicture& picture, const std::string& path) {
    const std::vector<uint8_t> bytes = EncodePicturePNG(picture);
    if (bytes.empty()) return false;
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    std::error_code error;
    std::filesystem::rename(temp, path, error);
    if (error) std::filesystem::remove(temp, error);
    return !error;
}

bool IsPicture(const ResPtr& r) {
    return dynamic_cast<TResImage*>(r.get()) || dynamic_cast<TResAnimImage*>(r.get()) ||
           dynamic_cast<TResImageFont*>(r.get());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: totem-contact-sheet GAMEDIR SCOPE OUT.png\n");
        return 2;
    }
    const std::filesystem::path gameDir = argv[1];
    const std::string scope = LowerAscii(argv[2]);
    const std::filesystem::path out = std::filesystem::absolute(argv[3]);

    std::string problem;
    if (!EnterGameFolder(gameDir.string(), problem)) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }

    // A missing file is shown on the sheet and reported, never the end of the run.
    std::vector<std::string> failures;
    ResourceFatal = [&failures](const std::string& message) { failures.push_back(message); };
    LoadResourceFile("res.xml");

    bool scopeKnown = false;
    for (const ResPtr& r : ResManager->Resources) scopeKnown = scopeKnown || r->Scope == scope;
    const bool fontMode = !scopeKnown && scope == "fonts";

    std::vector<Cell> cells;
    for (const ResPtr& r : ResManager->Resources) {
        const bool wanted = fontMode ? dynamic_cast<TResImageFont*>(r.get()) != nullptr : r->Scope == scope && IsPicture(r);
        if (wanted) cells.push_back(MakeCell(r, failures));
    }
    if (!scopeKnown && !(fontMode && !cells.empty())) {
        std::fprintf(stderr, "%s: res.xml has no scope \"%s\"\n", gameDir.string().c_str(), argv[2]);
        return 1;
    }

    const PicturePtr sheet = fontMode ? FontSheet(cells) : GridSheet(cells);
    if (!WritePng(*sheet, out.string())) {
        std::fprintf(stderr, "%s: cannot be written\n", out.string().c_str());
        return 1;
    }
    for (const std::string& failure : failures) std::printf("%s\n", failure.c_str());
    std::printf("%s: %zu cells, %dx%d\n", out.string().c_str(), cells.size(), sheet->Width(), sheet->Height());
    return failures.empty() ? 0 : 1;
}
