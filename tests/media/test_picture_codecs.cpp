// Picture decoders on small fixtures built here byte by byte, and on cut-off
// and damaged copies of them (null, never a read outside the buffer).
#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <random>
#include <vector>

#include "media/Graphics.h"

// The largest single allocation while a test watches: a decoder that makes
// room for a picture from its header alone is caught even when it gives up on
// the pixels afterwards.
namespace {
std::atomic<bool> watchAllocations{false};
std::atomic<size_t> largestAllocation{0};
void NoteAllocation(size_t size) {
    if (watchAllocations && size > largestAllocation) largestAllocation = size;
}
}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer owns operator new (and the GL driver's libraries allocate
// through variants of it), so it is asked to report allocations instead.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
namespace {
[[maybe_unused]] const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks(
    [](const volatile void*, size_t size) { NoteAllocation(size); }, [](const volatile void*) {});
}  // namespace
#else
void* operator new(size_t size) {
    NoteAllocation(size);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// Kept out of line: inlined, the compiler warns that free meets operator new.
__attribute__((noinline)) void operator delete(void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, size_t) noexcept { std::free(p); }
#endif

namespace {

using Bytes = std::vector<uint8_t>;

struct Writer {
    Bytes bytes;
    void U8(uint32_t v) { bytes.push_back(uint8_t(v)); }
    void U16(uint32_t v) { U8(v); U8(v >> 8); }
    void U32(uint32_t v) { U16(v); U16(v >> 16); }
};

// Decodes from an exact-size heap copy, so any read past the end trips ASan.
PicturePtr Decode(const Bytes& data, size_t size) {
    std::vector<uint8_t> copy(data.begin(), data.begin() + static_cast<ptrdiff_t>(size));
    return LoadPictureBytes(copy.data(), copy.size());
}

// Source pixels of a fixture, top row first.
struct Fixture {
    std::string name;
    Bytes data;
    int width = 0, height = 0;
    bool hasAlpha = false;
    std::vector<uint32_t> pixels;
};

void ExpectPixels(const Fixture& f, const PicturePtr& picture, int tolerance = 0) {
    ASSERT_TRUE(picture) << f.name;
    ASSERT_EQ(picture->Width(), f.width) << f.name;
    ASSERT_EQ(picture->Height(), f.height) << f.name;
    EXPECT_EQ(picture->HasAlpha(), f.hasAlpha) << f.name;
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const uint32_t got = picture->ReadPixel(x, y), want = f.pixels[size_t(y * f.width + x)];
            for (int shift = 0; shift < 32; shift += 8) {
                const int a = int((got >> shift) & 0xFF), b = int((want >> shift) & 0xFF);
                ASSERT_LE(std::abs(a - b), tolerance)
                    << f.name << " pixel " << x << "," << y << std::hex << " got " << got << " want " << want;
            }
        }
}

// ---- BMP -------------------------------------------------------------------------

struct BmpSpec {
    std::string name;
    int width, height, bpp;
    bool topDown;
    uint32_t headerSize;      // 12, 40 or 108
    uint32_t compression;     // 0 plain, 3 bit fields
    std::vector<uint32_t> masks;    // r, g, b[, a]
    std::vector<uint32_t> palette;  // 0xRRGGBB
    std::function<uint32_t(int, int)> value;  // raw pixel value (index or packed colour)
    std::function<uint32_t(int, int)> argb;   // what it should decode to
    bool hasAlpha;
};

Fixture BuildBmp(const BmpSpec& s) {
    const size_t stride = ((size_t(s.width) * s.bpp + 31) / 32) * 4;
    const bool masksAfterHeader = s.compression == 3 && s.headerSize == 40;
    const size_t paletteBytes = s.palette.size() * (s.headerSize == 12 ? 3 : 4);
    const size_t offset = 14 + s.headerSize + (masksAfterHeader ? 12 : 0) + paletteBytes;
    Writer w;
    w.U8('B'); w.U8('M');
    w.U32(uint32_t(offset + stride * s.height));
    w.U32(0);
    w.U32(uint32_t(offset));
    w.U32(s.headerSize);
    if (s.headerSize == 12) {
        w.U16(s.width); w.U16(s.height); w.U16(1); w.U16(s.bpp);
    } else {
        w.U32(s.width); w.U32(s.topDown ? uint32_t(-s.height) : uint32_t(s.height));
        w.U16(1); w.U16(s.bpp); w.U32(s.compression); w.U32(0); w.U32(2835); w.U32(2835);
        w.U32(uint32_t(s.palette.size())); w.U32(0);
        if (s.headerSize == 108) {
            for (size_t i = 0; i < 4; ++i) w.U32(i < s.masks.size() ? s.masks[i] : 0);
            while (w.bytes.size() < 14 + 108) w.U8(0);
        }
    }
    if (masksAfterHeader)
        for (size_t i = 0; i < 3; ++i) w.U32(s.masks[i]);
    for (uint32_t c : s.palette) {
        w.U8(c); w.U8(c >> 8); w.U8(c >> 16);
        if (s.headerSize != 12) w.U8(0);
    }
    for (int row = 0; row < s.height; ++row) {
        const int y = s.topDown ? row : s.height - 1 - row;
        std::vector<uint8_t> line(stride, 0);
        for (int x = 0; x < s.width; ++x) {
            const uint32_t v = s.value(x, y);
            if (s.bpp < 8) {
                const size_t bit = size_t(x) * s.bpp;
                line[bit / 8] |= uint8_t(v << (8 - s.bpp - bit % 8));
            } else {
                for (int k = 0; k < s.bpp / 8; ++k) line[size_t(x) * (s.bpp / 8) + k] = uint8_t(v >> (8 * k));
            }
        }
        w.bytes.insert(w.bytes.end(), line.begin(), line.end());
    }
    Fixture f{s.name, w.bytes, s.width, s.height, s.hasAlpha, {}};
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) f.pixels.push_back(s.argb(x, y));
    return f;
}

uint32_t Colour(int x, int y) { return 0xFF000000u | uint32_t(x * 40 + 10) << 16 | uint32_t(y * 70 + 5) << 8 | uint32_t(x * y * 9 + 1); }

std::vector<Fixture> BmpFixtures() {
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF80, 0x123456};
    auto index = [](int x, int y) { return uint32_t((x + y) % 4); };
    auto fromPalette = [palette, index](int x, int y) { return 0xFF000000u | palette[index(x, y)]; };
    std::vector<BmpSpec> specs = {
        {"24-bit bottom-up, padded rows", 3, 2, 24, false, 40, 0, {}, {},
         [](int x, int y) { return Colour(x, y) & 0xFFFFFF; }, Colour, false},
        {"24-bit core header", 2, 3, 24, false, 12, 0, {}, {},
         [](int x, int y) { return Colour(x, y) & 0xFFFFFF; }, Colour, false},
        {"32-bit top-down with alpha mask", 3, 2, 32, true, 108, 3,
         {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, {},
         [](int x, int y) { return (Colour(x, y) & 0xFFFFFF) | uint32_t(x * 100) << 24; },
         [](int x, int y) { return (Colour(x, y) & 0xFFFFFF) | uint32_t(x * 100) << 24; }, true},
        {"32-bit plain ignores the fourth byte", 2, 2, 32, false, 40, 0, {}, {},
         [](int x, int y) { return (Colour(x, y) & 0xFFFFFF) | 0x12000000u; }, Colour, false},
        {"16-bit 565 bit fields", 4, 2, 16, false, 40, 3, {0xF800, 0x07E0, 0x001F}, {},
         [](int x, int y) { return uint32_t((x & 1) ? 0xF800 : 0) | uint32_t(y ? 0x07E0 : 0) | uint32_t(x > 1 ? 0x1F : 0); },
         [](int x, int y) { return 0xFF000000u | ((x & 1) ? 0xFF0000u : 0) | (y ? 0xFF00u : 0) | (x > 1 ? 0xFFu : 0); }, false},
        {"16-bit default 555", 2, 1, 16, false, 40, 0, {}, {},
         [](int x, int) { return x ? 0x7C00u : 0x001Fu; },
         [](int x, int) { return x ? 0xFFFF0000u : 0xFF0000FFu; }, false},
        {"8-bit palette", 5, 2, 8, false, 40, 0, {}, palette, index, fromPalette, false},
        {"4-bit palette", 5, 3, 4, true, 40, 0, {}, palette, index, fromPalette, false},
        {"1-bit palette", 11, 2, 1, false, 40, 0, {}, {0x000000, 0xFFFFFF},
         [](int x, int y) { return uint32_t((x + y) & 1); },
         [](int x, int y) { return ((x + y) & 1) ? 0xFFFFFFFFu : 0xFF000000u; }, false},
    };
    std::vector<Fixture> fixtures;
    for (const BmpSpec& s : specs) fixtures.push_back(BuildBmp(s));
    return fixtures;
}

// ---- TGA -------------------------------------------------------------------------

struct TgaSpec {
    std::string name;
    int type, bpp, descriptor;
    int width, height;
    bool hasAlpha;
};

void PutTgaPixel(Writer& w, int type, int bpp, uint32_t argb) {
    const uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF, a = argb >> 24;
    if (type == 3 || type == 11) {
        w.U8(r);
        if (bpp == 16) w.U8(a);
    } else if (bpp == 16) {
        w.U16(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
    } else {
        w.U8(b); w.U8(g); w.U8(r);
        if (bpp == 32) w.U8(a);
    }
}

// Pixels drawn from a few colours so RLE runs appear; grey images use grey.
uint32_t TgaColour(const TgaSpec& s, int x, int y) {
    static const uint32_t colours[] = {0xFFFF0000u, 0xFF00FF00u, 0x800000FFu, 0xFFFFFFFFu};
    uint32_t c = colours[(x / 3 + y) % 4];
    if (s.type == 3 || s.type == 11) {
        const uint32_t v = (c >> 16) & 0xFF;
        c = (c & 0xFF000000u) | v << 16 | v << 8 | v;
    }
    if (!s.hasAlpha) c |= 0xFF000000u;
    if (s.bpp == 16 && s.type != 3) c = 0xFF000000u | (c & 0xF8F8F8u) | ((c & 0xE0E0E0u) >> 5);
    return c;
}

Fixture BuildTga(const TgaSpec& s) {
    Fixture f{s.name, {}, s.width, s.height, s.hasAlpha, {}};
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) f.pixels.push_back(TgaColour(s, x, y));
    const bool mapped = s.type == 1 || s.type == 9;
    std::vector<uint32_t> map;
    if (mapped)
        for (uint32_t c : f.pixels)
            if (std::find(map.begin(), map.end(), c) == map.end()) map.push_back(c);
    Writer w;
    w.U8(3);  // id length: "abc"
    w.U8(mapped ? 1 : 0);
    w.U8(s.type);
    w.U16(0); w.U16(mapped ? uint32_t(map.size()) : 0); w.U8(mapped ? 24 : 0);
    w.U16(0); w.U16(0); w.U16(s.width); w.U16(s.height);
    w.U8(s.bpp); w.U8(s.descriptor);
    w.U8('a'); w.U8('b'); w.U8('c');
    for (uint32_t c : map) PutTgaPixel(w, 2, 24, c);
    // File order follows the origin corner.
    std::vector<uint32_t> order;
    for (int row = 0; row < s.height; ++row)
        for (int col = 0; col < s.width; ++col) {
            const int y = (s.descriptor & 0x20) ? row : s.height - 1 - row;
            const int x = (s.descriptor & 0x10) ? s.width - 1 - col : col;
            order.push_back(f.pixels[size_t(y * s.width + x)]);
        }
    auto put = [&](uint32_t c) {
        if (mapped) w.U8(uint32_t(std::find(map.begin(), map.end(), c) - map.begin()));
        else PutTgaPixel(w, s.type, s.bpp, c);
    };
    if (s.type < 9) {
        for (uint32_t c : order) put(c);
    } else {
        // Runs of equal pixels as run packets (crossing rows), the rest raw.
        size_t i = 0;
        while (i < order.size()) {
            size_t run = 1;
            while (i + run < order.size() && run < 128 && order[i + run] == order[i]) ++run;
            if (run > 1) {
                w.U8(0x80 | uint32_t(run - 1));
                put(order[i]);
                i += run;
            } else {
                w.U8(0);
                put(order[i]);
                ++i;
            }
        }
    }
    f.data = w.bytes;
    return f;
}

std::vector<Fixture> TgaFixtures() {
    const TgaSpec specs[] = {
        {"24-bit bottom-left", 2, 24, 0x00, 7, 3, false},
        {"32-bit top-left with alpha", 2, 32, 0x28, 5, 2, true},
        {"32-bit run-length, runs across rows", 10, 32, 0x08, 4, 3, true},
        {"24-bit run-length bottom-right", 10, 24, 0x10, 6, 2, false},
        {"16-bit", 2, 16, 0x20, 3, 2, false},
        {"8-bit grey", 3, 8, 0x20, 4, 2, false},
        {"grey run-length", 11, 8, 0x00, 7, 2, false},
        {"colour-mapped", 1, 8, 0x20, 6, 2, false},
        {"colour-mapped run-length", 9, 8, 0x00, 6, 3, false},
    };
    std::vector<Fixture> fixtures;
    for (const TgaSpec& s : specs) fixtures.push_back(BuildTga(s));
    return fixtures;
}

// ---- PNG and JPEG ---------------------------------------------------------------

Fixture PngFixture(bool alpha, int w, int h) {
    TPicture picture(w, h, alpha);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = Colour(x, y);
            if (alpha) c = (c & 0xFFFFFF) | uint32_t((x * 37 + y * 11) & 0xFF) << 24;
            picture.WritePixel(x, y, c);
        }
    Fixture f{alpha ? "PNG with alpha" : "PNG without alpha", EncodePicturePNG(picture), w, h, alpha, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) f.pixels.push_back(picture.ReadPixel(x, y));
    return f;
}

