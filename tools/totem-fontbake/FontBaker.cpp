#include "FontBaker.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "media/Graphics.h"

namespace {

constexpr int kAtlasGap = 2;  // transparent pixels between cells so filtering never bleeds

struct FreeTypeFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeTypeFace() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

struct Coverage {
    int code = 0;
    int left = 0, top = 0, width = 0, rows = 0;
    int advance = 0;
    std::vector<float> alpha;  // width × rows, 0..1
};

bool Rasterise(FT_Face face, int code, Coverage& out) {
    const FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(code));
    if (index == 0) return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) return false;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    out.code = code;
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.width = static_cast<int>(bitmap.width);
    out.rows = static_cast<int>(bitmap.rows);
    out.advance = static_cast<int>(std::lround(static_cast<double>(slot->advance.x) / 64.0));
    out.alpha.assign(static_cast<size_t>(out.width) * static_cast<size_t>(out.rows), 0.0f);
    for (int y = 0; y < out.rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < out.width; ++x) {
            float a = 0;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                a = (row[x >> 3] & (0x80 >> (x & 7))) ? 1.0f : 0.0f;
            else
                a = static_cast<float>(row[x]) / 255.0f;
            out.alpha[static_cast<size_t>(y) * static_cast<size_t>(out.width) + static_cast<size_t>(x)] = a;
        }
    }
    return true;
}

// A coverage field over one cell, zero outside.
struct Field {
    int w = 0, h = 0;
    std::vector<float> v;
    Field(int w_, int h_) : w(w_), h(h_), v(static_cast<size_t>(w_) * static_cast<size_t>(h_), 0.0f) {}
    float At(int x, int y) const {
        if (x < 0 || y < 0 || x >= w || y >= h) return 0;
        return v[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
    }
    float& Ref(int x, int y) { return v[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]; }
};

// The glyph grown by `radius` pixels, with a soft half-pixel rim.
Field Dilate(const Field& in, int radius) {
    Field out(in.w, in.h);
    const int reach = radius + 1;
    for (int y = 0; y < in.h; ++y)
        for (int x = 0; x < in.w; ++x) {
            float best = 0;
            for (int dy = -reach; dy <= reach && best < 1; ++dy)
                for (int dx = -reach; dx <= reach; ++dx) {
                    const float c = in.At(x + dx, y + dy);
                    if (c <= best) continue;
                    const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                    const float reachWeight = std::clamp(static_cast<float>(radius) + 1.0f - d, 0.0f, 1.0f);
                    best = std::max(best, c * reachWeight);
                }
            out.Ref(x, y) = best;
        }
    return out;
}

struct Premultiplied {
    float a = 0, r = 0, g = 0, b = 0;
};

void Over(Premultiplied& dst, uint32_t argb, float coverage) {
    const float a = coverage * static_cast<float>(argb >> 24) / 255.0f;
    if (a <= 0) return;
    const float keep = 1 - a;
    dst.r = static_cast<float>((argb >> 16) & 0xFF) / 255.0f * a + dst.r * keep;
    dst.g = static_cast<float>((argb >> 8) & 0xFF) / 255.0f * a + dst.g * keep;
    dst.b = static_cast<float>(argb & 0xFF) / 255.0f * a + dst.b * keep;
    dst.a = a + dst.a * keep;
}

uint32_t Mix(uint32_t top, uint32_t bottom, float t) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 24; shift += 8) {
        const float a = static_cast<float>((top >> shift) & 0xFF), b = static_cast<float>((bottom >> shift) & 0xFF);
        out |= static_cast<uint32_t>(std::lround(a + (b - a) * t)) << shift;
    }
    return out;
}

uint32_t Straight(const Premultiplied& p) {
    if (p.a <= 0.5f / 255.0f) return 0;
    auto channel = [&](float premul) {
        return static_cast<uint32_t>(std::lround(std::clamp(premul / p.a, 0.0f, 1.0f) * 255.0f));
    };
    const uint32_t a = static_cast<uint32_t>(std::lround(std::clamp(p.a, 0.0f, 1.0f) * 255.0f));
    return (a << 24) | (channel(p.r) << 16) | (channel(p.g) << 8) | channel(p.b);
}

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& problem) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (out) out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            problem = temp + ": cannot be written";
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temp, path, error);
    if (error) {
        problem = path + ": cannot be replaced (" + error.message() + ")";
        std::filesystem::remove(temp, error);
        return false;
    }
    return true;
}

void PutInt(std::vector<uint8_t>& bytes, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(u >> shift));
}

}  // namespace

std::vector<int> BakedCodes() {
    std::vector<int> codes;
    for (int c = 33; c <= 126; ++c) codes.push_back(c);
    for (int c = 160; c <= 255; ++c) codes.push_back(c);
    return codes;
}

