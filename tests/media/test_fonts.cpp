// Text measuring and drawing through image fonts, the built-in font and
// TrueType fonts.
#include <cmath>
#include <fstream>

#include "GraphicsTestSupport.h"

using namespace gfxtest;

namespace {

// Glyphs for 'a' (advance 2.5), 'b' (3) and 'é' (4); each a solid block.
FontPtr TestFont(uint32_t colour = 0xFFFFFFFFu) {
    auto font = std::make_shared<TImageFont>();
    font->Height = 13;
    font->glyphs.resize(256);
    struct G { int code; float advance; } glyphs[] = {{'a', 2.5f}, {'b', 3.0f}, {0xE9, 4.0f}};
    for (const G& g : glyphs) {
        auto glyph = std::make_shared<TImageGlyph>();
        glyph->advance = g.advance;
        glyph->_image = SolidImage(4, 4, colour);
        font->glyphs[size_t(g.code)] = glyph;
    }
    return font;
}

TEST(TextMeasure, WidthSumsAdvancesTruncatingAndSkipsMissingGlyphs) {
    SetFont(TestFont());
    struct Case { const char* text; int width; } cases[] = {
        {"", 0}, {"a", 2}, {"aa", 4}, {"aaa", 6},  // 7.5 summed first would give 7
        {"ab", 5}, {"ba", 5}, {"a?b", 5}, {"?zq", 0},
        {"a\xC3\xA9", 6},        // é as UTF-8 is one glyph
        {"\xE2\x82\xAC" "b", 3},  // € has no glyph
    };
    for (const Case& c : cases) EXPECT_EQ(TextWidth(c.text), c.width) << '"' << c.text << '"';
    SetScale(2, 3);
    EXPECT_EQ(TextWidth("aab"), 7) << "scale is not applied";
    EXPECT_EQ(TextHeight("anything"), 13);
    ResetDrawState();
}

TEST(TextMeasure, CharToGlyphAndLoadGlyphStayInRange) {
    FontPtr font = TestFont();
    EXPECT_EQ(font->CharToGlyph('a'), 'a');
    EXPECT_EQ(font->CharToGlyph('c'), -1);
    EXPECT_EQ(font->CharToGlyph(-5), -1);
    EXPECT_EQ(font->CharToGlyph(256), -1);
    EXPECT_EQ(font->CharToGlyph(0x10FFFF), -1);
    EXPECT_TRUE(font->LoadGlyph('b'));
    EXPECT_FALSE(font->LoadGlyph(1000));
    EXPECT_FALSE(font->LoadGlyph(-1));
}

TEST(TextMeasure, BuiltInFontCoversPrintableAscii) {
    FontPtr font = DefaultFont();
    ASSERT_TRUE(font);
    EXPECT_GT(font->height(), 0);
    for (int code = 32; code <= 126; ++code) {
        ASSERT_GE(font->CharToGlyph(code), 0) << code;
        GlyphPtr glyph = font->LoadGlyph(font->CharToGlyph(code));
        EXPECT_GT(glyph->Advance(), 0) << code;
        if (code == ' ') continue;
        ASSERT_TRUE(glyph->_image) << code;
        int lit = 0;
        const PicturePtr& p = glyph->_image->frames[0];
        for (int y = 0; y < p->Height(); ++y)
            for (int x = 0; x < p->Width(); ++x) lit += (p->ReadPixel(x, y) >> 24) != 0;
        EXPECT_GT(lit, 0) << "glyph " << char(code) << " is blank";
    }
    // Glyphs differ from each other (no copy-paste slips).
    auto pixels = [&](int code) {
        std::vector<uint32_t> v;
        const PicturePtr& p = font->LoadGlyph(code)->_image->frames[0];
        for (int y = 0; y < p->Height(); ++y)
            for (int x = 0; x < p->Width(); ++x) v.push_back(p->ReadPixel(x, y));
        return v;
    };
    for (int a = 33; a <= 126; ++a)
        for (int b = a + 1; b <= 126; ++b) EXPECT_NE(pixels(a), pixels(b)) << char(a) << " and " << char(b);
}

class TextDrawing : public DisplayTest {};

bool Lit(const PicturePtr& frame, int x, int y) { return (frame->ReadPixel(x, y) & 0xFFFFFF) != 0; }

TEST_F(TextDrawing, PenAdvancesAlongTheTurnedXAxisAndSkipsMissingGlyphs) {
    // Rotation 90: glyphs run down the screen; each 4×4 block lies left of the pen line.
    struct Case { float rotation; const char* text; } cases[] = {{0, "ab"}, {0, "a?b"}, {90, "ab"}, {90, "a\x01" "b"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rotation << " " << c.text);
        Cls();
        SetFont(TestFont());
        SetRotation(c.rotation);
        DrawText(c.text, 100, 100);
        ResetDrawState();
        PicturePtr frame = GrabFrame();
        if (c.rotation == 0) {
            EXPECT_TRUE(Lit(frame, 101, 101));   // 'a' at 100..104
            EXPECT_TRUE(Lit(frame, 105, 101));   // 'b' at 102.5..106.5: no gap for the missing glyph
            EXPECT_FALSE(Lit(frame, 107, 101));
            EXPECT_FALSE(Lit(frame, 101, 104));
        } else {
            EXPECT_TRUE(Lit(frame, 98, 101));    // 'a' covers x 96..100, y 100..104
            EXPECT_TRUE(Lit(frame, 98, 105));    // 'b' starts 2.5 further down
            EXPECT_FALSE(Lit(frame, 98, 107));
            EXPECT_FALSE(Lit(frame, 101, 101));
            EXPECT_FALSE(Lit(frame, 95, 101));
        }
    }
}

TEST_F(TextDrawing, BuiltInFontDrawsInsideItsCells) {
    SetColor(255, 255, 0);
    DrawText("Hello", 200, 300);
    ResetDrawState();
    PicturePtr frame = GrabFrame();
    int inside = 0, outside = 0;
    for (int y = 290; y < 320; ++y)
        for (int x = 190; x < 240; ++x) {
            const bool cell = x >= 200 && x < 200 + 5 * 6 && y >= 300 && y < 310;
            if (!Lit(frame, x, y)) continue;
            (cell ? inside : outside) += 1;
            EXPECT_TRUE(SameColour(frame->ReadPixel(x, y), 0xFFFFFF00u));
        }
    EXPECT_GT(inside, 30);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(TextWidth("Hello"), 30);
}

const char* kTrueTypeFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

TEST(TrueTypeFont, RasterisesLatin1GlyphsAtTheAskedSize) {
    if (!std::ifstream(kTrueTypeFile)) GTEST_SKIP() << "no DejaVu font installed";
    FontPtr small = LoadFont(kTrueTypeFile, 12);
    FontPtr large = LoadFont(kTrueTypeFile, 36);
    ASSERT_TRUE(small && large);
    EXPECT_GT(large->height(), small->height() * 2);
    for (int code : {int('A'), int('g'), int('0'), 0xE9, 0xFC}) {
        ASSERT_GE(large->CharToGlyph(code), 0) << code;
        EXPECT_TRUE(large->LoadGlyph(code)->_image);
    }
    EXPECT_TRUE(large->LoadGlyph(' ')) << "space has a glyph";
    EXPECT_FALSE(large->LoadGlyph(' ')->_image);
    SetFont(large);
    const int wide = TextWidth("WWW"), narrow = TextWidth("iii");
    EXPECT_GT(wide, narrow);
    EXPECT_NEAR(TextWidth("W"), large->LoadGlyph('W')->Advance(), 1.0);
    EXPECT_EQ(TextHeight(), large->height());
    SetFont(nullptr);
    FontPtr bold = LoadFont(kTrueTypeFile, 36, 1);
    ASSERT_TRUE(bold);
    EXPECT_GE(bold->LoadGlyph('l')->_w, large->LoadGlyph('l')->_w + 1);
}

TEST(TrueTypeFont, MissingOrBrokenFilesGiveNull) {
    EXPECT_FALSE(LoadFont("/no/such/font.ttf", 12));
    const std::string junk = std::string(TOTEM_BINARY_DIR) + "/junk_font.ttf";
    std::ofstream(junk) << "this is not a font file at all";
    EXPECT_FALSE(LoadFont(junk, 12));
    std::remove(junk.c_str());
    if (std::ifstream(kTrueTypeFile)) {
        EXPECT_FALSE(LoadFont(kTrueTypeFile, 0));
        EXPECT_FALSE(LoadFont(kTrueTypeFile, -3));
    }
}

}  // namespace
