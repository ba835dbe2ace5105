#include "game/TGame.h"

#include "gui/TWidgetmanager.h"
#include "content/ResourceCatalogue.h"
#include "content/TResManager.h"
#include "core/GameClock.h"
#include "core/QuitRequest.h"
#include "game/GameGlobals.h"
#include "game/LevelHooks.h"
#include "game/PlayTrace.h"
#include "game/TFloatPoints.h"
#include "game/TGryph.h"
#include "game/TLevelStat.h"
#include "game/TNoteLineWidget.h"
#include "game/TPointsWindow.h"
#include "media/Input.h"
#include "media/System.h"

TGame* Game = nullptr;
std::string CurrentSkin;

TGame::TGame() { Game = this; }

TGame::~TGame() {
    if (Game == this) Game = nullptr;
}

void TGame::AddedToManager() {
    Gryph = std::make_shared<TGryph>();
    Gryph->Resize(0, 0, 800, 600);
    WidgetManager->AddWidget(Gryph);
    NoteLineWidget = std::make_shared<TNoteLineWidget>();
    NoteLineWidget->Resize(261, 178, 278, 45);
    WidgetManager->AddWidget(NoteLineWidget);
    PointsWindow = std::make_shared<TPointsWindow>();
    PointsWindow->Resize(600, 20, 200, 40);
    WidgetManager->AddWidget(PointsWindow);
    if (const auto& create = InstalledLevelHooks().CreateHintWindow) HintWindow = create();
    if (HintWindow) {
        HintWindow->Resize(370, 71, 430, 42);
        WidgetManager->AddWidget(HintWindow);
    }
}

void TGame::SetHided(int hide) {
    // The menus' song plays exactly while the play screen is hidden.
    if (MenuMusic) MenuMusic->SetPaused(hide == 0 ? 1 : 0);
    if (NoteLineWidget) NoteLineWidget->SetHided(hide);
    if (Gryph) Gryph->SetHided(hide);
    if (PointsWindow) PointsWindow->SetHided(hide);
    if (HintWindow) HintWindow->SetHided(hide);
    TWidget::SetHided(hide);
}

void TGame::Update(float /*dt*/) {
    if (KeyDown(KEY_ESCAPE) != 0 && StartMode == START_MODE_GAME) {
        RequestQuit(0);
        return;
    }
    const auto& openMenu = InstalledLevelHooks().OpenInGameMenu;
    if (MouseHitCount(2) != 0 || KeyHitCount(KEY_ESCAPE) != 0 || KeyHitCount(KEY_P) != 0) {
        if (LevelEnded != 0) return;
        if (openMenu) openMenu();
        else if (GamePaused != 0) ResumeGame();
        else PauseGame();
        return;
    }
    if (AppSuspended() != 0 && GamePaused == 0) {
        if (openMenu) openMenu();
        else PauseGame();
    }
}

int TGame::AbandonStart() {
    RequestQuit(1);
    SetHided(1);
    return -1;
}

int TGame::StartLevel(int replay) {
    if (!LevelInfo) {
        Notify("The level cannot be played: it is not in the level table", false);
        SetHided(1);
        return -1;
    }
    const std::string skin = LevelInfo->Skin;
    if (skin.empty()) {
        Notify("Skin is not set for the this level: " + std::to_string(LevelInfo->id), false);
        return AbandonStart();
    }
    if (skin != CurrentSkin) {
        PrintLine("Unload " + CurrentSkin);
        PrintLine("Load " + skin);
        if (Gryph->LoadGlazPos(skin) != 0) return AbandonStart();
        ResManager->UnLoadScope(CurrentSkin);
        ResManager->ResetLoadingPanel();
        ResManager->LoadingPanelAddScope(skin);
        ResManager->LoadingMax = ResManager->LoadingMax * 4;
        ResManager->LoadScope(skin);
        FetchSkinGroup();
        CurrentSkin = skin;
        // A skin picture that is missing ends the program; don't start playing
        // for the one frame that is left.
        if (QuitRequested()) return AbandonStart();
    }
    LevelSpeed = LevelInfo->speed > 0 ? LevelInfo->speed : 1.0f;
    LevelEnded = 0;
    SetHided(0);
    ResManager->ShowLoading(25);
    // The prizes are armed and the hints reset before the chart loads.
    if (const auto& starting = InstalledLevelHooks().LevelStarting) starting();
    if (Load(replay) != 0) {
        // Nothing is playing; leave the player where they were.
        StopGame(0);
        return -1;
    }
    if (PointsWindow) PointsWindow->Points = 0;
    Points = 0;
    GamePaused = 0;
    TracePlay("level " + std::to_string(LevelInfo->id) + " playing");
    return 0;
}

int TGame::Load(int replay) { return Gryph->Load(LevelInfo->song, LevelInfo->complexity, replay); }

void TGame::PauseGame() {
    GamePaused = 1;
    PauseStartTime = static_cast<int32_t>(GameClock);
    Gryph->Pause();
    TracePlay("paused");
}

void TGame::ResumeGame() {
    GamePaused = 0;
    GameClock = static_cast<float>(PauseStartTime);
    Gryph->Resume();
    TracePlay("resumed");
}

void TGame::StopGame(int keepShown) {
    if (NoteLineWidget) NoteLineWidget->StopGame();
    if (Gryph) Gryph->StopGame();
    TFloatPoints::RemoveAll();
    if (const auto& stopped = InstalledLevelHooks().LevelStopped) stopped();
    GamePaused = 0;
    if (keepShown == 0) SetHided(1);
}

void TGame::ReplayGame() {
    StopGame(0);
    StartLevel(1);
}

void TGame::StartNextLevel() {
    StopGame(1);
    LevelInfo = LevelInfo ? GetLevelById(LevelInfo->id + 1) : nullptr;
    StartLevel(0);
}

void TGame::ExitToMainMenu() {
    StopGame(0);
    if (const auto& show = InstalledLevelHooks().ShowMainMenu) show();
}

int TGame::GoldRush() { return Gryph ? Gryph->GoldRush() : 0; }

int TGame::GetPointsMult() { return Gryph ? Gryph->GetPointsMult() : 1; }

// Stars, then the profile (stars, unlocked level, high score) and its save,
// then the pause, then the results: the results show what the profile kept.
void TGame::LevelComplete() {
    const LevelStatPtr s = CurrentLevelStat;
    if (s && LevelInfo) {
        // A chart without notes has nothing to be accurate about.
        s->Accuracy = s->NotesAll > 0
                          ? static_cast<int32_t>(static_cast<double>(s->NotesCount) / s->NotesAll * 100.0)
                          : 0;
        const int64_t base = static_cast<int64_t>(s->NotesCount) * LevelInfo->complexity;
        if (s->Accuracy > 50) s->StarsForLevel = 1;
        if (Points > base * 100) s->StarsForLevel = 2;
        if (Points > base * 200) s->StarsForLevel = 3;
        if (const auto& record = InstalledLevelHooks().RecordResult) record(LevelInfo->id, Points, *s);
        PrintLine("Level " + std::to_string(LevelInfo->id) + " complete: " + std::to_string(Points) +
                  " points, accuracy " + std::to_string(s->Accuracy) + ", stars " +
                  std::to_string(s->StarsForLevel));
    }
    PauseGame();
    LevelEnded = 1;
    CompletedLevels += 1;
    const auto& show = InstalledLevelHooks().ShowResults;
    if (s && LevelInfo && show) show(s, LevelInfo->id);
}
