// libFuzzer entry point for the bitmap font table ("<base>.fnt"): any bytes
// must be refused or give a font whose every glyph is a piece of the atlas,
// never crash, read outside the table or size anything from a count the
// table cannot hold.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "content/TPNGFont.h"
#include "media/TPicture.h"
#include "media/TStream.h"

namespace {
constexpr int kAtlasWidth = 256, kAtlasHeight = 128;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const PicturePtr atlas = std::make_shared<TPicture>(kAtlasWidth, kAtlasHeight, true);
    StreamPtr table = OpenMemory(std::vector<uint8_t>(data, data + size), "fuzz.fnt");
    TPNGFont font;
    if (!font.LoadFrom(atlas, *table, "fuzz.fnt")) {
        if (size >= 16 || !font.Characters.empty()) std::abort();  // only a short header is refused
        return 0;
    }
    if (font.MaxSymb < 1 || font.MaxSymb > TPNGFont::kMaxCodeLimit) std::abort();
    if (font.Characters.size() != static_cast<size_t>(font.MaxSymb) + 1) std::abort();
    // Each record takes 20 bytes after the 16-byte header: no more glyphs than that.
    size_t glyphs = 0;
    for (int code = 0; code <= font.MaxSymb; ++code) {
        const PNGCharPtr& c = font.Characters[static_cast<size_t>(code)];
        if (!c) {
            if (font.CharToGlyph(code) != -1) std::abort();
            continue;
        }
        if (font.CharToGlyph(code) != code || c->Code != code) std::abort();
        if (code == 32 && !c->_image) continue;  // the space is made up, not cut
        ++glyphs;
        // A glyph is the part of its rectangle inside the atlas, never more.
        if (!c->_image || c->_image->width < 1 || c->_image->width > kAtlasWidth || c->_image->height < 1 ||
            c->_image->height > kAtlasHeight)
            std::abort();
    }
    if (glyphs > (size - 16) / 20) std::abort();
    if (!std::isfinite(font.TextWidth("Totem Riff \xC3\xA9\xE2\x82\xAC"))) std::abort();
    return 0;
}
