// libFuzzer entry point for "timing.ini": any bytes must give two delays
// within the limits, and the settings written again must read back
// unchanged and undamaged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/GameGlobals.h"
#include "progress/TimingFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TimingValues v = ReadTimingText(std::vector<uint8_t>(data, data + size));
    for (const int ms : {v.audioMs, v.videoMs})
        if (ms < -MAX_OFFSET_MS || ms > MAX_OFFSET_MS) std::abort();
    const std::string written = TimingText(v.audioMs, v.videoMs);
    const TimingValues again = ReadTimingText(std::vector<uint8_t>(written.begin(), written.end()));
    if (again.damaged || again.audioMs != v.audioMs || again.videoMs != v.videoMs) std::abort();
    return 0;
}