// 16×8: red left half, blue right half.
Fixture JpegFixture() {
    const int w = 16, h = 8;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = w;
    info.image_height = h;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 98, TRUE);
    jpeg_start_compress(&info, TRUE);
    Fixture f{"JPEG", {}, w, h, false, {}};
    std::vector<uint8_t> row(w * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t c = x < 8 ? 0xFFE01010u : 0xFF1010E0u;
            row[x * 3] = uint8_t(c >> 16);
            row[x * 3 + 1] = uint8_t(c >> 8);
            row[x * 3 + 2] = uint8_t(c);
            f.pixels.push_back(c);
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    f.data.assign(out, out + size);
    std::free(out);
    return f;
}

std::vector<Fixture> AllFixtures() {
    std::vector<Fixture> all = BmpFixtures();
    for (Fixture& f : TgaFixtures()) all.push_back(std::move(f));
    all.push_back(PngFixture(false, 5, 3));
    all.push_back(PngFixture(true, 4, 4));
    all.push_back(JpegFixture());
    return all;
}

// ---- Tests --------------------------------------------------------------------------

TEST(PictureCodecs, BmpFixturesDecodeToTheirPixels) {
    for (const Fixture& f : BmpFixtures()) ExpectPixels(f, Decode(f.data, f.data.size()));
}

