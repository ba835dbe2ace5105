#pragma once
#include <memory>

#include "game/TLevelStat.h"
#include "media/Audio.h"

// How the program was started: on the main menu, or straight into a level
// ("--level N"). A level started at launch has no menu to go back to, so
// Escape ends the program instead of opening one.
constexpr int START_MODE_MENU = 1;
constexpr int START_MODE_GAME = 2;
extern int StartMode;

// Globals the running level shares between the highway, its items, the
// catcher and the controller. They are set by whoever starts a level; the
// items only read them.

// Speed coefficient of the running level: highway units per 30 ms for notes
// and frets. 1.0 until a level sets its own.
extern float LevelSpeed;
// Statistics of the running level; null while no level runs.
extern LevelStatPtr CurrentLevelStat;

// The catcher of the running level; null while no level runs.
class TBat;
extern std::shared_ptr<TBat> Bat;

// The player's own delays, in ms, from the timing settings. Sound heard this
// late (speakers, wireless headphones) moves the chart later against the
// music, so notes are caught when they are heard; a screen that shows
// pictures this late has the items drawn that much further on, so they meet
// the catcher when their note sounds. Both within ±MAX_OFFSET_MS.
constexpr int MAX_OFFSET_MS = 300;
extern int AudioOffsetMs;
extern int VideoOffsetMs;

// Volume of sound effects and menu music, 0..1 (the options dialog sets it).
extern float SoundVolume;
// The one way a sound effect is started: plays `sound` (on `channel`, or on a
// new one when it is null) at SoundVolume. Null when there is no sound.
ChannelPtr PlayGameSound(const SoundPtr& sound, const ChannelPtr& channel = nullptr);

// The menus' song: started once by the main menu, it plays while the main menu
// or the story map is shown and is paused while a level plays. Null until then.
extern ChannelPtr MenuMusic;
// Called each frame by the screen the song belongs to: it rests while the
// window is in the background and plays on when the player comes back.
void MenuMusicFollowsFocus();
