#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/TButtonWidget.h"
#include "gui/TCheckbox.h"
#include "gui/TDialog.h"
#include "gui/TScrollBarH.h"

// 1 = full screen (on the desktop's own resolution, the picture letterboxed),
// 0 = a window. Read from "options.dat" before the display opens.
extern int FullScreen;
// The options when the dialog opened, which "cancel" puts back.
extern float SavedSoundVolume;
extern int SavedFullScreen;
// Where the options are kept: in the folder UseSaveFolder chose, beside the
// game unless the game's folder cannot be written, or a test or tool says
// otherwise.
extern std::string OptionsFilePath;

// What "options.dat" holds, read leniently: whatever part cannot be read
// keeps its default, so a damaged file never stops the game from starting.
struct OptionsValues {
    float volume = 0.5f;
    int fullScreen = 1;
    bool damaged = false;  // something had to be replaced by its default
};
OptionsValues ReadOptionsBytes(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> OptionsBytes(float volume, int fullScreen);

// The options dialog ("window_options"): the sound volume, applied at once to
// the menus' song, and full screen or window, applied on "ok". "ok" (Enter)
// keeps the choice in "options.dat"; "cancel" (Escape) puts everything back.
// The class functions read and write the file and open the display.
class TOptions : public TDialog {
    TOTEM_CLASS(TOptions)

    static constexpr float DefSoundVol = 0.5f;
    static constexpr int DefFullScreen = 1;
    static constexpr int Button_OK_ID = 1;
    static constexpr int Button_CANCEL_ID = 2;
    static constexpr int CB_FullScreen_ID = 3;
    // The timing calibration, opened over the options.
    static constexpr int Button_TIMING_ID = 4;
    static constexpr int Scroll_SOUND_ID = 6;
    // Slider positions below this are silence.
    static constexpr float MIN_AUDIBLE = 0.03f;

    ButtonPtr BUTTON_OK, BUTTON_CANCEL, BUTTON_TIMING;
    CheckboxPtr CB_FullScreen;
    ScrollBarPtr Scroll_Sound;

    TOptions();

    virtual void OK();
    virtual void UpdatePlayingChannels();
    virtual void CANCEL();

    static void LoadOptions();
    static bool SaveOptions();
    static bool CreateDefaultConfig();
    // Each (re)opens the display and returns whether it could.
    static bool SetFullScreen();
    static bool SetWindowed();

    void AddedToManager() override;
    void RemovedFromManager() override;
    void OnShow() override;
    void Draw() override;
    void Update(float dt) override;
    void Resize(int x, int y, int width, int height) override;
    void DePress(int id) override;
    void CheckBoxChecked(int id, int state) override;
    void ScrollBarChanged(int id, float value) override;

private:
    void Close();
};

std::shared_ptr<TOptions> OpenOptions();
