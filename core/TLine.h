#pragma once
#include <memory>

#include "core/TObject.h"
#include "core/TVector.h"

class TLine;
using LinePtr = std::shared_ptr<TLine>;

// A segment kept as a start point and the vector to its end. The start vector
// is shared with whoever built the line, so moving it moves the line.
class TLine : public TObject {
    TOTEM_CLASS(TLine)

    VectorPtr Start;
    VectorPtr Line;

    static LinePtr Create(const VectorPtr& start, const VectorPtr& end);
    // The point t of the way along (0 start, 1 end; other t extrapolate).
    void GetPoint(float t, float& x, float& y) const;
};
