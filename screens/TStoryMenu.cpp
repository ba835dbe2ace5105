#include "screens/TStoryMenu.h"

#include <algorithm>

#include "content/ResourceCatalogue.h"
#include "content/TResManager.h"
#include "core/GameClock.h"
#include "game/GameGlobals.h"
#include "game/TGame.h"
#include "gui/TDialogHelper.h"
#include "gui/TWidgetmanager.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "progress/ProgressGlobals.h"
#include "screens/TMainMenu.h"
#include "screens/TPoint.h"
#include "screens/TStatue.h"

TStoryMenu* StoryMenu = nullptr;

namespace {
constexpr int kScreenW = 800, kScreenH = 600;

// Top-left corners of the markers of levels 1 to 28, along the path.
constexpr float kMarkers[][2] = {
    {274, 364}, {305, 353}, {345, 327}, {388, 282}, {400, 255}, {375, 238}, {340, 224},
    {301, 198}, {277, 185}, {251, 173}, {203, 165}, {156, 152}, {141, 130}, {156, 101},
    {170, 79},  {195, 67},  {231, 57},  {275, 50},  {323, 60},  {328, 89},  {340, 119},
    {378, 134}, {423, 135}, {453, 136}, {487, 137}, {500, 157}, {488, 186}, {469, 215},
};
static_assert(std::size(kMarkers) == LevelCount, "one marker per level");

constexpr float kWaterSpots[][2] = {{281, 374}, {366, 320}, {357, 211}, {222, 150}, {178, 86},
                                    {238, 80},  {347, 52},  {404, 121}, {531, 149}};

constexpr float kTotemSpots[][2] = {{240, 342}, {333, 267}, {325, 172}, {176, 115},
                                    {138, 48},  {230, 18},  {353, 82},  {502, 101}};

// The first level at which each further totem stands (the first stands from
// the start).
constexpr int kTotemFromLevel[] = {4, 9, 13, 16, 18, 20, 22, 26};

void UpdateAndDropDead(std::vector<EmitterPtr>& emitters, float dt) {
    const auto current = emitters;
    for (const auto& e : current) e->Update(dt);
    std::erase_if(emitters, [](const EmitterPtr& e) { return e->Death != 0; });
}
}  // namespace

TStoryMenu::TStoryMenu() {
    id = "window_storymenu";
    Modal = 0;
    StoryMenu = this;
}

TStoryMenu::~TStoryMenu() {
    if (StoryMenu == this) StoryMenu = nullptr;
}

LevelInfoPtr TStoryMenu::GetLevelById(int levelId) { return ::GetLevelById(levelId); }

int TStoryMenu::TotemCount(int currentLevel) {
    int n = 1;
    for (int from : kTotemFromLevel)
        if (currentLevel >= from) ++n;
    return n;
}

int TStoryMenu::CurrentLevel() {
    return CurrentUser && CurrentUser->GameData ? CurrentUser->GameData->CurrentLevel : 1;
}

int TStoryMenu::LevelToPlay() {
    const int current = CurrentLevel();
    // Once the story is done the profile keeps its progress; the pick lives
    // only in the level it starts.
    return current > LevelCount ? RandomInt(2, LevelCount) : current;
}

void TStoryMenu::AddedToManager() {
    CreateMarkers();
    WaterEffectCoords.clear();
    for (const auto& s : kWaterSpots) WaterEffectCoords.push_back(MakeVector(s[0], s[1]));
    Totems.clear();
    for (const auto& s : kTotemSpots) Totems.push_back(MakeVector(s[0], s[1]));
    for (int i = 1; i <= 9; ++i)
        TotemsImages[size_t(i)] = ResManager ? ResManager->GetImage("IMAGE_STORY_00" + std::to_string(i)) : nullptr;
    for (const char* side : {"left", "right"}) {
        const StatuePtr statue = TStatue::Create(side);
        Widgets.push_back(statue);
        WidgetManager->AddWidget(statue);
    }
    BUTTON_PLAY = LoadButton(*this, "play", Button_PLAY_ID, 1);
    BUTTON_BACK = LoadButton(*this, "back", Button_BACK_ID, 1);
    // The map lies at the screen origin, so the buttons' offsets are screen
    // positions; place them there.
    TDialog::AddedToManager();
}

