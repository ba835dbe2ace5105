#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The player's timing settings, "timing.ini": how late this machine's sound
// and picture reach the player, which the calibration measures. A text file
// of its own, so the five bytes of the options keep their layout; one
// "name = value" line per setting, "#" starts a comment:
//
//   audio_offset_ms = 35
//   video_offset_ms = 0
//
// It is read leniently: a setting that cannot be read keeps its default (0),
// a value past ±MAX_OFFSET_MS is held at the limit, and names the game does
// not know are passed over, so a file from a later version still loads.

// Where the settings are kept: beside the options unless a test says otherwise.
extern std::string TimingFilePath;

struct TimingValues {
    int audioMs = 0;
    int videoMs = 0;
    bool damaged = false;  // something had to be replaced or held at a limit
};
TimingValues ReadTimingText(const std::vector<uint8_t>& bytes);
std::string TimingText(int audioMs, int videoMs);

// Into AudioOffsetMs and VideoOffsetMs. No file: both 0, quietly; a damaged
// one is said on the log.
void LoadTiming();
// AudioOffsetMs and VideoOffsetMs to the file, whole (a temporary file renamed
// over it). False, said on the log, when it cannot be written.
bool SaveTiming();
