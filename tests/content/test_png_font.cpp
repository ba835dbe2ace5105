#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "content/TPNGFont.h"
#include "media/Graphics.h"
#include "media/TStream.h"

namespace fs = std::filesystem;

namespace {

struct Rec { int code, x, y, w, h; };

std::vector<uint8_t> Table(int kerning, int count, int maxSymb, const std::vector<Rec>& recs) {
    StreamPtr out = OpenMemoryWrite("t.fnt");
    out->WriteInt(kerning);
    out->WriteInt(0);
    out->WriteInt(count);
    out->WriteInt(maxSymb);
    for (const Rec& r : recs) {
        out->WriteInt(r.code);
        out->WriteInt(r.x);
        out->WriteInt(r.y);
        out->WriteInt(r.w);
        out->WriteInt(r.h);
    }
    return MemoryBytes(*out);
}

// A 64×32 atlas whose pixel (x, y) encodes its own position, so a glyph's
// picture shows where it was cut from.
PicturePtr Atlas() {
    auto p = std::make_shared<TPicture>(64, 32, true);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) p->WritePixel(x, y, 0xFF000000u | (uint32_t(x) << 8) | uint32_t(y));
    return p;
}

PNGFontPtr Load(const std::vector<uint8_t>& table, PicturePtr atlas = Atlas()) {
    auto f = std::make_shared<TPNGFont>();
    StreamPtr in = OpenMemory(table, "fixture");
    if (!f->LoadFrom(atlas, *in, "fixture")) return nullptr;
    return f;
}

class PngFontTest : public ::testing::Test {
protected:
    void SetUp() override { SetScale(1, 1); }
    void TearDown() override { SetScale(1, 1); }
};

TEST_F(PngFontTest, KerningIsPartOfTheAdvance) {
    auto f = Load(Table(2, 1, 0, {{'A', 0, 0, 10, 12}}));
    ASSERT_TRUE(f);
    GlyphPtr a = f->LoadGlyph(f->CharToGlyph('A'));
    ASSERT_TRUE(a);
    EXPECT_FLOAT_EQ(a->Advance(), 12.0f);
    EXPECT_EQ(a->_w, 12);
    EXPECT_EQ(a->_h, 12);
    ASSERT_TRUE(a->_image);
    EXPECT_EQ(a->_image->width, 10);
    EXPECT_EQ(a->_image->height, 12);
}

// Widths and kerning at the ends of 32 bits: the advance stops at the largest
// (or smallest) int rather than wrapping to the other sign.
TEST_F(PngFontTest, AdvanceBeyondThirtyTwoBitsStopsAtTheEnd) {
    struct Case {
        int kerning, width;
        int advance;
    } cases[] = {
        {1, INT32_MAX, INT32_MAX},
        {INT32_MAX, 5, INT32_MAX},
        {INT32_MIN, 5, INT32_MIN + 5},
        {-7, 10, 3},
    };
    for (const Case& c : cases) {
        auto f = Load(Table(c.kerning, 1, 0, {{'A', 0, 0, c.width, 4}}));
        ASSERT_TRUE(f);
        GlyphPtr a = f->LoadGlyph(f->CharToGlyph('A'));
        ASSERT_TRUE(a) << c.kerning << " " << c.width;
        EXPECT_EQ(a->_w, c.advance) << c.kerning << " " << c.width;
    }
}

TEST_F(PngFontTest, GlyphPictureIsCutFromTheAtlas) {
    auto f = Load(Table(0, 1, 0, {{'B', 7, 5, 4, 3}}));
    ASSERT_TRUE(f);
    GlyphPtr b = f->LoadGlyph('B');
    ASSERT_TRUE(b && b->_image);
    const PicturePtr frame = b->_image->frames.at(0);
    EXPECT_EQ(frame->Width(), 4);
    EXPECT_EQ(frame->Height(), 3);
    EXPECT_EQ(frame->ReadPixel(0, 0) & 0xFFFFFFu, (7u << 8) | 5u);
    EXPECT_EQ(frame->ReadPixel(3, 2) & 0xFFFFFFu, (10u << 8) | 7u);
}

