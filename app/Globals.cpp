#include "app/Globals.h"
#include "screens/TLevelInfo.h"

#include "app/ResourceHooks.h"
#include "app/TextTable.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/System.h"
#include "media/Clock.h"

std::shared_ptr<TTimer> FrameTimer;
int StartMode = 0;
std::array<std::shared_ptr<TLine>, 6> ImpulseLines;
std::array<std::shared_ptr<TColor>, 5> LineColors;
std::shared_ptr<TColor> ColorWhite;
std::shared_ptr<TColor> ColorGold;
std::shared_ptr<TCurveValue> SlowScalePulse;
std::shared_ptr<TCurveValue> FastScalePulse;
XmlNode GuiDocument;

namespace {
constexpr int FRAME_HZ = 75;

struct LinePoints {
    float x0, y0, x1, y1;
};
constexpr LinePoints IMPULSE_LINE_POINTS[6] = {
    {221, 510, 367, 241}, {295, 500, 381, 241}, {371, 496, 392, 241},
    {442, 497, 409, 241}, {514, 501, 426, 241}, {588, 510, 442, 241},
};
constexpr int LINE_RGB[5][3] = {
    {61, 245, 38}, {224, 30, 186}, {37, 101, 246}, {255, 196, 36}, {253, 75, 40},
};
}  // namespace

void InitGlobals() {
    WidgetManager = std::make_shared<TWidgetmanager>();
    FrameTimer = CreateTimer(FRAME_HZ);
    ColorWhite = TColor::Create(255, 255, 255);
    ColorGold = TColor::Create(243, 206, 0);
    SlowScalePulse = TCurveValue::Create(1, 1, 10);
    FastScalePulse = TCurveValue::Create(1, 1, 2);
    SeedRandom(uint32_t(ClockMs()));
    for (int i = 0; i < 6; ++i) {
        const auto& p = IMPULSE_LINE_POINTS[i];
        ImpulseLines[i] = TLine::Create(MakeVector(p.x0, p.y0), MakeVector(p.x1, p.y1));
    }
    ConnectResourceHooks();
    for (int i = 0; i < 5; ++i) LineColors[i] = TColor::Create(LINE_RGB[i][0], LINE_RGB[i][1], LINE_RGB[i][2]);
}

void LoadStartupContent() {
    GuiDocument = XmlLoad("gui.xml");
    LoadLevelInfoList();
    TextTable.assign(300, std::string());
    LoadTextTable();
    // Without a text table the caption keeps the game's own name.
    if (TextTable.size() > 110 && !TextTable[110].empty()) SetAppTitle(TextTable[110]);
    OpenAudio();
}
