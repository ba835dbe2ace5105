#include <gtest/gtest.h>

#include "core/TColor.h"
#include "media/Graphics.h"

namespace {

struct Rgb {
    int r, g, b;
};

Rgb DrawingColor() {
    Rgb c{};
    GetColor(c.r, c.g, c.b);
    return c;
}

class ColorTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetColor(7, 8, 9);
        SetAlpha(0.25f);
    }
};

struct ClampCase {
    int r, g, b;
    int er, eg, eb;
};

TEST_F(ColorTest, SetClampsTo0And254AndWritesBack) {
    const ClampCase cases[] = {
        {255, 255, 255, 254, 254, 254},
        {300, -5, 128, 254, 0, 128},
        {254, 0, 1, 254, 0, 1},
        {-1000, 253, 1000, 0, 253, 254},
    };
    for (const auto& c : cases) {
        auto color = MakeColor(c.r, c.g, c.b);
        color->Set();
        const Rgb drawn = DrawingColor();
        EXPECT_EQ(drawn.r, c.er) << c.r;
        EXPECT_EQ(drawn.g, c.eg) << c.g;
        EXPECT_EQ(drawn.b, c.eb) << c.b;
        EXPECT_EQ(color->r, c.er);
        EXPECT_EQ(color->g, c.eg);
        EXPECT_EQ(color->b, c.eb);
    }
}

TEST_F(ColorTest, AlphaIsAppliedOnlyWithUseAlphaAndNotClamped) {
    MakeColor(10, 10, 10)->Set();
    EXPECT_FLOAT_EQ(GetAlpha(), 0.25f);
    MakeColorAlpha(10, 10, 10, 1.5f)->Set();
    EXPECT_FLOAT_EQ(GetAlpha(), 1.5f);
}

struct CalcCase {
    int t, total;
    int er, eg, eb;
    float ea;
};

TEST_F(ColorTest, SetCalcColorInterpolatesWithTruncation) {
    const CalcCase cases[] = {
        {500, 1000, 127, 50, 25, 0.5f},
        {0, 1000, 0, 0, 0, 0.0f},
        {1000, 1000, 254, 100, 50, 1.0f},  // 255 is clamped when applied
        {2000, 1000, 254, 200, 100, 2.0f}, // t beyond total extrapolates
        {-500, 1000, 0, 0, 0, -0.5f},      // before the start: channels clamp at 0
        {1, 3, 85, 33, 16, 1.0f / 3},
    };
    for (const auto& c : cases) {
        auto color = MakeColorAlpha(0, 0, 0, 0);
        color->StartColor(0, 0, 0, 0);
        color->EndColor(255, 100, 50, 1);
        color->SetCalcColor(c.t, c.total);
        EXPECT_EQ(color->r, c.er) << c.t;
        EXPECT_EQ(color->g, c.eg) << c.t;
        EXPECT_EQ(color->b, c.eb) << c.t;
        EXPECT_NEAR(color->a, c.ea, 1e-6) << c.t;
        EXPECT_NEAR(GetAlpha(), c.ea, 1e-6) << c.t;
        const Rgb drawn = DrawingColor();
        EXPECT_EQ(drawn.r, c.er);
        EXPECT_EQ(drawn.g, c.eg);
        EXPECT_EQ(drawn.b, c.eb);
    }
}

TEST_F(ColorTest, SetCalcColorTruncatesTowardZero) {
    auto color = MakeColor(0, 0, 0);
    color->StartColor(10, 10, 10, 0);
    color->EndColor(9, 8, 11, 0);
    color->SetCalcColor(1, 3);
    // (−1)/3 and (−2)/3 truncate to 0, 1/3 truncates to 0.
    EXPECT_EQ(color->r, 10);
    EXPECT_EQ(color->g, 10);
    EXPECT_EQ(color->b, 10);
    color->SetCalcColor(2, 3);
    EXPECT_EQ(color->r, 10);
    EXPECT_EQ(color->g, 9);
    EXPECT_EQ(color->b, 10);
}

