#pragma once
#include <memory>

#include "media/TTimer.h"

// The application-wide objects only the shell owns. The shared colours, the
// highway's lines, the dialog layouts and the resource catalogue live in the
// layers that use them; InitGlobals() creates them all in start-up order.
extern std::shared_ptr<TTimer> FrameTimer;

// Creates the globals of every layer in start-up order and seeds the random
// numbers.
void InitGlobals();
// The rest of the start-up that comes before the display: the dialog layouts,
// the level table, the text table, the window title (text 110) and the audio
// back-end.
void LoadStartupContent();
