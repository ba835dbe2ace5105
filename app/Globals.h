#pragma once
#include <array>
#include <memory>

#include "core/GameClock.h"
#include "core/TColor.h"
#include "core/TCurveValue.h"
#include "core/TLine.h"
#include "content/Xml.h"
#include "media/TTimer.h"

#include "gui/TWidgetmanager.h"

// The application-wide objects every screen shares. They are created by
// InitGlobals() before the display opens and live for the whole process.
extern std::shared_ptr<TTimer> FrameTimer;
extern int StartMode;
// Paths of the impulse effects along the highway: parameter 0 at the player's
// end, 1 at the far end (all at y = 241).
extern std::array<std::shared_ptr<TLine>, 6> ImpulseLines;
// One colour per highway line.
extern std::array<std::shared_ptr<TColor>, 5> LineColors;
extern std::shared_ptr<TColor> ColorWhite;
extern std::shared_ptr<TColor> ColorGold;
extern std::shared_ptr<TCurveValue> SlowScalePulse;
extern std::shared_ptr<TCurveValue> FastScalePulse;

// The dialog layouts, read once before the display opens.
extern XmlNode GuiDocument;

// Creates the globals above in start-up order and seeds the random numbers.
void InitGlobals();
// The rest of the start-up that comes before the display: the dialog layouts,
// the text table, the window title (text 110) and the audio back-end.
void LoadStartupContent();
