#include "app/Globals.h"

#include "content/TextTable.h"
#include "content/Xml.h"
#include "core/SharedVisuals.h"
#include "fx/EffectResourceHooks.h"
#include "game/HighwayLines.h"
#include "game/TLevelInfo.h"
#include "gui/GuiDocument.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/System.h"
#include "progress/ProgressHooks.h"
#include "screens/ScreenHooks.h"
#include "screens/TStoryMenu.h"

std::shared_ptr<TTimer> FrameTimer;
std::shared_ptr<TStoryMenu> StoryMapScreen;

namespace {
constexpr int FRAME_HZ = 75;
}  // namespace

void InitGlobals() {
    WidgetManager = std::make_shared<TWidgetmanager>();
    FrameTimer = CreateTimer(FRAME_HZ);
    InitSharedVisuals();
    SeedRandom(uint32_t(ClockMs()));
    InitHighwayLines();
    ConnectResourceHooks();
    InstallProgressHooks();
    InstallScreenHooks();
}

void LoadStartupContent() {
    GuiDocument = XmlLoad("gui.xml");
    LoadLevelInfoList();
    StoryMapScreen = std::make_shared<TStoryMenu>();
    TextTable.assign(300, std::string());
    LoadTextTable();
    // Without a text table the caption keeps the game's own name.
    if (TextTable.size() > 110 && !TextTable[110].empty()) SetAppTitle(TextTable[110]);
    OpenAudio();
}