bool BakeFont(const std::string& fontFile, int pixelSize, const FontStyle& style, BakedFont& out,
              std::string& problem) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(fontFile, error)) {
        problem = fontFile + ": no such font file";
        return false;
    }
    if (pixelSize < 4 || pixelSize > 256) {
        problem = fontFile + ": size " + std::to_string(pixelSize) + " is outside 4..256 pixels";
        return false;
    }
    FreeTypeFace ft;
    if (FT_Init_FreeType(&ft.library) != 0) {
        problem = fontFile + ": FreeType could not start";
        return false;
    }
    if (FT_New_Face(ft.library, fontFile.c_str(), 0, &ft.face) != 0) {
        ft.face = nullptr;
        problem = fontFile + ": not a font FreeType can read";
        return false;
    }
    if (FT_Set_Pixel_Sizes(ft.face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
        problem = fontFile + ": cannot be sized to " + std::to_string(pixelSize) + " pixels";
        return false;
    }

    std::vector<Coverage> glyphs;
    int ascent = 1, descent = 0;
    for (int code : BakedCodes()) {
        Coverage c;
        if (!Rasterise(ft.face, code, c)) continue;
        if (c.rows > 0) {
            ascent = std::max(ascent, c.top);
            descent = std::max(descent, c.rows - c.top);
        }
        glyphs.push_back(std::move(c));
    }
    if (glyphs.empty()) {
        problem = fontFile + ": has none of the Latin-1 characters";
        return false;
    }

    const int ring = style.outlineWidth;
    const int dx = style.shadow ? style.shadowDx : 0, dy = style.shadow ? style.shadowDy : 0;
    // The outline reaches `ring` pixels past the ink and the shadow its offset
    // further; one spare row above and below keeps accents off the cell edge.
    const int padLeft = ring + std::max(0, -dx), padRight = ring + std::max(0, dx);
    const int padTop = ring + std::max(0, -dy) + 1, padBottom = ring + std::max(0, dy) + 1;
    const int cellH = padTop + ascent + descent + padBottom;
    const int baseline = padTop + ascent;

    // Style every glyph into its own cell first, then pack them.
    std::vector<PicturePtr> cells;
    for (const Coverage& c : glyphs) {
        const int inkLeft = std::min(0, c.left), inkRight = std::max(c.advance, c.left + c.width);
        const int cellW = std::max(1, inkRight - inkLeft + padLeft + padRight);
        const int penX = padLeft - inkLeft;

        Field fill(cellW, cellH);
        for (int y = 0; y < c.rows; ++y)
            for (int x = 0; x < c.width; ++x) {
                const int cx = penX + c.left + x, cy = baseline - c.top + y;
                if (cx >= 0 && cy >= 0 && cx < cellW && cy < cellH)
                    fill.Ref(cx, cy) = c.alpha[static_cast<size_t>(y) * static_cast<size_t>(c.width) +
                                               static_cast<size_t>(x)];
            }
        const Field body = ring > 0 ? Dilate(fill, ring) : fill;

        auto cell = std::make_shared<TPicture>(cellW, cellH, true);
        for (int y = 0; y < cellH; ++y) {
            const float t = std::clamp(static_cast<float>(y - padTop) / static_cast<float>(std::max(1, ascent)),
                                       0.0f, 1.0f);
            const uint32_t fillColor = Mix(style.fillTop, style.fillBottom, t);
            for (int x = 0; x < cellW; ++x) {
                Premultiplied p;
                if (style.shadow) Over(p, style.shadowColor, body.At(x - dx, y - dy));
                if (ring > 0) Over(p, style.outlineColor, body.At(x, y));
                Over(p, fillColor, fill.At(x, y));
                cell->WritePixel(x, y, Straight(p));
            }
        }
        cells.push_back(cell);
    }

    // Shelf packing in code order into an atlas about as wide as it is tall.
    long long area = 0;
    int widest = 0;
    for (const PicturePtr& cell : cells) {
        area += static_cast<long long>(cell->Width() + kAtlasGap) * (cellH + kAtlasGap);
        widest = std::max(widest, cell->Width() + 2 * kAtlasGap);
    }
    int atlasW = 64;
    while (static_cast<long long>(atlasW) * atlasW < area * 5 / 4 || atlasW < widest) atlasW *= 2;

    out.glyphs.clear();
    int x = kAtlasGap, y = kAtlasGap;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (x + cells[i]->Width() + kAtlasGap > atlasW) {
            x = kAtlasGap;
            y += cellH + kAtlasGap;
        }
        out.glyphs.push_back({glyphs[i].code, x, y, cells[i]->Width(), cellH});
        x += cells[i]->Width() + kAtlasGap;
    }
    const int atlasH = y + cellH + kAtlasGap;
    out.atlas = std::make_shared<TPicture>(atlasW, atlasH, true);
    for (size_t i = 0; i < cells.size(); ++i) {
        const BakedGlyph& g = out.glyphs[i];
        for (int cy = 0; cy < g.h; ++cy)
            for (int cx = 0; cx < g.w; ++cx) out.atlas->WritePixel(g.x + cx, g.y + cy, cells[i]->ReadPixel(cx, cy));
    }
    out.kerning = style.kerning;
    out.cellHeight = cellH;
    out.baseline = baseline;
    return true;
}

bool WriteBakedFont(const BakedFont& font, const std::string& outBase, std::string& problem) {
    if (!font.atlas) {
        problem = outBase + ": nothing to write";
        return false;
    }
    const std::filesystem::path parent = std::filesystem::path(outBase).parent_path();
    std::error_code error;
    if (!parent.empty()) std::filesystem::create_directories(parent, error);

    const std::vector<uint8_t> png = EncodePicturePNG(*font.atlas);
    if (png.empty()) {
        problem = outBase + ".png: the picture could not be encoded";
        return false;
    }
    std::vector<uint8_t> table;
    PutInt(table, font.kerning);
    PutInt(table, 0);
    PutInt(table, static_cast<int32_t>(font.glyphs.size()));
    PutInt(table, 255);
    for (const BakedGlyph& g : font.glyphs)
        for (int v : {g.code, g.x, g.y, g.w, g.h}) PutInt(table, v);
    return WriteFileAtomically(outBase + ".png", png, problem) && WriteFileAtomically(outBase + ".fnt", table, problem);
}
