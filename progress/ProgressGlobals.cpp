#include "progress/ProgressGlobals.h"

std::vector<UserPtr> UserList;
UserPtr CurrentUser;