TEST(PictureCodecs, TgaFixturesDecodeToTheirPixels) {
    for (const Fixture& f : TgaFixtures()) ExpectPixels(f, Decode(f.data, f.data.size()));
}

TEST(PictureCodecs, PngRoundTripKeepsPixelsAndAlphaChannel) {
    struct Case { bool alpha; int w, h; } cases[] = {{false, 5, 3}, {true, 4, 4}, {true, 1, 1}, {false, 33, 2}};
    for (const Case& c : cases) ExpectPixels(PngFixture(c.alpha, c.w, c.h), Decode(PngFixture(c.alpha, c.w, c.h).data, PngFixture(c.alpha, c.w, c.h).data.size()));
}

// A PNG file written here byte by byte (stored deflate blocks), for the colour
// types the game's own encoder never writes.
struct PngSpec {
    int width, height, bitDepth, colorType;
    Bytes samples;  // rows of packed samples, without the filter bytes
    Bytes palette;  // PLTE: r, g, b per entry
    Bytes trns;     // tRNS as it stands in the file
};

Bytes HandMadePng(const PngSpec& s) {
    auto be32 = [](Bytes& out, uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
    };
    auto crc = [](const Bytes& data, size_t from) {
        uint32_t c = 0xFFFFFFFFu;
        for (size_t i = from; i < data.size(); ++i) {
            c ^= data[i];
            for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
        }
        return c ^ 0xFFFFFFFFu;
    };
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&](const char* type, const Bytes& body) {
        be32(png, uint32_t(body.size()));
        const size_t from = png.size();
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), body.begin(), body.end());
        be32(png, crc(png, from));
    };
    Bytes header;
    be32(header, uint32_t(s.width));
    be32(header, uint32_t(s.height));
    header.insert(header.end(), {uint8_t(s.bitDepth), uint8_t(s.colorType), 0, 0, 0});
    chunk("IHDR", header);
    if (!s.palette.empty()) chunk("PLTE", s.palette);
    if (!s.trns.empty()) chunk("tRNS", s.trns);
    const size_t rowBytes = s.samples.size() / size_t(s.height);
    Bytes raw;
    for (int y = 0; y < s.height; ++y) {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), s.samples.begin() + ptrdiff_t(y * rowBytes), s.samples.begin() + ptrdiff_t((y + 1) * rowBytes));
    }
    Bytes z = {0x78, 0x01, 0x01, uint8_t(raw.size()), uint8_t(raw.size() >> 8), uint8_t(~raw.size()),
               uint8_t(~raw.size() >> 8)};
    z.insert(z.end(), raw.begin(), raw.end());
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    be32(z, (b << 16) | a);
    chunk("IDAT", z);
    chunk("IEND", {});
    return png;
}

