#include "app/Globals.h"
#include "app/TApp.h"
#include "media/Audio.h"

int main() {
    InitGlobals();
    OpenAudio();
    TApp::Init();
    TApp::Run(TApp::START_MODE_MENU, 1);
}
