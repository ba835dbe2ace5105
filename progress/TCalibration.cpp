#include "progress/TCalibration.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "content/ResourceCatalogue.h"
#include "content/TextTable.h"
#include "core/TGraphicsState.h"
#include "core/TVisuals.h"
#include "game/GameGlobals.h"
#include "gui/TDialogHelper.h"
#include "gui/TWidgetmanager.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "progress/TimingFile.h"

namespace {

constexpr int kTextIdle = 121, kTextListening = 125, kTextTooFew = 126, kTextMeasured = 127;

std::string Text(int id) { return id >= 0 && id < static_cast<int>(TextTable.size()) ? TextTable[id] : ""; }

std::string Filled(std::string text, const std::string& value) {
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
}

}  // namespace

TCalibration::TCalibration() { id = "window_calibration"; }

bool TCalibration::Proposal(const std::vector<int32_t>& beats, const std::vector<int32_t>& clicks, int& proposalMs) {
    std::vector<int32_t> late;
    for (const int32_t click : clicks) {
        int32_t best = 0;
        bool found = false;
        for (const int32_t beat : beats)
            if (!found || std::abs(click - beat) < std::abs(best)) best = click - beat, found = true;
        // Half a beat off is as near the next beat as this one: no telling.
        if (found && std::abs(best) < BEAT_MS / 2) late.push_back(best);
    }
    if (static_cast<int>(late.size()) < MIN_CLICKS) return false;
    std::sort(late.begin(), late.end());
    const size_t mid = late.size() / 2;
    const double median = late.size() % 2 != 0 ? late[mid] : (late[mid - 1] + late[mid]) / 2.0;
    proposalMs = std::clamp(static_cast<int>(std::lround(median)), -MAX_OFFSET_MS, MAX_OFFSET_MS);
    return true;
}

void TCalibration::AddedToManager() {
    LoadStatics(*this, "");
    for (const auto& [name, buttonId] : {std::pair{"ok", Button_OK_ID}, std::pair{"cancel", Button_CANCEL_ID},
                                         std::pair{"start", Button_START_ID},
                                         std::pair{"audio_less", Button_AUDIO_LESS_ID},
                                         std::pair{"audio_more", Button_AUDIO_MORE_ID},
                                         std::pair{"video_less", Button_VIDEO_LESS_ID},
                                         std::pair{"video_more", Button_VIDEO_MORE_ID}})
        if (ButtonPtr b = LoadButton(*this, name, buttonId, 1)) buttons_.push_back(b);
    for (const WidgetPtr& child : Widgets) {
        auto label = std::dynamic_pointer_cast<TLabel>(child);
        if (!label) continue;
        if (label->id == "status") status_ = label;
        else if (label->id == "audio") audio_ = label;
        else if (label->id == "video") video_ = label;
    }
    TDialog::AddedToManager();
    ClearKeys();
    AudioMs = AudioOffsetMs;
    VideoMs = VideoOffsetMs;
    ShowValues();
    SetStatus(kTextIdle);
    TVisuals::ClearVisuals();
}

void TCalibration::RemovedFromManager() {
    // The menus' song rests while the clicks play; never leave it resting.
    if (measuring_ && MenuMusic) MenuMusic->SetPaused(0);
    measuring_ = false;
    TDialog::RemovedFromManager();
    TVisuals::ClearVisuals();
    ClearKeys();
}

void TCalibration::OnShow() { PlayGameSound(SOUND_MENU_DIALOGOPEN); }

void TCalibration::Start() {
    measuring_ = true;
    beats_.clear();
    clicks_.clear();
    nextBeat_ = 0;
    // The first beat one beat from now, so the player hears it coming.
    startMs_ = ClockMs() + BEAT_MS;
    if (MenuMusic) MenuMusic->SetPaused(1);
    SetButtonsEnabled(0);
    SetStatus(kTextListening);
}

void TCalibration::PlayDueBeats(int32_t now) {
    constexpr int kAllBeats = COUNT_IN_BEATS + MEASURED_BEATS;
    while (nextBeat_ < kAllBeats && now >= startMs_ + nextBeat_ * BEAT_MS) {
        PlayGameSound(SOUND_GRYPH_CLICK);
        flash_ = 1;
        // The time it was played, not the time it was due: a late frame
        // starts the click late, and the player follows what they hear.
        if (nextBeat_ >= COUNT_IN_BEATS) beats_.push_back(now);
        ++nextBeat_;
    }
    // Clicks for the last beat may come up to half a beat after it.
    if (nextBeat_ == kAllBeats && now >= startMs_ + (kAllBeats - 1) * BEAT_MS + BEAT_MS / 2) Finish();
}

