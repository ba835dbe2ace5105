// What the game holds in memory at three moments of a real start: a splash on
// screen, the main menu ready, and level 28 a few seconds into play. The game
// is opened the way the executable opens it (the same start-up functions), on
// the built game folder with the offscreen driver, whose software textures
// live in process memory as they do under Xvfb; the clock is the test clock.
//
//   bench_memory [GAMEDIR] [any other flags are ignored]
//
// Prints, per moment, RssAnon / VmRSS / VmHWM from /proc/self/status, the
// heap in use and kept by malloc, and what the loaded resources account for:
// pixel stores held in main memory, textures, decoded sounds.

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "app/Globals.h"
#include "app/TApp.h"
#include "content/GameFolder.h"
#include "content/ResourceCatalogue.h"
#include "content/TPNGFont.h"
#include "content/TResManager.h"
#include "core/GameClock.h"
#include "game/GameGlobals.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TLevelInfo.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/System.h"
#include "progress/TOptions.h"
#include "progress/UserFile.h"
#include "screens/TMainMenu.h"
#include "screens/TStoryMenu.h"

namespace {

constexpr double kMB = 1024.0 * 1024.0;
constexpr int kLevel = 28;
constexpr int kPlayFrames = 5 * 85;  // five seconds of play at the window's rate

// A field of /proc/self/status in kB, 0 when absent.
double StatusKb(const std::string& field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, field.size() + 1, field + ":") != 0) continue;
        std::istringstream values(line.substr(field.size() + 1));
        double kb = 0;
        values >> kb;
        return kb;
    }
    return 0;
}

struct ResourceBytes {
    double pictures = 0;  // pixel stores held in main memory
    double pictureStores = 0;
    int reproducible = 0;  // stores that can be read again from the game's files
    double sounds = 0;    // decoded samples
    int soundsWhole = 0, soundsStreamed = 0;
};

void CountPicture(const PicturePtr& picture, std::set<const void*>& seen, ResourceBytes& out) {
    if (!picture || !seen.insert(picture->StoreId()).second) return;
    out.pictureStores += 1;
    out.reproducible += picture->PixelsReproducible() ? 1 : 0;
    out.pictures += double(picture->StoreBytes());
}

void CountImage(const ImagePtr& image, std::set<const void*>& seen, ResourceBytes& out) {
    if (!image) return;
    for (const PicturePtr& frame : image->frames) CountPicture(frame, seen, out);
}

ResourceBytes LoadedResources() {
    ResourceBytes out;
    std::set<const void*> seen;
    for (const ResPtr& res : ResManager->Resources) {
        if (ImagePtr image = res->AsImage()) CountImage(image, seen, out);
        if (FontPtr font = res->AsFont()) {
            if (auto* png = dynamic_cast<TPNGFont*>(font.get())) CountPicture(png->font, seen, out);
            for (const GlyphPtr& glyph : font->glyphs)
                if (glyph) CountImage(glyph->_image, seen, out);
        }
        if (SoundPtr sound = res->AsSound()) {
            if (sound->Streamed()) {
                ++out.soundsStreamed;
            } else {
                ++out.soundsWhole;
                out.sounds += double(sound->Frames() * sound->Channels() * 2);
            }
        }
    }
    return out;
}

// The loaded pictures of each scope at their full RGBA size, wherever their
// pixels are held (main memory or textures).
std::string PicturesByScope() {
    std::map<std::string, double> perScope;
    std::set<const void*> seen;
    for (const ResPtr& res : ResManager->Resources) {
        ImagePtr image = res->AsImage();
        if (!image) continue;
        for (const PicturePtr& f : image->frames)
            if (f && seen.insert(f->StoreId()).second)
                perScope[res->Scope] += double(f->StoreWidth()) * f->StoreHeight() * 4;
    }
    std::string text;
    char part[64];
    for (const auto& [scope, bytes] : perScope) {
        std::snprintf(part, sizeof part, " %s %.1f", scope.c_str(), bytes / kMB);
        text += part;
    }
    return text;
}

