#pragma once
#include <cstdint>

#include "game/TLevelStat.h"

// Connects the prizes, the hints, the profiles and the results to the game:
// the gameplay events go to the prizes and the hint strip, and the game
// controller's level hooks arm the prizes, reset the hints, record a finished
// level in the current profile and open its results dialog. Start-up calls it once,
// before the game controller is made (the controller makes its hint strip
// through it).
void InstallProgressHooks();

// The end of a level in the current profile: the stars earned (only ever
// raised), the next level unlocked, the high score (marking stat.IsHiScore
// when the points are one), then "User.dat" saved. Nothing without a profile.
void RecordLevelResult(int levelId, int32_t points, TLevelStat& stat);