TEST(PictureCodecs, PngColourTypesDecodeToTheirPixels) {
    const std::vector<std::pair<Fixture, PngSpec>> cases = {
        {{"8-bit grey", {}, 3, 2, false, {0xFF000000, 0xFF808080, 0xFFFFFFFF, 0xFF121212, 0xFF343434, 0xFF565656}},
         {3, 2, 8, 0, {0x00, 0x80, 0xFF, 0x12, 0x34, 0x56}, {}, {}}},
        {{"2-bit grey", {}, 4, 1, false, {0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF}},
         {4, 1, 2, 0, {0b00011011}, {}, {}}},
        {{"grey with alpha", {}, 2, 1, true, {0x80101010, 0x00FFFFFF}},
         {2, 1, 8, 4, {0x10, 0x80, 0xFF, 0x00}, {}, {}}},
        {{"palette with transparency", {}, 3, 1, true, {0x00112233, 0x80445566, 0xFF778899}},
         {3, 1, 8, 3, {0, 1, 2}, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99}, {0x00, 0x80}}},
        {{"16-bit colour", {}, 2, 1, false, {0xFF12ABFF, 0xFF0080FF}},
         {2, 1, 16, 2, {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00, 0x00, 0x00, 0x80, 0x00, 0xFF, 0xFF}, {}, {}}},
        {{"colour with a transparent key", {}, 2, 1, true, {0x00102030, 0xFF405060}},
         {2, 1, 8, 2, {0x10, 0x20, 0x30, 0x40, 0x50, 0x60}, {}, {0, 0x10, 0, 0x20, 0, 0x30}}},
    };
    for (const auto& [fixture, layout] : cases) {
        const Bytes png = HandMadePng(layout);
        ExpectPixels(fixture, Decode(png, png.size()));
    }
}

