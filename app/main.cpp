#include <cstdlib>
#include <cstring>

#include "app/Globals.h"
#include "app/TApp.h"

// "totem-riff --level N" starts level N directly; Escape then quits.
int main(int argc, char** argv) {
    int mode = TApp::START_MODE_MENU;
    int level = 1;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--level") == 0) {
            mode = TApp::START_MODE_GAME;
            level = std::atoi(argv[i + 1]);
        }
    }
    InitGlobals();
    LoadStartupContent();
    TApp::Init();
    TApp::Run(mode, level);
}
