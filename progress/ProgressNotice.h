#pragma once
#include <functional>
#include <string>

// Tells the player something about their saved progress (it could not be
// read, it cannot be kept), in the game's own message box. The box opens at
// the end of the next frame's update, so that it lies above whatever that
// frame opens (the first screen at start-up, the results after a level).
void ShowProgressNotice(const std::string& text);
// Opens the boxes of the notices waiting; the main loop calls it every frame.
void OpenPendingProgressNotices();

// Tests catch the notices here instead; an empty function restores the box.
void SetProgressNoticeSink(std::function<void(const std::string&)> sink);
