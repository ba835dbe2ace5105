#include "content/TPNGFont.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "media/Graphics.h"
#include "media/System.h"

namespace {
constexpr int kHeaderBytes = 16;
constexpr int kRecordBytes = 20;
constexpr int kSpace = 32;
}  // namespace

int TPNGFont::height() const {
    float sx = 1, sy = 1;
    GetScale(sx, sy);
    return static_cast<int>(static_cast<float>(FHeight) * sy);
}

int TPNGFont::CharToGlyph(int code) const {
    if (code < 0 || code > MaxSymb || code >= static_cast<int>(Characters.size())) return -1;
    return Characters[static_cast<size_t>(code)] ? code : -1;
}

GlyphPtr TPNGFont::LoadGlyph(int index) const {
    if (index < 0 || index >= static_cast<int>(Characters.size())) return nullptr;
    return Characters[static_cast<size_t>(index)];
}

void TPNGFont::Draw(const std::string& text, float x, float y, float ix, float iy, float jx, float jy) {
    // Glyphs sit at the pen (offset 0, 0) and advance by their width, which is
    // what the image font's walk does with these glyphs.
    TImageFont::Draw(text, x, y, ix, iy, jx, jy);
}

float TPNGFont::TextWidth(const std::string& text) const {
    float w = 0;
    for (size_t i = 0; i < text.size();) {
        const int index = CharToGlyph(static_cast<int>(NextCodePoint(text, i)));
        if (index < 0) continue;
        w = std::trunc(w + Characters[static_cast<size_t>(index)]->Advance());
    }
    float sx = 1, sy = 1;
    GetScale(sx, sy);
    return w * sx;
}

bool TPNGFont::LoadPNGFont(const std::string& path) {
    PicturePtr atlas = LoadPicture(path + ".png");
    StreamPtr table = OpenRead(path + ".fnt");
    if (!atlas || !table) {
        if (table) table->Close();
        return false;
    }
    // Before the glyphs are cut: the source reproduces the atlas as read.
    if (atlas) atlas->SetSource([path] { return LoadPicture(path + ".png"); });
    const bool ok = LoadFrom(atlas, *table, path);
    table->Close();
    return ok;
}

bool TPNGFont::LoadFrom(const PicturePtr& atlas, TStream& table, const std::string& name) {
    font = atlas;
    Characters.clear();
    glyphs.clear();
    FHeight = 0;
    if (!atlas) return false;

    if (table.Size() - table.Pos() < kHeaderBytes) return false;
    Kearning = table.ReadInt();
    table.ReadInt();
    int32_t count = table.ReadInt();
    int32_t maxSymb = table.ReadInt();
    if (maxSymb <= 0) maxSymb = 300;
    if (maxSymb > kMaxCodeLimit) maxSymb = kMaxCodeLimit;
    MaxSymb = maxSymb;

    // Never trust the count beyond what the table can actually hold.
    const int64_t room = std::max<int64_t>(0, (table.Size() - table.Pos()) / kRecordBytes);
    if (count < 0) count = 0;
    if (count > room) count = static_cast<int32_t>(room);

    Characters.assign(static_cast<size_t>(MaxSymb) + 1, nullptr);
    auto space = std::make_shared<TPNGChar>();
    space->Code = kSpace;
    if (kSpace <= MaxSymb) Characters[kSpace] = space;

    int64_t heightSum = 0;
    int tallest = 0;
    int outside = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t code = table.ReadInt();
        const int32_t x = table.ReadInt(), y = table.ReadInt();
        const int32_t w = table.ReadInt(), h = table.ReadInt();
        heightSum += h;
        tallest = std::max(tallest, static_cast<int>(h));
        if (code < 0 || code > MaxSymb) continue;

        // Clip the rectangle to the atlas; a glyph with nothing left is dropped.
        const int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
        const int64_t x1 = std::min<int64_t>(static_cast<int64_t>(x) + w, atlas->Width());
        const int64_t y1 = std::min<int64_t>(static_cast<int64_t>(y) + h, atlas->Height());
        if (x0 != x || y0 != y || x1 != static_cast<int64_t>(x) + w || y1 != static_cast<int64_t>(y) + h) ++outside;
        if (x1 <= x0 || y1 <= y0) continue;

        auto glyph = std::make_shared<TPNGChar>();
        glyph->Code = code;
        glyph->_image = ImageFromPicture(atlas->Window(static_cast<int>(x0), static_cast<int>(y0),
                                                       static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)));
        glyph->_x = 0;
        glyph->_y = 0;
        // A damaged table's width and kerning need not fit in an int together.
        glyph->_w = static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(w) + Kearning, INT32_MIN, INT32_MAX));
        glyph->_h = h;
        glyph->advance = static_cast<float>(glyph->_w);
        Characters[static_cast<size_t>(code)] = glyph;
    }
    if (outside > 0)
        PrintLine(name + ": " + std::to_string(outside) + " glyph(s) lie outside the font picture and were clipped");

    // With no records there is no average height; the space is then empty.
    const int average = count > 0 ? static_cast<int>(heightSum / count) : 0;
    if (kSpace <= MaxSymb) {
        if (!Characters[kSpace]) Characters[kSpace] = space;
        Characters[kSpace]->_w = average / 4;
        Characters[kSpace]->_h = average;
        Characters[kSpace]->advance = static_cast<float>(average / 4);
    }
    FHeight = tallest;
    Height = FHeight;
    glyphs.assign(Characters.begin(), Characters.end());
    return true;
}

PNGFontPtr CreatePNGFont(const std::string& path) {
    auto f = std::make_shared<TPNGFont>();
    if (!f->LoadPNGFont(path)) return nullptr;
    return f;
}