void TCalibration::Finish() {
    measuring_ = false;
    finishedMs_ = ClockMs();
    if (MenuMusic) MenuMusic->SetPaused(0);
    SetButtonsEnabled(1);
    int proposal = 0;
    if (!Proposal(beats_, clicks_, proposal)) {
        SetStatus(kTextTooFew);
        return;
    }
    AudioMs = proposal;
    ShowValues();
    SetStatus(kTextMeasured, std::to_string(proposal));
}

void TCalibration::Update(float dt) {
    flash_ = std::max(0.0f, flash_ - dt * 17.0f / 250.0f);
    if (measuring_) {
        const int32_t now = ClockMs();
        // Only clicks after the first beat is due count; one before is the
        // player still letting go of "start".
        const int presses = MouseHitCount(1) + KeyHitCount(KEY_SPACE);
        if (now >= startMs_ - BEAT_MS / 2)
            for (int i = 0; i < presses; ++i) clicks_.push_back(now);
        PlayDueBeats(now);
    } else if (KeyHitCount(KEY_ENTER) != 0) {
        DePress(Button_OK_ID);
    } else if (KeyHitCount(KEY_ESCAPE) != 0) {
        DePress(Button_CANCEL_ID);
    }
    TVisuals::UpdateVisuals(dt);
}

void TCalibration::Draw() {
    TDialog::Draw();
    if (IMAGE_RESULT_STAR) {
        PushDrawState();
        const float pulse = 1.4f + 0.8f * flash_;
        SetScale(pulse, pulse);
        SetAlpha(0.35f + 0.65f * flash_);
        // The dialog draws in its own coordinates; the star grows about its
        // middle, which stays at (width / 2, 150).
        const float w = static_cast<float>(IMAGE_RESULT_STAR->width), h = static_cast<float>(IMAGE_RESULT_STAR->height);
        const float hx = static_cast<float>(IMAGE_RESULT_STAR->handle_x), hy = static_cast<float>(IMAGE_RESULT_STAR->handle_y);
        DrawImage(IMAGE_RESULT_STAR, static_cast<float>(_width) / 2 - (w / 2 - hx) * pulse, 150 - (h / 2 - hy) * pulse);
        PopDrawState();
    }
    TVisuals::DrawVisuals();
}

void TCalibration::Nudge(int& value, int by) {
    value = std::clamp(value + by, -MAX_OFFSET_MS, MAX_OFFSET_MS);
    ShowValues();
}

void TCalibration::DePress(int buttonId) {
    if (measuring_) return;
    switch (buttonId) {
        case Button_START_ID:
            // The pointer rests on "start" while the player clicks along; a
            // click meant for the last beat is no new run.
            if (!finishedMs_ || ClockMs() - *finishedMs_ >= BEAT_MS) Start();
            break;
        case Button_AUDIO_LESS_ID: Nudge(AudioMs, -NUDGE_MS); break;
        case Button_AUDIO_MORE_ID: Nudge(AudioMs, NUDGE_MS); break;
        case Button_VIDEO_LESS_ID: Nudge(VideoMs, -NUDGE_MS); break;
        case Button_VIDEO_MORE_ID: Nudge(VideoMs, NUDGE_MS); break;
        case Button_OK_ID:
            AudioOffsetMs = AudioMs;
            VideoOffsetMs = VideoMs;
            SaveTiming();
            Close();
            break;
        case Button_CANCEL_ID: Close(); break;
        default: break;
    }
}

void TCalibration::ShowValues() {
    if (audio_) SetCentredText(*audio_, Filled(audio_->XMLText, std::to_string(AudioMs)));
    if (video_) SetCentredText(*video_, Filled(video_->XMLText, std::to_string(VideoMs)));
}

void TCalibration::SetStatus(int textId, const std::string& value) {
    if (status_) SetCentredText(*status_, Filled(Text(textId), value));
}

void TCalibration::SetCentredText(TLabel& label, const std::string& text) {
    // The layout centred the label on the text it was given; a new text keeps
    // that centre.
    PushDrawState();
    if (label.Font) SetFont(label.Font);
    const float centre = label._x + static_cast<float>(TextWidth(label.text)) / 2;
    label.text = text;
    label._x = centre - static_cast<float>(TextWidth(text)) / 2;
    PopDrawState();
}

void TCalibration::SetButtonsEnabled(int flag) {
    for (const ButtonPtr& b : buttons_) b->SetEnable(flag);
}

void TCalibration::Close() {
    if (const auto self = weak_from_this().lock(); self && WidgetManager) WidgetManager->RemoveWidget(self);
}

std::shared_ptr<TCalibration> OpenCalibration() {
    auto dialog = std::make_shared<TCalibration>();
    LoadWindow(dialog);
    return dialog;
}
