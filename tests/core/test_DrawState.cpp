#include <gtest/gtest.h>

#include "core/TGraphicsState.h"
#include "media/Graphics.h"

namespace {

// A font whose every letter is `advance` pixels wide.
FontPtr FixedWidthFont(float advance) {
    auto font = std::make_shared<TImageFont>();
    font->Height = 10;
    font->glyphs.resize(128);
    for (int c = 32; c < 128; ++c) {
        auto glyph = std::make_shared<TImageGlyph>();
        glyph->advance = advance;
        font->glyphs[c] = glyph;
    }
    return font;
}

struct State {
    int blend;
    float rotation, sx, sy, alpha;
    int r, g, b, vx, vy, vw, vh;
    float ox, oy;
    FontPtr font;
};

State Read() {
    State s{};
    s.blend = GetBlend();
    s.rotation = GetRotation();
    GetScale(s.sx, s.sy);
    s.alpha = GetAlpha();
    GetColor(s.r, s.g, s.b);
    GetViewport(s.vx, s.vy, s.vw, s.vh);
    GetOrigin(s.ox, s.oy);
    s.font = GetFont();
    return s;
}

void Apply(const State& s) {
    SetBlend(s.blend);
    SetRotation(s.rotation);
    SetScale(s.sx, s.sy);
    SetAlpha(s.alpha);
    SetColor(s.r, s.g, s.b);
    SetViewport(s.vx, s.vy, s.vw, s.vh);
    SetOrigin(s.ox, s.oy);
    SetFont(s.font);
}

void ExpectSame(const State& a, const State& b) {
    EXPECT_EQ(a.blend, b.blend);
    EXPECT_FLOAT_EQ(a.rotation, b.rotation);
    EXPECT_FLOAT_EQ(a.sx, b.sx);
    EXPECT_FLOAT_EQ(a.sy, b.sy);
    EXPECT_FLOAT_EQ(a.alpha, b.alpha);
    EXPECT_EQ(a.r, b.r);
    EXPECT_EQ(a.g, b.g);
    EXPECT_EQ(a.b, b.b);
    EXPECT_EQ(a.vx, b.vx);
    EXPECT_EQ(a.vy, b.vy);
    EXPECT_EQ(a.vw, b.vw);
    EXPECT_EQ(a.vh, b.vh);
    EXPECT_FLOAT_EQ(a.ox, b.ox);
    EXPECT_FLOAT_EQ(a.oy, b.oy);
    EXPECT_EQ(a.font, b.font);
}

class DrawStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        DrawStateStack.Clear();
        fontA = FixedWidthFont(7);
        fontB = FixedWidthFont(3);
        outer = State{ALPHABLEND, 0, 1, 1, 1, 200, 150, 100, 0, 0, 800, 600, 0, 0, fontA};
        inner = State{LIGHTBLEND, 45, 2, 3, 0.5f, 10, 20, 30, 10, 10, 100, 100, 5, 5, fontB};
        Apply(outer);
    }
    void TearDown() override {
        DrawStateStack.Clear();
        SetFont(nullptr);
    }
    FontPtr fontA, fontB;
    State outer, inner;
};

TEST_F(DrawStateTest, PopRestoresEveryElement) {
    PushDrawState();
    Apply(inner);
    ExpectSame(Read(), inner);
    PopDrawState();
    ExpectSame(Read(), outer);
    EXPECT_EQ(DrawStateStack.IsEmpty(), 1);
}

TEST_F(DrawStateTest, PushesNest) {
    PushDrawState();
    Apply(inner);
    PushDrawState();
    SetColor(1, 2, 3);
    SetFont(nullptr);
    SetOrigin(-4, 9);
    PopDrawState();
    ExpectSame(Read(), inner);
    EXPECT_EQ(DrawStateStack.IsEmpty(), 0);  // the outer snapshot is still there
    PopDrawState();
    ExpectSame(Read(), outer);
}

TEST_F(DrawStateTest, PopOnEmptyStackChangesNothing) {
    Apply(inner);
    PopDrawState();
    ExpectSame(Read(), inner);
}

TEST_F(DrawStateTest, ForeignObjectsOnTheStackAreIgnored) {
    DrawStateStack.Push(std::make_shared<TObject>());
    Apply(inner);
    PopDrawState();
    ExpectSame(Read(), inner);
    EXPECT_EQ(DrawStateStack.IsEmpty(), 1);
}

TEST_F(DrawStateTest, NullFontIsRestoredAsTheDefaultFont) {
    SetFont(nullptr);
    const FontPtr before = GetFont();
    PushDrawState();
    SetFont(fontB);
    PopDrawState();
    EXPECT_EQ(GetFont(), before);
    EXPECT_NE(GetFont(), fontB);
}

TEST_F(DrawStateTest, TextWidthWithFontMeasuresAndLeavesStateAlone) {
    SetScale(2, 2);
    EXPECT_EQ(TextWidthWithFont("abcd", fontB), 12);  // scale is not applied
    EXPECT_EQ(TextWidthWithFont("abcd", nullptr), 28); // null: the current font
    EXPECT_EQ(LetterWidth(fontB), 3);
    EXPECT_EQ(LetterWidth(nullptr), 7);
    State expected = outer;
    expected.sx = expected.sy = 2;
    ExpectSame(Read(), expected);
    EXPECT_EQ(DrawStateStack.IsEmpty(), 1);
}

}  // namespace
