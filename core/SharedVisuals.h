#pragma once
#include <memory>

#include "core/TColor.h"
#include "core/TCurveValue.h"

// Colours and pulses every screen shares, so that all the white texts and all
// the gold highlights are one object each and every pulsing thing beats
// together. Created once by InitSharedVisuals() before anything draws.
extern std::shared_ptr<TColor> ColorWhite;
extern std::shared_ptr<TColor> ColorGold;
// A slow and a fast scale pulse around 1 (curves 10 and 2).
extern std::shared_ptr<TCurveValue> SlowScalePulse;
extern std::shared_ptr<TCurveValue> FastScalePulse;

void InitSharedVisuals();
