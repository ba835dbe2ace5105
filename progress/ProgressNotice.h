#pragma once
#include <functional>
#include <string>

// Tells the player something about their saved progress (it could not be
// read, it cannot be kept). The one place such a notice is shown, so it can
// move from the system's message box to the game's own when that exists.
void ShowProgressNotice(const std::string& text);

// Tests catch the notices here instead; an empty function restores the box.
void SetProgressNoticeSink(std::function<void(const std::string&)> sink);
