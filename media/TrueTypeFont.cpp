// TrueType fonts rasterised once with FreeType into one glyph atlas, giving a
// TImageFont like any other.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

#include "media/Graphics.h"

namespace {

constexpr int kFirstCode = 32, kLastCode = 255;  // Latin-1, the game's character set
constexpr int kAtlasWidth = 1024;

struct RenderedGlyph {
    int code = 0;
    int width = 0, height = 0, left = 0, top = 0;
    float advance = 0;
    std::vector<uint8_t> coverage;
    int atlasX = 0, atlasY = 0;
};

// Owns the FreeType handles for one load.
struct FreeType {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeType() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

bool RenderGlyph(FT_Face face, int code, int style, int size, RenderedGlyph& out) {
    const FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(code));
    if (index == 0) return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (style & 1) FT_Outline_Embolden(&slot->outline, std::max(64, size * 64 / 24));
        if (style & 2) {
            FT_Matrix shear{0x10000, 0x3800, 0, 0x10000};  // about 12 degrees of slant
            FT_Outline_Transform(&slot->outline, &shear);
        }
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.rows > 0 && bitmap.width > 0) return false;
    out.code = code;
    out.width = static_cast<int>(bitmap.width);
    out.height = static_cast<int>(bitmap.rows);
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.advance = static_cast<float>(slot->advance.x) / 64.0f + ((style & 1) ? 1.0f : 0.0f);
    out.coverage.resize(static_cast<size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
        std::copy_n(bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch, out.width,
                    out.coverage.data() + static_cast<size_t>(y) * out.width);
    return true;
}

}  // namespace

FontPtr LoadFont(const std::string& path, int size, int style) {
    if (size <= 0 || size > 512) return nullptr;
    StreamPtr stream = OpenRead(path);
    if (!stream) return nullptr;
    const std::vector<uint8_t> bytes = stream->ReadAll();
    if (bytes.empty()) return nullptr;

    FreeType ft;
    if (FT_Init_FreeType(&ft.library) != 0) return nullptr;
    if (FT_New_Memory_Face(ft.library, bytes.data(), static_cast<FT_Long>(bytes.size()), 0, &ft.face) != 0)
        return nullptr;
    if (FT_Set_Pixel_Sizes(ft.face, 0, static_cast<FT_UInt>(size)) != 0) return nullptr;
    const int ascender = static_cast<int>(ft.face->size->metrics.ascender >> 6);
    const int descender = static_cast<int>(ft.face->size->metrics.descender >> 6);

    std::vector<RenderedGlyph> rendered;
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        RenderedGlyph glyph;
        if (RenderGlyph(ft.face, code, style, size, glyph)) rendered.push_back(std::move(glyph));
    }
    if (rendered.empty()) return nullptr;

    // Shelf-pack the coverage bitmaps, one texel apart.
    int x = 0, y = 0, rowHeight = 0;
    for (RenderedGlyph& g : rendered) {
        if (g.width == 0 || g.height == 0) continue;
        if (g.width + 1 > kAtlasWidth) return nullptr;
        if (x + g.width + 1 > kAtlasWidth) {
            x = 0;
            y += rowHeight + 1;
            rowHeight = 0;
        }
        g.atlasX = x;
        g.atlasY = y;
        x += g.width + 1;
        rowHeight = std::max(rowHeight, g.height);
    }
    auto atlas = std::make_shared<TPicture>(kAtlasWidth, std::max(1, y + rowHeight), true);
    for (const RenderedGlyph& g : rendered)
        for (int gy = 0; gy < g.height; ++gy)
            for (int gx = 0; gx < g.width; ++gx) {
                const uint32_t a = g.coverage[static_cast<size_t>(gy) * g.width + gx];
                if (a) atlas->WritePixel(g.atlasX + gx, g.atlasY + gy, (a << 24) | 0x00FFFFFFu);
            }

    auto font = std::make_shared<TImageFont>();
    font->Height = std::max(1, ascender - descender);
    font->glyphs.resize(kLastCode + 1);
    for (const RenderedGlyph& g : rendered) {
        auto glyph = std::make_shared<TImageGlyph>();
        glyph->advance = g.advance;
        glyph->_x = g.left;
        glyph->_y = ascender - g.top;
        glyph->_w = g.width;
        glyph->_h = g.height;
        if (g.width > 0 && g.height > 0)
            glyph->_image = ImageFromPicture(atlas->Window(g.atlasX, g.atlasY, g.width, g.height), TImage::FILTERED);
        font->glyphs[static_cast<size_t>(g.code)] = glyph;
    }
    return font;
}
