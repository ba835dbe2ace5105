#include "progress/ProgressHooks.h"

#include <memory>

#include "game/GameplayEvents.h"
#include "game/LevelHooks.h"
#include "progress/ProgressGlobals.h"
#include "progress/THintWindow.h"
#include "progress/TLevelComplete.h"
#include "progress/TPrizeWidget.h"
#include "progress/TPrizesControl.h"
#include "progress/UserFile.h"

void RecordLevelResult(int levelId, int32_t points, TLevelStat& stat) {
    if (!CurrentUser || !CurrentUser->GameData) return;
    TGameData& data = *CurrentUser->GameData;
    data.SetLevelStars(levelId, stat.StarsForLevel);
    if (levelId >= data.CurrentLevel) data.CurrentLevel = levelId + 1;
    if (data.SetHiScore(levelId, points) != 0) stat.IsHiScore = 1;
    SaveUserList();
}

void InstallProgressHooks() {
    SetGameplayEventReceiver(EventTarget::Prizes, [](const std::string& name) { TPrizesControl::SendEvent(name); });
    SetGameplayEventReceiver(EventTarget::Hints, [](const std::string& name) {
        if (ActiveHintWindow) ActiveHintWindow->SendEvent(name);
    });
    LevelHooks hooks;
    hooks.CreateHintWindow = [] { return std::make_shared<THintWindow>(); };
    hooks.LevelStarting = [] {
        TPrizesControl::CreatePrizes();
        if (ActiveHintWindow) ActiveHintWindow->Reset();
    };
    hooks.RecordResult = RecordLevelResult;
    hooks.ShowResults = [](const LevelStatPtr& stat, int levelId) {
        OpenLevelComplete(stat, levelId == LevelCount ? 1 : 0);
    };
    hooks.LevelStopped = [] { TPrizeWidget::RemoveAll(); };
    SetLevelHooks(std::move(hooks));
}
