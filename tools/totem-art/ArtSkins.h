#pragma once
#include <string>

// The four level skins. Each one's statue eyes are painted from the same table
// that gives the game their positions ("media/skins.xml"), so the glow the game
// draws at those points always sits on the painted eyes.
struct SkinEyes {
    // Screen pixels (the backgrounds are painted at half size and drawn at
    // scale 2): the left statue's two eyes, then the right statue's.
    int x[4];
    int y[4];
};

struct SkinInfo {
    const char* id;
    SkinEyes eyes;
};

int SkinCount();
const SkinInfo& Skin(int index);

// The eye table as the game reads it; written by `totem-art --skins-xml FILE`.
std::string SkinsXml();