void TStoryMenu::CreateMarkers() {
    // A map made again (tests make one per case) starts its own path.
    for (const PointPtr& old : StoryPoints)
        if (WidgetManager) WidgetManager->RemoveWidget(old);
    StoryPoints.clear();
    for (const auto& m : kMarkers) StoryPoints.push_back(TPoint::Create(m[0], m[1]));
}

void TStoryMenu::Draw() {
    SetScale(2, 2);
    DrawImage(IMAGE_STORY_BACK, 0, 0);
    SetScale(1, 1);
    for (const auto& e : WaterEmitters) e->Draw();
    DrawImage(IMAGE_STORY_ISLANDS, 0, 0);
    const int n = TotemCount(CurrentLevel());
    for (size_t k = 1; k <= Totems.size(); ++k)
        if (static_cast<int>(k) <= n) DrawImage(TotemsImages[k], Totems[k - 1]->x, Totems[k - 1]->y);
    for (const auto& e : Emitters) e->Draw();
}

void TStoryMenu::Update(float dt) {
    UpdateMarkers();
    UpdateWater(dt);
    UpdateAndDropDead(Emitters, dt);
    MenuMusicFollowsFocus();
}

void TStoryMenu::UpdateMarkers() {
    const int current = CurrentLevel();
    for (const PointPtr& p : StoryPoints) {
        p->locked = p->num > current ? 1 : 0;
        p->Star = p->num == current ? 1 : 0;
    }
}

void TStoryMenu::UpdateWater(float dt) {
    if (GameClock - static_cast<float>(NextWaterEffectTime) > 0 && !WaterEffectCoords.empty()) {
        const VectorPtr& spot = WaterEffectCoords[size_t(RandomInt(0, int(WaterEffectCoords.size()) - 1))];
        WaterEmitters.push_back(TEmitter::Create(spot->x, spot->y, EFFECT_water, 0));
        NextWaterEffectTime = static_cast<int32_t>(GameClock + static_cast<float>(RandomInt(700, 2000)));
    }
    UpdateAndDropDead(WaterEmitters, dt);
}

void TStoryMenu::SetHided(int hide) {
    if (hide == 0) {
        PlayGameSound(SOUND_MENU_MAP_OPEN);
        for (const PointPtr& p : StoryPoints)
            p->Stars = CurrentUser && CurrentUser->GameData ? CurrentUser->GameData->GetLevelStars(p->num) : 0;
    }
    // What was already splashing or sparkling when the map comes back stops
    // producing; new ones start normally. Stopped for good, too, so that they
    // fade out and go instead of piling up with every visit.
    const int32_t now = ClockMs();
    for (auto* list : {&WaterEmitters, &Emitters})
        for (const auto& e : *list) {
            e->Pause = hide == 0 ? 1 : 0;
            if (hide == 0) e->GenerationStop = 1;
            e->OldTime = now;
        }
    for (const PointPtr& p : StoryPoints) p->SetHided(hide);
    TDialog::SetHided(hide);
}

void TStoryMenu::DePress(int buttonId) {
    switch (buttonId) {
        case Button_PLAY_ID:
            StartLevel(LevelToPlay());
            break;
        case Button_BACK_ID:
            SetHided(1);
            if (MainMenu) MainMenu->Show();
            break;
        default:
            break;
    }
}

int TStoryMenu::StartLevel(int level) {
    const LevelInfoPtr info = GetLevelById(level);
    SetHided(1);
    if (!Game) return -1;
    Game->LevelInfo = info;
    const int started = Game->StartLevel(0);
    // The controller has told the player why; leave them on the map (a level
    // asked for at launch has no map to go back to).
    if (started != 0 && StartMode != START_MODE_GAME) SetHided(0);
    return started;
}

std::shared_ptr<TStoryMenu> AddStoryMenuHidden() {
    auto map = std::make_shared<TStoryMenu>();
    map->Resize(0, 0, kScreenW, kScreenH);
    WidgetManager->AddWidget(map);
    map->SetHided(1);
    return map;
}
