#pragma once
#include <functional>
#include <string>
#include <vector>

#include "Synth.h"

// The game's sound effects: one recipe per sound file, with the length range
// its use in the game calls for (a click must be short, the gold rush may
// ring). The lengths are checked after rendering and again by the tests on
// the encoded files.
struct SoundRecipe {
    std::string name;       // file name without ".ogg", lower case
    double minSeconds;      // planned length range of the finished sound
    double maxSeconds;
    double peakDb;          // level of the loudest sample, dBFS
    bool loops;             // played looped: its end must run into its start
    std::function<sfx::Signal()> render;
};

const std::vector<SoundRecipe>& SoundRecipes();
