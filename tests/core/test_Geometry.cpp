#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/MathHelpers.h"
#include "core/TLine.h"
#include "core/TRect.h"
#include "core/TVector.h"

namespace {

TEST(VectorTest, GetAngleUsesDownIsZeroRightIsNinety) {
    struct Case {
        float x, y, angle;
    } cases[] = {
        {0, 1, 0}, {1, 0, 90}, {0, -1, 180}, {-1, 0, -90}, {1, 1, 45}, {0, 0, 0}, {3, -3, 135},
    };
    for (const auto& c : cases) EXPECT_NEAR(MakeVector(c.x, c.y)->GetAngle(), c.angle, 1e-4) << c.x << "," << c.y;
}

TEST(VectorTest, GetLengthRecomputesUnlessMarkedCalculated) {
    auto v = MakeVector(3, 4);
    EXPECT_FLOAT_EQ(v->GetLength(), 5);
    EXPECT_FLOAT_EQ(v->length, 5);
    v->x = 6;
    v->y = 8;
    EXPECT_FLOAT_EQ(v->GetLength(), 10);
    v->lengthCalculated = 1;
    v->x = 0;
    EXPECT_FLOAT_EQ(v->GetLength(), 10);
}

TEST(VectorTest, NormilizeMakesUnitLengthAndKeepsTheFlag) {
    auto v = MakeVector(-3, 4);
    v->Normilize();
    EXPECT_FLOAT_EQ(v->x, -0.6f);
    EXPECT_FLOAT_EQ(v->y, 0.8f);
    EXPECT_FLOAT_EQ(v->length, 5);
    EXPECT_EQ(v->lengthCalculated, 0);

    auto zero = MakeVector(0, 0);
    zero->Normilize();
    EXPECT_FALSE(std::isfinite(zero->x));
}

TEST(RectTest, ContainsIsHalfOpen) {
    const TRect r(10, 10, 5, 5);
    struct Case {
        int x, y, in;
    } cases[] = {
        {10, 10, 1}, {14, 14, 1}, {15, 12, 0}, {12, 15, 0}, {9, 12, 0}, {12, 9, 0}, {12, 12, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(r.Contains(c.x, c.y), c.in) << c.x << "," << c.y;
}

TEST(RectTest, IntersectsExcludesTouchingEdges) {
    const TRect a(0, 0, 10, 10);
    struct Case {
        TRect other;
        int hit;
    } cases[] = {
        {TRect(10, 0, 10, 10), 0}, {TRect(0, 10, 10, 10), 0}, {TRect(-10, 0, 10, 10), 0},
        {TRect(0, -10, 10, 10), 0}, {TRect(9, 9, 10, 10), 1}, {TRect(2, 2, 1, 1), 1},
        {TRect(-5, -5, 30, 30), 1}, {TRect(-10, 0, 10.5f, 10), 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(a.Intersects(c.other), c.hit) << c.other.x << "," << c.other.y;
        EXPECT_EQ(c.other.Intersects(a), c.hit) << "reversed " << c.other.x << "," << c.other.y;
    }
}

TEST(LineTest, SharesTheStartVectorAndInterpolates) {
    auto start = MakeVector(10, 20);
    auto end = MakeVector(30, 10);
    auto line = TLine::Create(start, end);
    EXPECT_EQ(line->Start, start);
    EXPECT_FLOAT_EQ(line->Line->x, 20);
    EXPECT_FLOAT_EQ(line->Line->y, -10);

    struct Case {
        float t, x, y;
    } cases[] = {{0, 10, 20}, {1, 30, 10}, {0.5f, 20, 15}, {2, 50, 0}, {-1, -10, 30}};
    for (const auto& c : cases) {
        float x = -1, y = -1;
        line->GetPoint(c.t, x, y);
        EXPECT_FLOAT_EQ(x, c.x) << c.t;
        EXPECT_FLOAT_EQ(y, c.y) << c.t;
    }

    // Moving the shared start moves the line; the direction stays.
    start->x = 0;
    float x = 0, y = 0;
    line->GetPoint(1, x, y);
    EXPECT_FLOAT_EQ(x, 20);
    EXPECT_FLOAT_EQ(y, 10);
}

TEST(MathHelpersTest, DistanceAndApproach) {
    EXPECT_FLOAT_EQ(Distance(1, 1, 4, 5), 5);
    EXPECT_FLOAT_EQ(Distance(4, 5, 1, 1), 5);
    EXPECT_FLOAT_EQ(Approach(0, 10, 4), 2.5f);
    EXPECT_FLOAT_EQ(Approach(10, 0, 2), 5);
    EXPECT_FLOAT_EQ(ApproachDt(0, 10, 4, 2), 5);
    EXPECT_FLOAT_EQ(ApproachDt(0, 10, 4, 0), 0);
    EXPECT_FLOAT_EQ(ApproachDt(0, 10, 1, 1), 10);
}

TEST(MathHelpersTest, WholeIntTruncatesAndStopsAtTheEndsOfAnInt) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float value;
        int whole;
    } cases[] = {
        {2.9f, 2},           {-2.9f, -2},
        {0.0f, 0},           {std::nanf(""), 0},
        {1e10f, INT32_MAX},  {-1e10f, INT32_MIN},
        {inf, INT32_MAX},    {-inf, INT32_MIN},
        {2147483648.0f, INT32_MAX},
        {-2147483648.0f, INT32_MIN},
        {2147483520.0f, 2147483520},  // the largest float below 2^31
    };
    for (const Case& c : cases) EXPECT_EQ(WholeInt(c.value), c.whole) << c.value;
}

}  // namespace
