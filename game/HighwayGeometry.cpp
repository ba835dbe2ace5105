#include "game/HighwayGeometry.h"

namespace {
// Eye distance from the screen and the vanishing point of the projection.
constexpr float kEye = 120.0f;
constexpr float kCentreX = 401.0f;
constexpr float kCentreY = 220.0f;
// The highway rises from 15 units at the far end by 43 units over 100 progress.
constexpr float kBaseHeight = 15.0f;
constexpr float kRise = 43.0f;
constexpr float kLineXs[HighwayGeometry::kLines] = {-25.0f, -12.0f, 1.0f, 14.0f, 26.5f};
}  // namespace

float HighwayGeometry::LineX(int line) { return line >= 0 && line < kLines ? kLineXs[line] : 0.0f; }

float HighwayGeometry::LineY(float z) { return kBaseHeight + z / 100.0f * kRise; }

HighwayPoint HighwayGeometry::To2d(float x, float y, float z) {
    return {kCentreX + (-kEye * x) / (z - kEye), kCentreY - (-kEye * y) / (z - kEye)};
}

HighwayPoint HighwayGeometry::SurfacePoint(float x, float t) { return To2d(x, -LineY(t), t + kDepthOffset); }

HighwayPoint HighwayGeometry::ItemPosition(int line, float t) { return SurfacePoint(LineX(line), t); }

float HighwayGeometry::ItemScale(int line, float t) {
    // One world unit across, in screen pixels, scaled to the item pictures.
    return (SurfacePoint(LineX(line) + 1.0f, t).x - ItemPosition(line, t).x) * 0.2f;
}

HighwayPoint HighwayGeometry::CatchPoint(int line) { return ItemPosition(line, kCatchProgress); }

float HighwayGeometry::ProgressAtScreenY(float y) {
    // y = cy + eye·(b + r·t/100) / (eye − d − t), with d the depth offset,
    // solved for t: a straight line in t over a straight line in t.
    const float k = y - kCentreY;
    const float r = kRise / 100.0f;
    return (k * (kEye - kDepthOffset) - kEye * kBaseHeight) / (k + kEye * r);
}
