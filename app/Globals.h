#pragma once
#include <memory>

#include "media/TTimer.h"

// The application-wide objects only the shell owns. The shared colours, the
// highway's lines, the dialog layouts and the resource catalogue live in the
// layers that use them; InitGlobals() creates them all in start-up order.
extern std::shared_ptr<TTimer> FrameTimer;
// The story map, made with the level table before the display opens and
// handed to the main menu, which shows it (StoryMenu refers to it too).
class TStoryMenu;
extern std::shared_ptr<TStoryMenu> StoryMapScreen;

// Creates the globals of every layer in start-up order and seeds the random
// numbers.
void InitGlobals();
// The rest of the start-up that comes before the display: the dialog layouts,
// the level table, the text table, the window title (text 110) and the audio
// back-end.
void LoadStartupContent();
