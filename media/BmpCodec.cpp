// Windows bitmap reader: 1/4/8-bit palettes, 16/24/32-bit direct colour with
// or without bit-field masks, bottom-up or top-down rows. Compressed (RLE)
// bitmaps are refused. Every offset is checked against the buffer first.
#include <bit>

#include "media/detail/PictureCodecs.h"

namespace media_detail {
namespace {

uint32_t U16(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }
uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// One channel described by a bit mask, widened to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    explicit Channel(uint32_t m = 0) : mask(m) {
        if (!m) return;
        shift = std::countr_zero(m);
        max = m >> shift;
    }
    // Masks with holes are treated by their span; a zero-width channel reads 0.
    uint32_t Get(uint32_t pixel) const {
        if (!mask) return 0;
        return ((pixel & mask) >> shift) * 255u / max;
    }
};

enum : uint32_t { BI_RGB = 0, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6 };

}  // namespace

PicturePtr DecodeBMP(const uint8_t* data, size_t size) {
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return nullptr;
    const size_t pixelOffset = U32(data + 10);
    const size_t headerSize = U32(data + 14);
    if (headerSize < 12 || headerSize > size - 14) return nullptr;
    const uint8_t* h = data + 14;

    int64_t width = 0, height = 0;
    uint32_t bpp = 0, compression = BI_RGB, colorsUsed = 0;
    size_t paletteEntry = 4;
    if (headerSize == 12) {  // the old core header
        width = U16(h + 4);
        height = U16(h + 6);
        bpp = U16(h + 10);
        paletteEntry = 3;
    } else {
        if (headerSize < 40) return nullptr;
        width = static_cast<int32_t>(U32(h + 4));
        height = static_cast<int32_t>(U32(h + 8));
        bpp = U16(h + 14);
        compression = U32(h + 16);
        colorsUsed = U32(h + 32);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (!PictureSizeAcceptable(width, height)) return nullptr;
    if (compression != BI_RGB && compression != BI_BITFIELDS && compression != BI_ALPHABITFIELDS) return nullptr;

    // Masks: inside the larger headers, or just after the 40-byte one.
    uint32_t masks[4] = {0, 0, 0, 0};
    size_t afterHeader = 14 + headerSize;
    if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
        if (bpp != 16 && bpp != 32) return nullptr;
        const int count = compression == BI_ALPHABITFIELDS ? 4 : 3;
        if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i) masks[i] = U32(h + 40 + 4 * i);
            if (headerSize >= 56) masks[3] = U32(h + 52);
        } else {
            if (afterHeader + 4 * count > size) return nullptr;
            for (int i = 0; i < count; ++i) masks[i] = U32(data + afterHeader + 4 * i);
            afterHeader += 4 * count;
        }
    } else if (bpp == 16) {
        masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
    } else if (bpp == 24 || bpp == 32) {
        masks[0] = 0xFF0000; masks[1] = 0x00FF00; masks[2] = 0x0000FF;
        if (headerSize >= 56 && bpp == 32) masks[3] = U32(h + 52);
    }

    uint32_t palette[256];
    for (uint32_t& entry : palette) entry = 0xFF000000u;
    if (bpp == 1 || bpp == 4 || bpp == 8) {
        size_t count = colorsUsed ? colorsUsed : (size_t(1) << bpp);
        if (count > (size_t(1) << bpp)) count = size_t(1) << bpp;
        if (afterHeader + count * paletteEntry > size) return nullptr;
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = data + afterHeader + i * paletteEntry;
            palette[i] = 0xFF000000u | (uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0];
        }
    } else if (bpp != 16 && bpp != 24 && bpp != 32) {
        return nullptr;
    }

    const size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    if (pixelOffset > size || stride * static_cast<size_t>(height) > size - pixelOffset) return nullptr;

    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    bool hasAlpha = masks[3] != 0;
    auto picture = std::make_shared<TPicture>(static_cast<int>(width), static_cast<int>(height), hasAlpha);
    uint32_t* out = picture->StorePixels();
    bool anyAlpha = false;
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* src = data + pixelOffset + static_cast<size_t>(row) * stride;
        const int64_t y = topDown ? row : height - 1 - row;
        uint32_t* dst = out + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int64_t x = 0; x < width; ++x) {
            uint32_t argb;
            if (bpp <= 8) {
                const size_t bit = static_cast<size_t>(x) * bpp;
                const uint32_t byte = src[bit / 8];
                const uint32_t index = (byte >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                argb = palette[index];
            } else {
                uint32_t pixel;
                if (bpp == 16) pixel = U16(src + x * 2);
                else if (bpp == 24) pixel = uint32_t(src[x * 3]) | (uint32_t(src[x * 3 + 1]) << 8) | (uint32_t(src[x * 3 + 2]) << 16);
                else pixel = U32(src + x * 4);
                const uint32_t a = hasAlpha ? alpha.Get(pixel) : 255u;
                anyAlpha = anyAlpha || a != 0;
                argb = (a << 24) | (red.Get(pixel) << 16) | (green.Get(pixel) << 8) | blue.Get(pixel);
            }
            dst[x] = argb;
        }
    }
    // Many writers declare an alpha mask and leave it zero: such a bitmap is opaque.
    if (hasAlpha && !anyAlpha) {
        for (size_t i = 0, n = static_cast<size_t>(width * height); i < n; ++i) out[i] |= 0xFF000000u;
        picture->SetHasAlpha(false);
    }
    return picture;
}

}  // namespace media_detail
