#pragma once
#include "fx/TEmitter.h"

// Recolours the effect an emitter runs before it emits: its particles start at
// (r, g, b) with the effect's first alpha and end at (r, g, b) with its second.
// The colour goes into the shared effect definition, so every emitter of that
// effect is tinted until the next tint. An emitter without an effect is left
// alone.
void TintEffect(const EmitterPtr& emitter, int r, int g, int b);
