#include "game/HighwayLines.h"

std::array<std::shared_ptr<TLine>, 6> ImpulseLines;
std::array<std::shared_ptr<TColor>, 5> LineColors;

namespace {
struct LinePoints {
    float x0, y0, x1, y1;
};
constexpr LinePoints IMPULSE_LINE_POINTS[6] = {
    {221, 510, 367, 241}, {295, 500, 381, 241}, {371, 496, 392, 241},
    {442, 497, 409, 241}, {514, 501, 426, 241}, {588, 510, 442, 241},
};
constexpr int LINE_RGB[5][3] = {
    {61, 245, 38}, {224, 30, 186}, {37, 101, 246}, {255, 196, 36}, {253, 75, 40},
};
}  // namespace

void InitHighwayLines() {
    for (int i = 0; i < 6; ++i) {
        const auto& p = IMPULSE_LINE_POINTS[i];
        ImpulseLines[i] = TLine::Create(MakeVector(p.x0, p.y0), MakeVector(p.x1, p.y1));
    }
    for (int i = 0; i < 5; ++i) LineColors[i] = TColor::Create(LINE_RGB[i][0], LINE_RGB[i][1], LINE_RGB[i][2]);
}