void Report(const char* moment) {
    // Freed memory malloc keeps is not in use, but it is in RssAnon.
    const struct mallinfo2 heap = mallinfo2();
    const ResourceBytes res = LoadedResources();
    const TextureStats tex = TextureMemory();
    std::printf("%-10s RssAnon %6.1f MB  VmRSS %6.1f MB  VmHWM %6.1f MB | heap used %6.1f MB, free kept %5.1f MB, mmapped %5.1f MB\n",
                moment, StatusKb("RssAnon") / 1024, StatusKb("VmRSS") / 1024, StatusKb("VmHWM") / 1024,
                double(heap.uordblks) / kMB, double(heap.fordblks) / kMB, double(heap.hblkhd) / kMB);
    std::printf("%-10s pictures in main memory %5.1f MB (%d stores, %d with a source) | textures: %d atlas pages %5.1f MB (%4.1f MB placed), "
                "%d own %5.1f MB | decoded sounds %5.1f MB (%d whole, %d streamed)\n",
                "", res.pictures / kMB, int(res.pictureStores), res.reproducible, tex.atlasPages, double(tex.atlasBytes) / kMB,
                double(tex.atlasPlacedBytes) / kMB, tex.ownTextures, double(tex.ownBytes) / kMB, res.sounds / kMB,
                res.soundsWhole, res.soundsStreamed);
    std::printf("%-10s image pictures by scope, MB as RGBA:%s\n", "", PicturesByScope().c_str());
    std::fflush(stdout);
}

void Frames(int n) {
    for (int i = 0; i < n; ++i) TApp::RunFrame();
    // Let the software renderer finish what was queued before measuring.
    GrabFrame();
}

// A few frames of the first splash, drawn as TApp::ShowSplash draws them.
void ShowSplashFrames(const ImagePtr& image, int n) {
    for (int i = 0; i < n && image; ++i) {
        Cls();
        SetAlpha(1);
        DrawImageRect(image, 0, 0, 800, 600, 0);
        PollEvents();
        Flip(-1);
        AdvanceClock(1000 / 85);
    }
    GrabFrame();
}

}  // namespace

int main(int argc, char** argv) {
    std::string gameDir = std::string(TOTEM_BINARY_DIR) + "/game";
    if (argc > 1 && argv[1][0] != '-') gameDir = argv[1];
    gameDir = std::filesystem::absolute(gameDir).string();
    std::string problem;
    if (!std::filesystem::is_regular_file(std::filesystem::path(gameDir) / "res.xml") ||
        !EnterGameFolder(gameDir, problem)) {
        std::printf("bench_memory: skipped, no built game folder at %s\n", gameDir.c_str());
        return 0;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    UseDrivenClock();
    UseSilentMixer();
    Report("start");

    // TApp::Init, step by step, with a window whatever the options say.
    InitGlobals();
    LoadStartupContent();
    LoadResourceFile("res.xml");
    ResManager->LoadScope("Init");
    FetchInitGroup();
    TOptions::LoadOptions();
    if (!TOptions::SetWindowed()) {
        std::printf("bench_memory: skipped, no display\n");
        return 0;
    }
    ResManager->PrepareLoaded();
    LoadUserList();
    ResManager->LoadScope("ZAR");
    FetchZarGroup();
    ReturnFreedMemory();
    ShowSplashFrames(IMAGE_ZAR_SPLASH2, 30);
    Report("splash");

    TApp::ReleaseSplashes();
    LoadMenuAndGryph();
    TApp::CreateMainMenu();
    TApp::CreateGame();
    ReturnFreedMemory();
    TApp::ChooseFirstScreen(TApp::START_MODE_MENU, 1);
    TApp::EnterLoop();
    Frames(60);
    Report("menu");

    if (!StoryMenu || StoryMenu->StartLevel(kLevel) != 0) {
        std::printf("bench_memory: level %d does not start\n", kLevel);
        return 0;
    }
    if (MainMenu) MainMenu->SetHided(1);
    Frames(kPlayFrames);
    Report("playing");
    return 0;
}
