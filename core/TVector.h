#pragma once
#include <memory>

#include "core/TObject.h"

class TVector;
using VectorPtr = std::shared_ptr<TVector>;

// A 2D point or direction, shared by reference (a line keeps the very start
// vector it was built from). Angles: 0° points down the screen (+y), 90° right.
class TVector : public TObject {
    TOTEM_CLASS(TVector)

    float x = 0, y = 0;
    // The last length computed.
    float length = 0;
    // When set, GetLength trusts `length` instead of recomputing it.
    int lengthCalculated = 0;

    TVector() = default;
    TVector(float x, float y) : x(x), y(y) {}

    // Scales to unit length; a zero vector becomes non-finite.
    void Normilize();
    float GetLength();
    // Direction in degrees in the game's convention: (0,1) → 0, (1,0) → 90.
    float GetAngle() const;
};

VectorPtr MakeVector(float x, float y);
