#pragma once
#include <array>
#include <memory>

#include "core/TColor.h"
#include "core/TLine.h"

// The highway's fixed lines and colours that are not derived from the
// perspective formulas of HighwayGeometry: the paths the impulse effects run
// along and the colour of each line. Filled once by InitHighwayLines().

// Paths of the impulse effects along the highway: parameter 0 at the player's
// end, 1 at the far end (all at y = 241).
extern std::array<std::shared_ptr<TLine>, 6> ImpulseLines;
// One colour per highway line.
extern std::array<std::shared_ptr<TColor>, 5> LineColors;

void InitHighwayLines();
