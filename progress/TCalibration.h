#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/TButtonWidget.h"
#include "gui/TDialog.h"
#include "gui/TLabel.h"

// The timing calibration ("window_calibration"), opened from the options.
// "start" plays a steady click with a star that flashes on each beat: four
// beats to find the pulse, then sixteen to click along with (the mouse
// button or Space). The median of how late the clicks came after the clicks
// heard is proposed as the sound delay; the arrows nudge it, and the picture
// delay, by 5 ms. "ok" keeps both in the timing file and in force, "cancel"
// leaves everything as it was.
class TCalibration : public TDialog {
    TOTEM_CLASS(TCalibration)

    static constexpr int Button_OK_ID = 1;
    static constexpr int Button_CANCEL_ID = 2;
    static constexpr int Button_START_ID = 3;
    static constexpr int Button_AUDIO_LESS_ID = 4;
    static constexpr int Button_AUDIO_MORE_ID = 5;
    static constexpr int Button_VIDEO_LESS_ID = 6;
    static constexpr int Button_VIDEO_MORE_ID = 7;
    static constexpr int BEAT_MS = 600;
    static constexpr int COUNT_IN_BEATS = 4;
    static constexpr int MEASURED_BEATS = 16;
    // Fewer clicks than this near the measured beats say nothing reliable.
    static constexpr int MIN_CLICKS = 6;
    static constexpr int NUDGE_MS = 5;

    // The values being set: shown, nudged, and kept on "ok".
    int AudioMs = 0, VideoMs = 0;

    TCalibration();
    bool Measuring() const { return measuring_; }
    // The median lateness of `clicks` against the nearest of `beats` (ms),
    // counting only clicks within half a beat of one; false when fewer than
    // MIN_CLICKS are.
    static bool Proposal(const std::vector<int32_t>& beats, const std::vector<int32_t>& clicks, int& proposalMs);

    void AddedToManager() override;
    void RemovedFromManager() override;
    void OnShow() override;
    void Update(float dt) override;
    void Draw() override;
    void DePress(int id) override;

private:
    void Start();
    void PlayDueBeats(int32_t now);
    void Finish();
    void Nudge(int& value, int by);
    void ShowValues();
    void SetStatus(int textId, const std::string& value = "");
    void SetButtonsEnabled(int flag);
    static void SetCentredText(TLabel& label, const std::string& text);
    void Close();

    std::vector<ButtonPtr> buttons_;
    LabelPtr status_, audio_, video_;
    bool measuring_ = false;
    int32_t startMs_ = 0;
    std::optional<int32_t> finishedMs_;  // when the last run ended
    int nextBeat_ = 0;
    std::vector<int32_t> beats_;   // when each measured beat's click was played
    std::vector<int32_t> clicks_;  // when the player clicked
    float flash_ = 0;              // the star's brightness, 1 on a beat
};

std::shared_ptr<TCalibration> OpenCalibration();
