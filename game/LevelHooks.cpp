#include "game/LevelHooks.h"

#include <utility>

namespace {
LevelHooks installed;
}  // namespace

void SetLevelHooks(LevelHooks hooks) { installed = std::move(hooks); }

const LevelHooks& InstalledLevelHooks() { return installed; }
