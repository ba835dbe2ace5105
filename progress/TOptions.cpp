#include "progress/TOptions.h"

#include <cmath>
#include <cstring>

#include "content/ResourceCatalogue.h"
#include "core/TVisuals.h"
#include "game/GameGlobals.h"
#include "gui/TDialogHelper.h"
#include "gui/TWidgetmanager.h"
#include "media/Files.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/System.h"
#include "media/TStream.h"
#include "progress/SaveFolder.h"
#include "progress/TCalibration.h"

int FullScreen = TOptions::DefFullScreen;
float SavedSoundVolume = TOptions::DefSoundVol;
int SavedFullScreen = TOptions::DefFullScreen;
std::string OptionsFilePath = "options.dat";

namespace {
constexpr int SCREEN_W = 800, SCREEN_H = 600;
constexpr size_t FILE_SIZE = 5;

float Audible(float v) { return v >= TOptions::MIN_AUDIBLE ? v : 0.0f; }

bool OpenGameDisplay(int depth, int hz) {
    if (!OpenDisplay(SCREEN_W, SCREEN_H, depth, hz)) return false;
    SetVirtualResolution(SCREEN_W, SCREEN_H);
    SetBlend(ALPHABLEND);
    return true;
}
}  // namespace

OptionsValues ReadOptionsBytes(const std::vector<uint8_t>& bytes) {
    OptionsValues v;
    v.damaged = bytes.size() != FILE_SIZE;
    if (bytes.size() >= 4) {
        uint32_t bits = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                        uint32_t(bytes[3]) << 24;
        float volume;
        std::memcpy(&volume, &bits, sizeof volume);
        if (std::isfinite(volume) && volume >= 0 && volume <= 1) v.volume = Audible(volume);
        else v.damaged = true;
    }
    if (bytes.size() >= 5) {
        if (bytes[4] <= 1) v.fullScreen = bytes[4];
        else v.damaged = true;
    }
    return v;
}

std::vector<uint8_t> OptionsBytes(float volume, int fullScreen) {
    uint32_t bits;
    std::memcpy(&bits, &volume, sizeof bits);
    return {uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24),
            uint8_t(fullScreen != 0 ? 1 : 0)};
}

TOptions::TOptions() { id = "window_options"; }

void TOptions::LoadOptions() {
    if (PathKind(OptionsFilePath) != 1) CreateDefaultConfig();
    std::vector<uint8_t> bytes;
    if (const StreamPtr in = OpenRead(OptionsFilePath)) bytes = in->ReadAll();
    const OptionsValues v = ReadOptionsBytes(bytes);
    if (v.damaged)
        PrintLine(OptionsFilePath + ": damaged, the options that cannot be read are back to their defaults");
    SoundVolume = v.volume;
    FullScreen = v.fullScreen;
}

bool TOptions::SaveOptions() {
    std::string error;
    if (SaveFileWhole(OptionsFilePath, OptionsBytes(SoundVolume, FullScreen), error)) return true;
    PrintLine(OptionsFilePath + ": cannot be saved: " + error);
    return false;
}

bool TOptions::CreateDefaultConfig() {
    std::string error;
    if (SaveFileWhole(OptionsFilePath, OptionsBytes(DefSoundVol, DefFullScreen), error)) return true;
    PrintLine(OptionsFilePath + ": cannot be created: " + error);
    return false;
}

bool TOptions::SetFullScreen() { return OpenGameDisplay(32, 60); }

bool TOptions::SetWindowed() { return OpenGameDisplay(0, 85); }

void TOptions::AddedToManager() {
    LoadStatics(*this, "");
    BUTTON_OK = LoadButton(*this, "ok", Button_OK_ID, 1);
    BUTTON_CANCEL = LoadButton(*this, "cancel", Button_CANCEL_ID, 1);
    BUTTON_TIMING = LoadButton(*this, "timing", Button_TIMING_ID, 1);
    Scroll_Sound = LoadScrollBar(*this, "sound", Scroll_SOUND_ID, 1);
    if (Scroll_Sound) Scroll_Sound->Value = SoundVolume;
    CB_FullScreen = LoadCheckBox(*this, "full_screen", CB_FullScreen_ID, FullScreen, 1);
    // The label beside the box takes the click too.
    if (CB_FullScreen) CB_FullScreen->_width = 200;
    TDialog::AddedToManager();
    ClearKeys();
    SavedSoundVolume = SoundVolume;
    SavedFullScreen = FullScreen;
    TVisuals::ClearVisuals();
}

void TOptions::RemovedFromManager() {
    TDialog::RemovedFromManager();
    TVisuals::ClearVisuals();
    ClearKeys();
}

void TOptions::Resize(int x, int y, int width, int height) { TDialog::Resize(x, y, width, height); }

void TOptions::OnShow() { PlayGameSound(SOUND_MENU_DIALOGOPEN); }

void TOptions::Update(float dt) {
    if (KeyHitCount(KEY_ENTER) != 0) OK();
    else if (KeyHitCount(KEY_ESCAPE) != 0) CANCEL();
    TVisuals::UpdateVisuals(dt);
}

void TOptions::Draw() {
    TDialog::Draw();
    TVisuals::DrawVisuals();
}

void TOptions::ScrollBarChanged(int scrollId, float value) {
    if (scrollId != Scroll_SOUND_ID) return;
    SoundVolume = Audible(value);
    UpdatePlayingChannels();
}

void TOptions::CheckBoxChecked(int checkId, int state) {
    if (checkId == CB_FullScreen_ID) FullScreen = state;
}

void TOptions::UpdatePlayingChannels() {
    if (MenuMusic) MenuMusic->SetVolume(SoundVolume);
}

void TOptions::DePress(int buttonId) {
    if (buttonId == Button_OK_ID) OK();
    else if (buttonId == Button_CANCEL_ID) CANCEL();
    else if (buttonId == Button_TIMING_ID) OpenCalibration();
}

void TOptions::OK() {
    UpdatePlayingChannels();
    if (FullScreen != SavedFullScreen) {
        // Should the new mode fail, the old one is the one that worked.
        const bool opened = FullScreen == 1 ? SetFullScreen() : SetWindowed();
        if (!opened) {
            FullScreen = SavedFullScreen;
            if (FullScreen == 1) SetFullScreen();
            else SetWindowed();
        }
    }
    SaveOptions();
    Close();
}

void TOptions::CANCEL() {
    SoundVolume = SavedSoundVolume;
    UpdatePlayingChannels();
    FullScreen = SavedFullScreen;
    Close();
}

void TOptions::Close() {
    if (const auto self = weak_from_this().lock(); self && WidgetManager) WidgetManager->RemoveWidget(self);
}

std::shared_ptr<TOptions> OpenOptions() {
    auto options = std::make_shared<TOptions>();
    LoadWindow(options);
    return options;
}
