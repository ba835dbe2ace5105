#include "core/TLine.h"

LinePtr TLine::Create(const VectorPtr& start, const VectorPtr& end) {
    auto line = std::make_shared<TLine>();
    line->Start = start;
    line->Line = MakeVector(end->x - start->x, end->y - start->y);
    return line;
}

void TLine::GetPoint(float t, float& x, float& y) const {
    x = Start->x + t * Line->x;
    y = Start->y + t * Line->y;
}
