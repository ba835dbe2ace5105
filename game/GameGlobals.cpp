#include "game/GameGlobals.h"
#include "game/TBat.h"
#include "media/Input.h"

int StartMode = 0;
float LevelSpeed = 1.0f;
int AudioOffsetMs = 0;
int VideoOffsetMs = 0;
LevelStatPtr CurrentLevelStat;
std::shared_ptr<TBat> Bat;
float SoundVolume = 0.5f;
ChannelPtr MenuMusic;

void MenuMusicFollowsFocus() {
    if (!MenuMusic) return;
    const bool suspended = AppSuspended() != 0;
    if (suspended && MenuMusic->Playing() != 0) MenuMusic->SetPaused(1);
    if (!suspended && MenuMusic->Playing() == 0) MenuMusic->SetPaused(0);
}

ChannelPtr PlayGameSound(const SoundPtr& sound, const ChannelPtr& channel) {
    ChannelPtr played = PlaySound(sound, channel);
    if (played) played->SetVolume(SoundVolume);
    return played;
}
