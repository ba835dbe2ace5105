#include <gtest/gtest.h>

#include <cmath>

#include "game/HighwayGeometry.h"

namespace {

using G = HighwayGeometry;

TEST(HighwayGeometry, LineXCoversTheFiveLinesAndNothingElse) {
    const struct {
        int line;
        float x;
    } cases[] = {{0, -25.0f}, {1, -12.0f}, {2, 1.0f}, {3, 14.0f}, {4, 26.5f}, {-1, 0.0f}, {5, 0.0f}, {99, 0.0f}};
    for (auto c : cases) EXPECT_FLOAT_EQ(G::LineX(c.line), c.x) << "line " << c.line;
}

TEST(HighwayGeometry, HighwayRisesFrom15To58) {
    EXPECT_FLOAT_EQ(G::LineY(0), 15.0f);
    EXPECT_NEAR(G::LineY(81.5f), 50.045f, 1e-4);
    EXPECT_FLOAT_EQ(G::LineY(100), 58.0f);
}

TEST(HighwayGeometry, ProjectionOfTheCatchPointOfLineOne) {
    // Worked by hand: depth 98.5 is 21.5 in front of the eye, so x and y are
    // magnified 120 / 21.5 times around (401, 220).
    const HighwayPoint p = G::To2d(-12.0f, -(15.0f + 0.43f * 81.5f), 98.5f);
    EXPECT_NEAR(p.x, 334.0f, 0.05f);
    EXPECT_NEAR(p.y, 499.3f, 0.05f);
}

TEST(HighwayGeometry, CatchRowOfEveryLine) {
    const float xs[5] = {261.5f, 334.0f, 406.6f, 479.1f, 548.9f};
    for (int line = 0; line < 5; ++line) {
        const HighwayPoint p = G::CatchPoint(line);
        EXPECT_NEAR(p.x, xs[line], 0.05f) << "line " << line;
        EXPECT_NEAR(p.y, 499.3f, 0.05f) << "line " << line;
    }
}

TEST(HighwayGeometry, FarEndOfTheMiddleLine) {
    // 120 / 103 of (1, 15) around the vanishing point.
    const HighwayPoint p = G::ItemPosition(2, 0);
    EXPECT_NEAR(p.x, 402.17f, 0.01f);
    EXPECT_NEAR(p.y, 237.48f, 0.01f);
}

TEST(HighwayGeometry, ItemScaleIs24Over103MinusProgressOnEveryLine) {
    const struct {
        float t, scale;
    } cases[] = {{0.0f, 0.233f}, {81.5f, 1.116f}, {83.0f, 1.2f}, {50.0f, 24.0f / 53.0f}};
    for (auto c : cases)
        for (int line = 0; line < 5; ++line)
            EXPECT_NEAR(G::ItemScale(line, c.t), c.scale, 0.001f) << "t " << c.t << " line " << line;
}

TEST(HighwayGeometry, ItemsRunAlongStraightLines) {
    // The art paints every line as one straight stroke from its far end; an
    // item must stay on that stroke all the way down.
    for (int line = 0; line < 5; ++line) {
        const HighwayPoint a = G::ItemPosition(line, 0);
        const HighwayPoint b = G::ItemPosition(line, 90);
        const float len = std::hypot(b.x - a.x, b.y - a.y);
        for (float t : {10.0f, 33.3f, 60.0f, 81.5f}) {
            const HighwayPoint p = G::ItemPosition(line, t);
            const float off = ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / len;
            EXPECT_NEAR(off, 0.0f, 0.02f) << "line " << line << " t " << t;
            EXPECT_GT(p.y, a.y);
        }
    }
}

TEST(HighwayGeometry, ProgressAtScreenYInvertsTheProjection) {
    for (float t : {0.0f, 15.0f, 42.0f, 81.5f, 95.0f}) {
        const float y = G::ItemPosition(3, t).y;
        EXPECT_NEAR(G::ProgressAtScreenY(y), t, 0.01f) << "t " << t;
    }
    // The catch row sits at screen height 499.3.
    EXPECT_NEAR(G::ProgressAtScreenY(499.3f), 81.5f, 0.01f);
}

TEST(HighwayGeometry, PictureWidthFitsTheLineAtAnyScale) {
    // A picture 5 pixels per world unit, drawn at the item scale, covers the
    // same screen width as that many world units of the highway.
    for (float t : {20.0f, 81.5f}) {
        const float scale = G::ItemScale(2, t);
        const float lineWidth = G::SurfacePoint(G::LineX(2) + G::kLineHalfWidth, t).x -
                                G::SurfacePoint(G::LineX(2) - G::kLineHalfWidth, t).x;
        EXPECT_NEAR(2 * G::kLineHalfWidth * G::kPixelsPerUnitAtScale1 * scale, lineWidth, 0.01f);
    }
}

}  // namespace