TEST(PictureCodecs, PngOfAWindowHoldsOnlyTheWindow) {
    auto picture = std::make_shared<TPicture>(6, 6, true);
    picture->WritePixel(2, 3, 0xFF112233u);
    const Bytes png = EncodePicturePNG(*picture->Window(2, 3, 2, 2));
    PicturePtr back = LoadPictureBytes(png.data(), png.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Width(), 2);
    EXPECT_EQ(back->ReadPixel(0, 0), 0xFF112233u);
    EXPECT_EQ(back->ReadPixel(1, 1), 0u);
}

TEST(PictureCodecs, JpegDecodesCloseToItsSource) {
    const Fixture f = JpegFixture();
    PicturePtr picture = Decode(f.data, f.data.size());
    ASSERT_TRUE(picture);
    EXPECT_FALSE(picture->HasAlpha());
    // Lossy: compare away from the colour edge only.
    for (int y = 0; y < f.height; ++y)
        for (int x : {1, 3, 12, 14}) {
            const uint32_t got = picture->ReadPixel(x, y), want = f.pixels[size_t(y * f.width + x)];
            for (int shift = 0; shift < 24; shift += 8)
                EXPECT_NEAR(int((got >> shift) & 0xFF), int((want >> shift) & 0xFF), 16) << x << "," << y;
            EXPECT_EQ(got >> 24, 0xFFu);
        }
}