struct SpaceCase {
    const char* what;
    std::vector<Rec> recs;
    int fheight, spaceW, spaceH;
    bool spacePicture;
};

TEST_F(PngFontTest, SpaceGlyphComesFromTheAverageHeight) {
    const std::vector<SpaceCase> cases = {
        {"heights 20 22 24", {{'a', 0, 0, 5, 20}, {'b', 5, 0, 5, 22}, {'c', 10, 0, 5, 24}}, 24, 5, 22, false},
        {"a space record is resized", {{32, 0, 0, 9, 8}, {'x', 0, 0, 3, 16}}, 16, 3, 12, true},
        {"average truncates", {{'a', 0, 0, 1, 7}, {'b', 0, 0, 1, 8}}, 8, 1, 7, false},
        {"no records", {}, 0, 0, 0, false},
    };
    for (const SpaceCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto f = Load(Table(3, static_cast<int>(c.recs.size()), 0, c.recs));
        ASSERT_TRUE(f);
        EXPECT_EQ(f->FHeight, c.fheight);
        EXPECT_EQ(f->height(), c.fheight);
        ASSERT_EQ(f->CharToGlyph(32), 32);
        GlyphPtr sp = f->LoadGlyph(32);
        ASSERT_TRUE(sp);
        EXPECT_EQ(static_cast<bool>(sp->_image), c.spacePicture);
        EXPECT_EQ(sp->_w, c.spaceW);
        EXPECT_EQ(sp->_h, c.spaceH);
        EXPECT_FLOAT_EQ(sp->Advance(), static_cast<float>(c.spaceW));
    }
}

TEST_F(PngFontTest, CharToGlyphBounds) {
    auto f = Load(Table(0, 3, 0, {{'A', 0, 0, 4, 4}, {300, 0, 0, 4, 4}, {301, 0, 0, 4, 4}}));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->MaxSymb, 300);
    EXPECT_EQ(f->Characters.size(), 301u);
    struct { int code, expect; } cases[] = {{'A', 'A'}, {'B', -1}, {300, 300}, {301, -1}, {-1, -1}, {100000, -1}};
    for (const auto& c : cases) EXPECT_EQ(f->CharToGlyph(c.code), c.expect) << c.code;

    auto small = Load(Table(0, 2, 70, {{'A', 0, 0, 4, 4}, {'z', 0, 0, 4, 4}}));
    ASSERT_TRUE(small);
    EXPECT_EQ(small->MaxSymb, 70);
    EXPECT_EQ(small->CharToGlyph('A'), 'A');
    EXPECT_EQ(small->CharToGlyph('z'), -1);  // 122 > 70: not stored
    EXPECT_FALSE(small->LoadGlyph(71));
}

TEST_F(PngFontTest, TextWidthFollowsScaleAndSkipsMissingGlyphs) {
    auto f = Load(Table(1, 2, 0, {{'A', 0, 0, 10, 20}, {'B', 0, 0, 6, 10}}));
    ASSERT_TRUE(f);
    EXPECT_FLOAT_EQ(f->TextWidth("AA"), 22.0f);
    EXPECT_FLOAT_EQ(f->TextWidth("A~B"), 18.0f);  // '~' has no glyph: no gap
    EXPECT_FLOAT_EQ(f->TextWidth("A B"), 11.0f + 3.0f + 7.0f);  // space: average 15 / 4
    SetScale(2, 3);
    EXPECT_FLOAT_EQ(f->TextWidth("AA"), 44.0f);
    EXPECT_EQ(f->height(), 60);
    SetScale(0.5f, 0.5f);
    EXPECT_FLOAT_EQ(f->TextWidth("AB"), 9.0f);
    EXPECT_EQ(f->height(), 10);
}