TEST_F(ColorTest, SetCalcColorWithZeroTotalChangesNothing) {
    auto color = MakeColorAlpha(40, 50, 60, 0.75f);
    color->EndColor(200, 200, 200, 1);
    color->SetCalcColor(5, 0);
    EXPECT_EQ(color->r, 40);
    EXPECT_EQ(color->g, 50);
    EXPECT_EQ(color->b, 60);
    EXPECT_FLOAT_EQ(color->a, 0.75f);
    const Rgb drawn = DrawingColor();
    EXPECT_EQ(drawn.r, 7);
    EXPECT_EQ(drawn.g, 8);
    EXPECT_EQ(drawn.b, 9);
    EXPECT_FLOAT_EQ(GetAlpha(), 0.25f);
}

TEST_F(ColorTest, ConstructorsSetTheDocumentedFields) {
    auto plain = MakeColor(1, 2, 3);
    EXPECT_EQ(plain->r0, 1);
    EXPECT_EQ(plain->g0, 2);
    EXPECT_EQ(plain->b0, 3);
    EXPECT_EQ(plain->a, 0);
    EXPECT_EQ(plain->a0, 0);
    EXPECT_EQ(plain->UseAlpha, 0);
    EXPECT_EQ(plain->r1 + plain->g1 + plain->b1, 0);

    auto alpha = MakeColorAlpha(4, 5, 6, 0.5f);
    EXPECT_EQ(alpha->r, 4);
    EXPECT_EQ(alpha->b0, 6);
    EXPECT_FLOAT_EQ(alpha->a, 0.5f);
    EXPECT_FLOAT_EQ(alpha->a0, 0.5f);
    EXPECT_EQ(alpha->UseAlpha, 1);
    EXPECT_EQ(alpha->a1, 0);

    auto created = TColor::Create(7, 8, 9);
    EXPECT_EQ(created->r, 7);
    EXPECT_EQ(created->r0, 0);
    EXPECT_EQ(created->UseAlpha, 0);
}

TEST_F(ColorTest, CloneCopiesEveryFieldIntoANewObject) {
    auto c = MakeColorAlpha(1, 2, 3, 0.1f);
    c->StartColor(4, 5, 6, 0.2f);
    c->EndColor(7, 8, 9, 0.3f);
    auto copy = c->Clone();
    ASSERT_NE(copy, c);
    EXPECT_EQ((std::tuple{copy->r, copy->g, copy->b, copy->r0, copy->g0, copy->b0, copy->r1, copy->g1, copy->b1,
                          copy->UseAlpha}),
              (std::tuple{1, 2, 3, 4, 5, 6, 7, 8, 9, 1}));
    EXPECT_FLOAT_EQ(copy->a, 0.1f);
    EXPECT_FLOAT_EQ(copy->a0, 0.2f);
    EXPECT_FLOAT_EQ(copy->a1, 0.3f);
    copy->r = 99;
    EXPECT_EQ(c->r, 1);
}

TEST_F(ColorTest, SetNewColorDoesNotApply) {
    auto c = MakeColor(1, 1, 1);
    c->SetNewColor(100, 110, 120);
    EXPECT_EQ(c->r, 100);
    EXPECT_EQ(c->g, 110);
    EXPECT_EQ(c->b, 120);
    EXPECT_EQ(c->r0, 1);
    EXPECT_EQ(DrawingColor().r, 7);
}

TEST_F(ColorTest, ApplyColorIgnoresNullAndAppliesOtherwise) {
    ApplyColor(nullptr);
    EXPECT_EQ(DrawingColor().r, 7);
    ApplyColor(ShadowColor);
    const Rgb drawn = DrawingColor();
    EXPECT_EQ(drawn.r, 60);
    EXPECT_EQ(drawn.g, 60);
    EXPECT_EQ(drawn.b, 60);
    ApplyColor(DefaultColor);
    EXPECT_EQ(DrawingColor().g, 254);
}

}  // namespace