TEST(PictureCodecs, EveryCutOffCopyIsRefused) {
    for (const Fixture& f : AllFixtures()) {
        ASSERT_TRUE(Decode(f.data, f.data.size())) << f.name;
        for (size_t n = 0; n < f.data.size(); ++n) EXPECT_FALSE(Decode(f.data, n)) << f.name << " cut to " << n;
    }
}

// Damaged copies may decode to something or nothing, but never outside their
// buffer (ASan watches) and never to an impossible size.
TEST(PictureCodecs, DamagedCopiesNeverReadOutOfBounds) {
    std::mt19937 random(1234);
    int decoded = 0, refused = 0;
    for (const Fixture& f : AllFixtures()) {
        for (int trial = 0; trial < 150; ++trial) {
            Bytes damaged = f.data;
            const int hits = 1 + int(random() % 4);
            for (int k = 0; k < hits; ++k) damaged[random() % damaged.size()] = uint8_t(random());
            PicturePtr p = Decode(damaged, damaged.size());
            if (!p) {
                ++refused;
                continue;
            }
            ++decoded;
            ASSERT_GT(p->Width(), 0);
            ASSERT_GT(p->Height(), 0);
            ASSERT_LE(int64_t(p->Width()) * p->Height(), int64_t(1) << 25);
            volatile uint32_t sum = 0;
            for (int y = 0; y < p->Height(); ++y)
                for (int x = 0; x < p->Width(); ++x) sum = sum + p->ReadPixel(x, y);
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(decoded, 0);
}

TEST(PictureCodecs, RandomBytesBehindEachSignatureAreHandled) {
    const Bytes signatures[] = {{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, {0xFF, 0xD8, 0xFF}, {'B', 'M'}, {}};
    std::mt19937 random(99);
    for (const Bytes& signature : signatures)
        for (int trial = 0; trial < 300; ++trial) {
            Bytes data = signature;
            const size_t length = random() % 200;
            for (size_t i = 0; i < length; ++i) data.push_back(uint8_t(random()));
            PicturePtr p = Decode(data, data.size());
            if (p) {
                EXPECT_GT(p->Width(), 0);
                EXPECT_LE(int64_t(p->Width()) * p->Height(), int64_t(1) << 25);
            }
        }
    EXPECT_FALSE(LoadPictureBytes(nullptr, 0));
}

// Header fields that must be refused, each patched into a good fixture.
TEST(PictureCodecs, ImpossibleHeadersAreRefused) {
    struct Patch {
        const char* name;
        bool tga;           // patch the first TGA fixture, else the first BMP one
        size_t offset;
        std::vector<uint8_t> bytes;
    } patches[] = {
        {"bmp pixel offset past the end", false, 10, {0xFF, 0xFF, 0, 0}},
        {"bmp header size past the end", false, 14, {0xFF, 0xFF, 0, 0}},
        {"bmp zero width", false, 18, {0, 0, 0, 0}},
        {"bmp huge width", false, 18, {0, 0, 0, 0x40}},
        {"bmp negative width", false, 18, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"bmp zero height", false, 22, {0, 0, 0, 0}},
        {"bmp unknown depth", false, 28, {7, 0}},
        {"bmp run-length compression", false, 30, {1, 0, 0, 0}},
        {"tga unknown image type", true, 2, {7}},
        {"tga colour map flag on plain image", true, 1, {2}},
        {"tga zero width", true, 12, {0, 0}},
        {"tga odd depth", true, 16, {20}},
        {"tga reserved descriptor bits", true, 17, {0xC0}},
    };
    const Fixture bmp = BmpFixtures().front();
    const Fixture tga = TgaFixtures().front();
    for (const Patch& p : patches) {
        Bytes data = p.tga ? tga.data : bmp.data;
        std::copy(p.bytes.begin(), p.bytes.end(), data.begin() + static_cast<ptrdiff_t>(p.offset));
        EXPECT_FALSE(Decode(data, data.size())) << p.name;
    }
    // A colour-mapped TGA whose index points past its map.
    Fixture mapped = TgaFixtures()[7];
    mapped.data.back() = 200;
    EXPECT_FALSE(Decode(mapped.data, mapped.data.size()));
    // A PNG with a broken checksum.
    Fixture png = PngFixture(true, 4, 4);
    png.data[29] ^= 0x55;  // inside the IHDR checksum
    EXPECT_FALSE(Decode(png.data, png.data.size()));
}

// Headers that ask for the largest picture allowed over a few bytes of pixels:
// refused before the picture's room is made.
TEST(PictureCodecs, PixelsTheFileCannotHoldAreRefusedBeforeAnyRoomIsMade) {
    struct Case {
        const char* name;
        Fixture fixture;
        size_t widthOffset, heightOffset;
    } cases[] = {
        {"raw tga", TgaFixtures()[0], 12, 14},
        {"run-length tga", TgaFixtures()[3], 12, 14},
        {"colour-mapped run-length tga", TgaFixtures()[8], 12, 14},
        {"bmp", BmpFixtures().front(), 18, 22},
    };
    // The watch sees an allocation of the size a picture would take.
    largestAllocation = 0;
    watchAllocations = true;
    auto room = std::make_unique<std::vector<uint32_t>>(size_t(1) << 21);
    watchAllocations = false;
    ASSERT_GE(largestAllocation.load(), room->size() * sizeof(uint32_t));
    room.reset();
    for (Case& c : cases) {
        Bytes& data = c.fixture.data;
        data[c.widthOffset] = 0x00;  // 8192 wide, 4096 high: 2^25 pixels
        data[c.widthOffset + 1] = 0x20;
        data[c.heightOffset] = 0x00;
        data[c.heightOffset + 1] = 0x10;
        largestAllocation = 0;
        watchAllocations = true;
        const PicturePtr picture = Decode(data, data.size());
        watchAllocations = false;
        EXPECT_FALSE(picture) << c.name;
        EXPECT_LT(largestAllocation.load(), size_t(1) << 20) << c.name;
    }
}

TEST(PictureCodecs, LoadPictureReadsFilesAndStreamsAndRefusesMissingOnes) {
    const Fixture f = PngFixture(true, 4, 4);
    const std::string path = std::string(TOTEM_BINARY_DIR) + "/codec_test.png";
    StreamPtr out = OpenWrite(path);
    ASSERT_TRUE(out);
    out->Write(f.data.data(), f.data.size());
    out->Close();
    ExpectPixels(f, LoadPicture(path));
    StreamPtr stream = OpenMemory(f.data);
    ExpectPixels(f, LoadPicture(*stream));
    std::remove(path.c_str());
    EXPECT_FALSE(LoadPicture(path));
    EXPECT_FALSE(LoadImage(path, 2));
    EXPECT_FALSE(LoadImageStrip(path, 2, 2, 0, 1, -1));
}

}  // namespace