TEST_F(PngFontTest, MediaLayerMeasuresWithTheFont) {
    auto f = Load(Table(0, 2, 0, {{'A', 0, 0, 10, 20}, {'B', 0, 0, 6, 14}}));
    ASSERT_TRUE(f);
    SetFont(f);
    EXPECT_EQ(::TextWidth("ABA"), 26);
    EXPECT_EQ(TextHeight("ABA"), 20);
    SetScale(2, 2);
    EXPECT_EQ(TextHeight("ABA"), 40);
    SetFont(nullptr);
}

struct BadCase {
    const char* what;
    std::vector<uint8_t> bytes;
    bool loads;
    int glyphs;  // stored glyphs besides the space
};

int CountGlyphs(const TPNGFont& f) {
    int n = 0;
    for (size_t i = 0; i < f.Characters.size(); ++i)
        if (i != 32 && f.Characters[i]) ++n;
    return n;
}

TEST_F(PngFontTest, DamagedTables) {
    std::vector<uint8_t> truncated = Table(0, 2, 0, {{'A', 0, 0, 4, 4}, {'B', 0, 0, 4, 4}});
    truncated.resize(truncated.size() - 3);
    const std::vector<BadCase> cases = {
        {"empty file", {}, false, 0},
        {"header cut short", std::vector<uint8_t>(10, 0), false, 0},
        {"absurd count", Table(0, 0x7FFFFFFF, 0, {{'A', 0, 0, 4, 4}}), true, 1},
        {"negative count", Table(0, -5, 0, {{'A', 0, 0, 4, 4}}), true, 0},
        {"last record cut short", truncated, true, 1},
        {"absurd highest code", Table(0, 1, 0x7FFFFFFF, {{'A', 0, 0, 4, 4}}), true, 1},
        {"negative code", Table(0, 1, 0, {{-3, 0, 0, 4, 4}}), true, 0},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto f = Load(c.bytes);
        ASSERT_EQ(static_cast<bool>(f), c.loads);
        if (!f) continue;
        EXPECT_EQ(CountGlyphs(*f), c.glyphs);
        EXPECT_LE(f->Characters.size(), static_cast<size_t>(TPNGFont::kMaxCodeLimit) + 1);
    }
}

TEST_F(PngFontTest, GlyphsOutsideTheAtlasAreClippedOrDropped) {
    testing::internal::CaptureStdout();
    auto f = Load(Table(0, 3, 0, {{'A', 60, 28, 10, 10}, {'B', 100, 0, 4, 4}, {'C', 0, 0, 4, 4}}));
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(f);
    GlyphPtr a = f->LoadGlyph('A');
    ASSERT_TRUE(a && a->_image);
    EXPECT_EQ(a->_image->width, 4);  // clipped to the atlas's right edge
    EXPECT_EQ(a->_image->height, 4);
    EXPECT_EQ(a->_w, 10);  // the advance keeps the table's width
    EXPECT_EQ(f->CharToGlyph('B'), -1);
    EXPECT_EQ(f->CharToGlyph('C'), 'C');
    EXPECT_NE(out.find("fixture"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
}

TEST_F(PngFontTest, CreateFromFilesAndMissingFiles) {
    const fs::path dir = fs::temp_directory_path() / ("totem_font_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string base = (dir / "small").string();
    ASSERT_TRUE(SavePicturePNG(*Atlas(), base + ".png"));
    EXPECT_FALSE(CreatePNGFont(base)) << "no table yet";
    const std::vector<uint8_t> table = Table(1, 1, 0, {{'Q', 2, 3, 5, 6}});
    StreamPtr out = OpenWrite(base + ".fnt");
    ASSERT_TRUE(out);
    out->Write(table.data(), table.size());
    out->Close();
    PNGFontPtr f = CreatePNGFont(base);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->LoadGlyph('Q')->_w, 6);
    EXPECT_EQ(f->FHeight, 6);
    fs::remove(base + ".png");
    EXPECT_FALSE(CreatePNGFont(base)) << "no picture";
    fs::remove_all(dir);
}

}  // namespace
