#include "core/SharedVisuals.h"

std::shared_ptr<TColor> ColorWhite;
std::shared_ptr<TColor> ColorGold;
std::shared_ptr<TCurveValue> SlowScalePulse;
std::shared_ptr<TCurveValue> FastScalePulse;

void InitSharedVisuals() {
    ColorWhite = TColor::Create(255, 255, 255);
    ColorGold = TColor::Create(243, 206, 0);
    SlowScalePulse = TCurveValue::Create(1, 1, 10);
    FastScalePulse = TCurveValue::Create(1, 1, 2);
}
