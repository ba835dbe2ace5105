#include "app/Globals.h"
#include "app/TApp.h"

int main() {
    InitGlobals();
    LoadStartupContent();
    TApp::Init();
    TApp::Run(TApp::START_MODE_MENU, 1);
}
