#pragma once
#include <vector>

#include "progress/TUser.h"

// The number of levels of the story (the story map and the game controller
// read it too).
inline constexpr int LevelCount = 28;

// Every profile, in file order, and the one playing (null until a profile is
// read, created or chosen). Loaded once at start-up from "User.dat".
extern std::vector<UserPtr> UserList;
extern UserPtr CurrentUser;

static_assert(TGameData::ENTRIES == LevelCount + 2, "a profile keeps two entries beyond the story");
