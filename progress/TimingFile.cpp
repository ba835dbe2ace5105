#include "progress/TimingFile.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "game/GameGlobals.h"
#include "media/Files.h"
#include "media/System.h"
#include "media/TStream.h"
#include "progress/SaveFolder.h"

std::string TimingFilePath = "timing.ini";

namespace {

// Larger than any file the game writes by far; anything bigger is not ours.
constexpr size_t kMaxFileBytes = 16 * 1024;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// The value of one setting into `out`; false when it is not a whole number.
bool ReadOffset(std::string_view text, int& out, bool& damaged) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return false;
    const long long held = std::clamp<long long>(v, -MAX_OFFSET_MS, MAX_OFFSET_MS);
    damaged = damaged || held != v;
    out = static_cast<int>(held);
    return true;
}

}  // namespace

TimingValues ReadTimingText(const std::vector<uint8_t>& bytes) {
    TimingValues v;
    if (bytes.size() > kMaxFileBytes) {
        v.damaged = true;
        return v;
    }
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string_view::npos) end = all.size();
        const std::string_view line = Trim(all.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == '#') continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            v.damaged = true;
            continue;
        }
        const std::string_view name = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
        // A later version's settings are passed over; what is not a setting's
        // name at all is not a file of ours.
        if (name.empty() || !std::all_of(name.begin(), name.end(), [](char ch) {
                return (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_';
            })) {
            v.damaged = true;
            continue;
        }
        int* target = name == "audio_offset_ms" ? &v.audioMs : name == "video_offset_ms" ? &v.videoMs : nullptr;
        if (target && !ReadOffset(value, *target, v.damaged)) {
            *target = 0;
            v.damaged = true;
        }
    }
    return v;
}

std::string TimingText(int audioMs, int videoMs) {
    const auto held = [](int ms) { return std::to_string(std::clamp(ms, -MAX_OFFSET_MS, MAX_OFFSET_MS)); };
    return "# Totem Riff timing: how many milliseconds late this machine's sound and picture\n"
           "# reach the player. Set by the calibration in the options.\n"
           "audio_offset_ms = " +
           held(audioMs) + "\nvideo_offset_ms = " + held(videoMs) + "\n";
}

void LoadTiming() {
    AudioOffsetMs = VideoOffsetMs = 0;
    if (PathKind(TimingFilePath) != 1) return;
    std::vector<uint8_t> bytes;
    if (const StreamPtr in = OpenRead(TimingFilePath)) bytes = in->ReadAll();
    const TimingValues v = ReadTimingText(bytes);
    if (v.damaged) PrintLine(TimingFilePath + ": damaged, the settings that cannot be read are back to 0");
    AudioOffsetMs = v.audioMs;
    VideoOffsetMs = v.videoMs;
}

bool SaveTiming() {
    const std::string text = TimingText(AudioOffsetMs, VideoOffsetMs);
    std::string error;
    if (SaveFileWhole(TimingFilePath, std::vector<uint8_t>(text.begin(), text.end()), error)) return true;
    PrintLine(TimingFilePath + ": cannot be saved: " + error);
    return false;
}
