#include "tools/totem-songgen/SongStyle.h"

namespace {

// General MIDI percussion keys used by the grooves.
enum Drum {
    KICK = 36, RIM = 37, SNARE = 38, CLAP = 39, LOWTOM = 41, HAT = 42, MIDTOM = 45, OPENHAT = 46,
    HITOM = 48, CRASH = 49, RIDE = 51, TAMB = 54, COWBELL = 56, HIBONGO = 60, LOWBONGO = 61,
    MUTECONGA = 62, HICONGA = 63, LOWCONGA = 64, SHAKER = 70, CLAVES = 75, WOODBLOCK = 76,
};

std::vector<SongStyle> MakeStyles() {
    std::vector<SongStyle> all;
    SongStyle s;

    s = {};
    s.name = "reggae";
    s.leadProgram = 26; s.compProgram = 27; s.bassProgram = 33; s.padProgram = 16; s.extraProgram = -1;
    s.drums = {{KICK, "........X......."}, {RIM, "........x......."}, {HAT, "o.x.o.x.o.x.o.x."},
               {OPENHAT, "..............o."}};
    s.fill = {{KICK, "........X......."}, {RIM, "........x...x.x."}, {MIDTOM, "............x..."},
              {LOWTOM, "..............xx"}};
    s.bassPattern = "..r...r.f.....tr";
    s.compPattern = "....x.......x..."; s.compGate = 2; s.compLow = 57;
    s.progressions = {{0, 3, 0, 4}, {0, 3, 4, 3}, {5, 3, 0, 4}, {0, 0, 3, 4}};
    s.cells = {"x...", "x.x.", "..x.", "x..x", "r", "x.x."};
    s.heldChance = 0.2; s.leadLow = 62; s.leadHigh = 81;
    all.push_back(s);

    s = {};
    s.name = "surf";
    s.leadProgram = 27; s.compProgram = 29; s.bassProgram = 34; s.compNotes = 2;
    s.drums = {{KICK, "X.....x.x.....x."}, {SNARE, "....x.......x..."}, {HAT, "xoxoxoxoxoxoxoxo"}};
    s.fill = {{KICK, "X..............."}, {SNARE, "....xxxx"}, {HITOM, "........xx.."}, {LOWTOM, "..........xxxx.."},
              {CRASH, "..............X."}};
    s.bassPattern = "r.r.r.r.f.f.o.f.";
    s.compPattern = "x.x.x.x.x.x.x.x."; s.compGate = 1; s.compLow = 45;
    s.progressions = {{0, 0, 3, 4}, {0, 5, 3, 4}, {0, 3, 0, 4}, {5, 3, 4, 4}};
    s.cells = {"x.x.", "xxxx", "x.x.", "x...", "xx.x"};
    s.heldChance = 0.15; s.leadLow = 60; s.leadHigh = 84; s.leadVelocity = 96;
    all.push_back(s);

    s = {};
    s.name = "tribal";
    s.leadProgram = 75; s.compProgram = 116; s.bassProgram = 32; s.padProgram = 89; s.compNotes = 1;
    s.drums = {{KICK, "X.......x..x...."}, {LOWTOM, "x..x..x.x..x.x.."}, {MIDTOM, "..x...x...x..x.x"},
               {HICONGA, "..x.x..x..x.x..x"}, {SHAKER, "oooooooooooooooo"}};
    s.fill = {{KICK, "X..............."}, {LOWTOM, "x.x.x.x.xxxxxxxx"}, {MIDTOM, ".x.x.x.x........"},
              {HICONGA, "xxxxxxxxxxxxxxxx"}};
    s.bassPattern = "r.......r..r....";
    s.compPattern = "x.......x.x....."; s.compGate = 4; s.compLow = 36;
    s.progressions = {{0, 0, 6, 0}, {0, 5, 6, 0}, {0, 0, 3, 6}};
    s.cells = {"x...", "x.x.", "x..x", "xxx.", "r"};
    s.heldChance = 0.2; s.leadLow = 62; s.leadHigh = 84;
    all.push_back(s);

    s = {};
    s.name = "calypso";
    s.leadProgram = 114; s.compProgram = 24; s.bassProgram = 32; s.extraProgram = -1;
    s.drums = {{KICK, "X...x...x...x..."}, {SNARE, "...x..x....x..x."}, {COWBELL, "x.x.x.x.x.x.x.x."},
               {LOWCONGA, "..x...x...x...x."}, {CLAVES, "x..x..x...x.x..."}};
    s.fill = {{KICK, "X...x...x...x..."}, {HICONGA, "x.x.x.x.xxxx"}, {LOWCONGA, "............xxxx"}};
    s.bassPattern = "r..f..o.r..f..t.";
    s.compPattern = "x.xx.xx.x.xx.xx."; s.compGate = 1; s.compLow = 55;
    s.progressions = {{0, 4, 4, 0}, {0, 3, 4, 0}, {0, 0, 4, 4}, {3, 0, 4, 0}};
    s.cells = {"x.xx", "x.x.", ".xx.", "x..x", "xxxx"};
    s.heldChance = 0.1; s.leadLow = 62; s.leadHigh = 84; s.leadVelocity = 100;
    all.push_back(s);

    s = {};
    s.name = "blues";
    s.swing = true;
    s.leadProgram = 29; s.compProgram = 16; s.bassProgram = 32; s.sevenths = true;
    s.drums = {{KICK, "X.......x.....x."}, {SNARE, "....x.......x..."}, {RIDE, "x.x.x.x.x.x.x.x."}};
    s.fill = {{KICK, "X..............."}, {SNARE, "....x...x.x.x.x."}, {MIDTOM, "..............x."}};
    s.bassPattern = "r...t...f...w...";
    s.compPattern = "x.......x......."; s.compGate = 0; s.compNotes = 4; s.compLow = 52;
    s.progressions = {{0, 0, 0, 0, 3, 3, 0, 0, 4, 3, 0, 4}, {0, 3, 0, 0, 3, 3, 0, 0, 4, 3, 0, 4}};
    s.cells = {"x.x.", "x...", "..x.", "x.x.", "r", "x..."};
    s.heldChance = 0.3; s.leadLow = 57; s.leadHigh = 79; s.phraseBars = 2;
    all.push_back(s);

    s = {};
    s.name = "synthpop";
    s.leadProgram = 81; s.compProgram = 89; s.bassProgram = 38; s.extraProgram = 80; s.sevenths = false;
    s.drums = {{KICK, "X...x...x...x..."}, {CLAP, "....x.......x..."}, {HAT, "..x...x...x...x."},
               {OPENHAT, "..............x."}};
    s.fill = {{KICK, "X...x...x...x..."}, {CLAP, "....x...x.x.xxxx"}};
    s.bassPattern = "r.r.o.r.r.r.o.r.";
    s.compPattern = "x..............."; s.compGate = 16; s.compLow = 55; s.compNotes = 3;
    s.extraPattern = "aaaaaaaaaaaaaaaa"; s.extraGate = 1; s.extraLow = 64;
    s.progressions = {{5, 3, 0, 4}, {0, 4, 5, 3}, {5, 4, 3, 4}, {0, 5, 3, 4}};
    s.cells = {"x.x.", "x...", "x..x", ".x.x", "x.x."};
    s.heldChance = 0.2; s.leadLow = 62; s.leadHigh = 84;
    all.push_back(s);

    s = {};
    s.name = "ballad";
    s.leadProgram = 25; s.compProgram = 0; s.bassProgram = 32; s.padProgram = 48;
    s.drums = {{KICK, "X.......x.x....."}, {RIM, "....x.......x..."}, {HAT, "o.o.o.o.o.o.o.o."}};
    s.fill = {{KICK, "X......."}, {RIM, "....x..."}, {HITOM, "........x.x."}, {LOWTOM, "............x.x."}};
    s.bassPattern = "r.......f.......";
    s.compPattern = "a.a.a.a.a.a.a.a."; s.compGate = 6; s.compLow = 55; s.compNotes = 4;
    s.progressions = {{0, 4, 5, 3}, {0, 5, 3, 4}, {3, 4, 0, 5}, {0, 2, 3, 4}};
    s.cells = {"x...", "x.x.", "x...", "r", "x..x"};
    s.heldChance = 0.35; s.leadLow = 60; s.leadHigh = 81; s.leadVelocity = 88;
    all.push_back(s);

    s = {};
    s.name = "ska";
    s.leadProgram = 56; s.compProgram = 27; s.bassProgram = 33; s.extraProgram = 17;
    s.drums = {{KICK, "X...x...x...x..."}, {SNARE, "....x.......x..."}, {HAT, "..x...x...x...x."}};
    s.fill = {{KICK, "X..............."}, {SNARE, "....x.x.x.xxxxxx"}, {CRASH, "..............X."}};
    s.bassPattern = "r...t...f...w...";
    s.compPattern = "..x...x...x...x."; s.compGate = 1; s.compLow = 57;
    s.extraPattern = "..x...x...x...x."; s.extraGate = 1; s.extraLow = 64;
    s.progressions = {{0, 5, 3, 4}, {0, 3, 4, 0}, {1, 4, 0, 0}, {0, 0, 3, 4}};
    s.cells = {"x.x.", "x...", "xx.x", "..x.", "x.x."};
    s.heldChance = 0.15; s.leadLow = 60; s.leadHigh = 81; s.bandHitEvery = 1;
    all.push_back(s);

    s = {};
    s.name = "funk";
    s.leadProgram = 27; s.compProgram = 28; s.bassProgram = 36; s.extraProgram = 4; s.sevenths = true;
    s.drums = {{KICK, "X..x..x...x..x.."}, {SNARE, "....x..o.o..x..."}, {HAT, "xoxoxoxoxoxoxoxo"},
               {OPENHAT, "..............x."}};
    s.fill = {{KICK, "X..x..x........."}, {SNARE, "....x..o.oxxxxxx"}};
    s.bassPattern = "r..r..o...r.f.w.";
    s.compPattern = ".x.x..x..x.x..x."; s.compGate = 1; s.compLow = 57; s.compNotes = 3;
    s.extraPattern = "x.......x......."; s.extraGate = 3; s.extraLow = 60;
    s.progressions = {{0, 0, 3, 3}, {0, 3, 0, 3}, {0, 0, 6, 3}};
    s.cells = {".x.x", "x..x", "xx.x", "x.x.", "r", "..x."};
    s.heldChance = 0.15; s.leadLow = 60; s.leadHigh = 81; s.bandHitEvery = 1;
    all.push_back(s);

    s = {};
    s.name = "waltz";
    s.beatsPerBar = 3; s.phraseBars = 4;
    s.leadProgram = 40; s.compProgram = 21; s.bassProgram = 58; s.padProgram = 48;
    s.drums = {{KICK, "X..........."}, {HAT, "....o...o..."}, {RIDE, "x...x...x..."}};
    s.fill = {{KICK, "X..........."}, {SNARE, "....x.x.xxxx"}};
    s.bassPattern = "r...........";
    s.compPattern = "....x...x..."; s.compGate = 3; s.compLow = 55;
    s.progressions = {{0, 0, 4, 4}, {0, 3, 4, 0}, {0, 5, 1, 4}, {3, 4, 0, 0}};
    s.cells = {"x...", "x.x.", "x...", "x.x."};
    s.heldChance = 0.25; s.leadLow = 62; s.leadHigh = 84;
    all.push_back(s);

    s = {};
    s.name = "march";
    s.leadProgram = 72; s.compProgram = 61; s.bassProgram = 58; s.extraProgram = -1;
    s.drums = {{KICK, "X.......X......."}, {SNARE, "x.xxx.x.x.xxx.x."}, {CRASH, "........o......."}};
    s.fill = {{KICK, "X.......X......."}, {SNARE, "xxxxxxxxxxxxx.X."}};
    s.bassPattern = "r.......f.......";
    s.compPattern = "....x.......x..."; s.compGate = 2; s.compLow = 55;
    s.progressions = {{0, 4, 0, 4}, {0, 3, 4, 0}, {0, 0, 4, 0}, {3, 0, 4, 0}};
    s.cells = {"x.x.", "x...", "xxx.", "x.xx", "x.x."};
    s.heldChance = 0.15; s.leadLow = 67; s.leadHigh = 88; s.bandHitEvery = 1;
    all.push_back(s);

    s = {};
    s.name = "bossa";
    s.leadProgram = 66; s.compProgram = 24; s.bassProgram = 32; s.sevenths = true; s.compNotes = 4;
    s.drums = {{KICK, "X..xx..xX..xx..x"}, {RIM, "x..x..x...x..x.."}, {SHAKER, "oxoooxoooxoooxoo"}};
    s.fill = {{KICK, "X..xx..x"}, {RIM, "x..x..x...x.x.x."}};
    s.bassPattern = "r.....f.f.....r.";
    s.compPattern = "x..x..x...x..x.."; s.compGate = 2; s.compLow = 52;
    s.progressions = {{1, 4, 0, 0}, {0, 5, 1, 4}, {3, 2, 1, 4}, {0, 3, 1, 4}};
    s.cells = {"x...", "x..x", ".x..", "x.x.", "r"};
    s.heldChance = 0.3; s.leadLow = 57; s.leadHigh = 79; s.leadVelocity = 88;
    all.push_back(s);

    s = {};
    s.name = "lavarock";
    s.leadProgram = 30; s.compProgram = 29; s.bassProgram = 34; s.compNotes = 2;
    s.drums = {{KICK, "X.....x.x.x....."}, {SNARE, "....X.......X..."}, {HAT, "x.x.x.x.x.x.x.x."}};
    s.fill = {{KICK, "X..............."}, {SNARE, "....x.x.x.x.xxxx"}, {HITOM, "........xx......"},
              {LOWTOM, "..........xxxx.."}};
    s.bassPattern = "r.r.r.r.r.r.r.r.";
    s.compPattern = "x.x.x.x.x.x.x.x."; s.compGate = 2; s.compLow = 40;
    s.progressions = {{0, 6, 5, 6}, {0, 0, 5, 6}, {0, 3, 5, 4}};
    s.cells = {"x.x.", "x...", "xxx.", "x.xx", "x..."};
    s.heldChance = 0.25; s.leadLow = 59; s.leadHigh = 83; s.leadVelocity = 98;
    all.push_back(s);

    return all;
}

}  // namespace

const std::vector<SongStyle>& SongStyle::All() {
    static const std::vector<SongStyle> styles = MakeStyles();
    return styles;
}

const SongStyle* SongStyle::Find(const std::string& name) {
    for (const auto& s : All())
        if (s.name == name) return &s;
    return nullptr;
}
