#include "game/GameGlobals.h"
#include "game/TBat.h"

int StartMode = 0;
float LevelSpeed = 1.0f;
LevelStatPtr CurrentLevelStat;
std::shared_ptr<TBat> Bat;
float SoundVolume = 0.5f;
ChannelPtr MenuMusic;

ChannelPtr PlayGameSound(const SoundPtr& sound, const ChannelPtr& channel) {
    ChannelPtr played = PlaySound(sound, channel);
    if (played) played->SetVolume(SoundVolume);
    return played;
}
