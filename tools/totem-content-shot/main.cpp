// Draws one 800×600 frame of the built game content with the game's own
// renderer and writes it as a PNG, so the art can be judged where it will
// be seen rather than one picture at a time:
//
//   totem-content-shot GAMEDIR loading OUT.png        the loading screen at 60 %
//   totem-content-shot GAMEDIR dialog OUT.png         a dialog over the main menu
//   totem-content-shot GAMEDIR highway SKIN OUT.png   the play screen of a level skin
//
// Missing resources are listed on standard output and make the exit status 1;
// the frame is written all the same.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "content/GameFolder.h"
#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "content/TAnimImage.h"
#include "content/TResManager.h"
#include "core/TGraphicsState.h"
#include "game/HighwayGeometry.h"
#include "gui/DialogFrame.h"
#include "media/Clock.h"
#include "media/Graphics.h"

namespace {

void DrawLoading() {
    LoadingStone = TAnimImage::Load2("IMAGE_LOADING_STONE", -1);
    DrawLoadingFrame(60);
}

void DrawCaption(const FontPtr& font, const std::string& text, float centreX, float y) {
    SetFont(font);
    DrawText(text, centreX - float(TextWidth(text)) / 2, y);
}

void DrawDialogScene() {
    ResManager->LoadScope("Menu");
    FetchMenuGroup();
    SetBlend(ALPHABLEND);
    if (IMAGE_MENU_BACK) DrawImage(IMAGE_MENU_BACK, 0, 0);
    if (IMAGE_MENU_BACK_LAYER1) DrawImage(IMAGE_MENU_BACK_LAYER1, 0, 0);
    // A modal dialog dims whatever lies behind it.
    SetColor(0, 0, 0);
    SetAlpha(0.5f);
    DrawRect(0, 0, 800, 600);
    SetAlpha(1);
    SetColor(255, 255, 255);

    const int w = 480, h = 360;
    const int x = 400 - w / 2, y = 300 - h / 2;
    DialogFrame frame;
    SetDialogFrameImage(frame, IMAGE_DIALOG);
    frame.Tile_Up = IMAGE_DIALOG_UP;
    frame.Tile_Down = IMAGE_DIALOG_DOWN;
    frame.Tile_Left = IMAGE_DIALOG_LEFT;
    frame.Tile_Right = IMAGE_DIALOG_RIGHT;
    PushDrawState();
    SetOrigin(float(x), float(y));
    DrawDialogFrame(frame, float(x), float(y), w, h);
    PopDrawState();

    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    if (IMAGE_OPTIONS_LABEL)
        DrawImage(IMAGE_OPTIONS_LABEL, float(400 - IMAGE_OPTIONS_LABEL->width / 2), float(y + 24));
    DrawCaption(FONT_MAIN, "Sound and music volume", 400, float(y + 150));
    const char* captions[] = {"OK", "Cancel"};
    for (int i = 0; i < 2; ++i) {
        if (!IMAGE_BUTTON_D) break;
        const float bw = float(IMAGE_BUTTON_D->width), bh = float(IMAGE_BUTTON_D->height);
        const float bx = float(400 + (i == 0 ? -20 - bw : 20)), by = float(y + h - 50) - bh;
        DrawImage(IMAGE_BUTTON_D, bx, by);
        SetFont(FONT_BUTTONLITTLE);
        const float th = float(TextHeight(captions[i]));
        DrawCaption(FONT_BUTTONLITTLE, captions[i], bx + bw / 2, by + (bh - th) / 2);
    }
    SetFont(nullptr);
}

void DrawNote(int line, float progress) {
    const ImagePtr notes[] = {IMAGE_ITEM_NOTE_1, IMAGE_ITEM_NOTE_2, IMAGE_ITEM_NOTE_3, IMAGE_ITEM_NOTE_4,
                              IMAGE_ITEM_NOTE_5};
    const ImagePtr& image = notes[line];
    if (!image) return;
    const HighwayPoint p = HighwayGeometry::ItemPosition(line, progress);
    const float s = HighwayGeometry::ItemScale(line, progress);
    SetScale(s, s);
    DrawImage(image, p.x, p.y);
    SetScale(1, 1);
}

void DrawHighwayScene() {
    ResManager->LoadScope("Gryph");
    FetchGryphGroup();
    SetBlend(ALPHABLEND);
    SetScale(2, 2);
    if (IMAGE_BACK_MAIN) DrawImage(IMAGE_BACK_MAIN, 0, 0);
    SetScale(1, 1);
    if (IMAGE_GRYPH_BACK) DrawImage(IMAGE_GRYPH_BACK, 0, 0);
    if (IMAGE_GRYPH_LIGHT) {
        SetAlpha(0.4f);  // a modest combo meter lights the highway a little
        DrawImage(IMAGE_GRYPH_LIGHT, 0, 0);
    }
    if (IMAGE_GRYPH_LINES_LIGHT) {
        SetAlpha(0.8f);  // just after a catch
        SetScale(2, 2);
        SetBlend(LIGHTBLEND);
        DrawImage(IMAGE_GRYPH_LINES_LIGHT, 0, 0);
        SetScale(1, 1);
        SetBlend(ALPHABLEND);
    }
    SetAlpha(1);
    // Far notes first, so the nearer ones cover them.
    struct Placed {
        int line;
        float progress;
    };
    const Placed notes[] = {{4, 24}, {0, 32}, {2, 40}, {1, 52}, {3, 62}, {2, 72}, {1, 80}};
    for (const Placed& n : notes) DrawNote(n.line, n.progress);
    if (IMAGE_GRYPH_BAT_MAIN) {
        const HighwayPoint catchPoint = HighwayGeometry::CatchPoint(1);
        DrawImage(IMAGE_GRYPH_BAT_MAIN, catchPoint.x, catchPoint.y);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 2 ? argv[2] : "";
    const bool highway = what == "highway";
    if (argc != (highway ? 5 : 4) || (!highway && what != "loading" && what != "dialog")) {
        std::fprintf(stderr,
                     "usage: totem-content-shot GAMEDIR loading|dialog OUT.png\n"
                     "       totem-content-shot GAMEDIR highway SKIN OUT.png\n");
        return 2;
    }
    const std::filesystem::path gameDir = argv[1];
    const std::string skin = highway ? argv[3] : "";
    const std::filesystem::path out = std::filesystem::absolute(argv[argc - 1]);

    std::string problem;
    if (!EnterGameFolder(gameDir.string(), problem)) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }

    UseDrivenClock();
    InitGlobals();
    std::vector<std::string> failures;
    ResourceFatal = [&failures](const std::string& message) { failures.push_back(message); };
    if (!OpenDisplay(800, 600, 0, 85)) return 1;
    SetVirtualResolution(800, 600);
    LoadResourceFile("res.xml");

    if (highway) {
        bool known = false;
        for (const ResPtr& r : ResManager->Resources) known = known || r->Scope == skin;
        if (!known) {
            std::fprintf(stderr, "%s: res.xml has no skin scope \"%s\"\n", gameDir.string().c_str(), skin.c_str());
            return 1;
        }
    }

    ResManager->LoadScope("Init");
    FetchInitGroup();
    SetClsColor(0, 0, 0);
    Cls();
    PushDrawState();
    if (what == "loading") {
        DrawLoading();
    } else if (what == "dialog") {
        DrawDialogScene();
    } else {
        ResManager->LoadScope(skin);
        FetchSkinGroup();
        DrawHighwayScene();
    }
    PopDrawState();

    const PicturePtr shot = GrabFrame();
    if (!shot || !SavePicturePNG(*shot, out.string())) {
        std::fprintf(stderr, "%s: could not write the captured frame\n", out.string().c_str());
        return 1;
    }
    for (const std::string& failure : failures) std::printf("%s\n", failure.c_str());
    std::printf("%s: %s%s%s\n", out.string().c_str(), what.c_str(), highway ? " " : "", skin.c_str());
    return failures.empty() ? 0 : 1;
}
