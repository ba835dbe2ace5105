#include "core/GameClock.h"

float GameClock = 0.0f;
