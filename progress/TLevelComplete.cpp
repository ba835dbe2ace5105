#include "progress/TLevelComplete.h"

#include <algorithm>

#include "content/ResourceCatalogue.h"
#include "core/QuitRequest.h"
#include "core/TGraphicsState.h"
#include "fx/TEmitter.h"
#include "game/GameGlobals.h"
#include "game/TGame.h"
#include "gui/TDialogHelper.h"
#include "gui/TLabel.h"
#include "gui/TWidgetmanager.h"
#include "media/Graphics.h"

namespace {
ResultsExits exits;

// The three stars of the level, in the dialog's pixels.
constexpr float kStarPos[3][2] = {{197, 408}, {240, 405}, {283, 410}};
constexpr float kHiScoreX = 343, kHiScoreY = 351;

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

// Back to the story map, or, while there is none, out of the program.
void LeaveToStoryMap() {
    if (Game) Game->StopGame(0);
    if (exits.ShowStoryMap) exits.ShowStoryMap();
    else RequestQuit(0);
}
}  // namespace

void SetResultsExits(ResultsExits e) { exits = std::move(e); }

// ---- TLevelCompleteEffects ----------------------------------------------------

TLevelCompleteEffects::TLevelCompleteEffects() { MouseSensetive = 0; }

void TLevelCompleteEffects::Update(float dt) {
    const auto current = Emitters;
    for (const auto& e : current) e->Update(dt);
    std::erase_if(Emitters, [](const EmitterPtr& e) { return e->Death != 0; });
}

void TLevelCompleteEffects::Draw() {
    for (const auto& e : Emitters) e->Draw();
}

void TLevelCompleteEffects::AddPointsEffect(const VectorPtr& pos) {
    Emitters.push_back(TEmitter::Create(pos->x, pos->y, EFFECT_COUNTER, 0));
}

// ---- TLevelComplete -------------------------------------------------------------

TLevelComplete::TLevelComplete() { id = "window_levelcomplete"; }

void TLevelComplete::AddedToManager() {
    LoadStatics(*this, "");
    LoadButton(*this, "menu", Button_MENU_ID, 1);
    LoadButton(*this, "replay", Button_REPLAY_ID, 1);
    LoadButton(*this, "next", Button_NEXT_ID, 1);
    EffectsLayer = std::make_shared<TLevelCompleteEffects>();
    EffectsLayer->Resize(0, 0, 800, 600);
    if (WidgetManager) WidgetManager->AddWidget(EffectsLayer);
    EffectsLayer->x = 0;
    EffectsLayer->y = 0;
    Widgets.push_back(EffectsLayer);
    Count.StartPrizeRow();
    TDialog::AddedToManager();
}

void TLevelComplete::OnShow() { PlayGameSound(SOUND_MENU_DIALOGOPEN); }

void TLevelComplete::Update(float /*dt*/) {
    Count.Step(*this);
    UpdateLabels();
}

void TLevelComplete::Draw() {
    TDialog::Draw();
    if (Count.HiScoreMarkerShown()) DrawImage(IMAGE_RESULT_HISCORE, kHiScoreX, kHiScoreY, 0);
    for (int n = 1; n <= 3; ++n) {
        const ImagePtr& star = Count.StarLit(n) ? IMAGE_RESULT_STAR : IMAGE_RESULT_STAR_EMPTHY;
        DrawImage(star, kStarPos[n - 1][0], kStarPos[n - 1][1], 0);
    }
}

void TLevelComplete::DePress(int buttonId) {
    // Whatever comes next may open another dialog; this one is gone first.
    const auto self = weak_from_this().lock();
    if (WidgetManager && self) WidgetManager->RemoveWidget(self);
    switch (buttonId) {
        case Button_MENU_ID:
            LeaveToStoryMap();
            break;
        case Button_REPLAY_ID:
            if (Game) Game->ReplayGame();
            break;
        case Button_NEXT_ID:
            if (Count.FinalLevel == 0) {
                if (Game) Game->StartNextLevel();
            } else if (exits.OpenGameOver) {
                exits.OpenGameOver();
            } else {
                // TODO(game over): the journey's end belongs to the screens;
                // until it exists the last level leads back like "menu".
                LeaveToStoryMap();
            }
            break;
        default:
            break;
    }
}

void TLevelComplete::AddNextPrize() {
    if (Count.PlaceNextPrize(static_cast<int>(_x), static_cast<int>(_y))) PlayGameSound(SOUND_RESULT_ACHIVEMENT);
}

void TLevelComplete::UpdateLabels() {
    for (const WidgetPtr& child : Widgets) {
        auto* label = dynamic_cast<TLabel*>(child.get());
        std::string value;
        if (!label || !Count.LabelValue(label->id, value)) continue;
        label->text = ReplaceAll(label->XMLText, "%s", value);
    }
}

VectorPtr TLevelComplete::GetLabelPos(const std::string& labelId) {
    for (const WidgetPtr& child : Widgets) {
        auto* label = dynamic_cast<TLabel*>(child.get());
        if (!label || label->id != labelId) continue;
        PushDrawState();
        if (label->Font) SetFont(label->Font);
        const float x = (label->_x - _x) + static_cast<float>(TextWidth(label->text) - TextWidth("X"));
        const float y = (label->_y - _y) + static_cast<float>(TextHeight("30000") / 2);
        PopDrawState();
        return MakeVector(x, y);
    }
    return nullptr;
}

void TLevelComplete::Ding() { PlayGameSound(SOUND_BONUSEAT); }

void TLevelComplete::Burst(const std::string& labelId) {
    if (const VectorPtr pos = GetLabelPos(labelId); pos && EffectsLayer) EffectsLayer->AddPointsEffect(pos);
}

std::shared_ptr<TLevelComplete> OpenLevelComplete(const LevelStatPtr& stat, int finalLevel) {
    auto dialog = std::make_shared<TLevelComplete>();
    LoadWindow(dialog);
    TLevelStat none;
    dialog->Count.Start(stat ? *stat : none, finalLevel);
    dialog->UpdateLabels();
    return dialog;
}
