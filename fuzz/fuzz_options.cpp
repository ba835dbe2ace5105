// libFuzzer entry point for "options.dat": any bytes must give options the
// game can apply (a volume from silence to full, full screen or a window),
// marked damaged unless the file is exactly what the game writes, and the
// options written again must read back unchanged and undamaged.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "progress/TOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    const OptionsValues v = ReadOptionsBytes(bytes);
    if (!std::isfinite(v.volume) || v.volume < 0 || v.volume > 1) std::abort();
    if (v.fullScreen != 0 && v.fullScreen != 1) std::abort();
    if (!v.damaged && size != 5) std::abort();

    const std::vector<uint8_t> written = OptionsBytes(v.volume, v.fullScreen);
    const OptionsValues again = ReadOptionsBytes(written);
    if (again.damaged || again.volume != v.volume || again.fullScreen != v.fullScreen) std::abort();
    if (!v.damaged && written != bytes && v.volume != 0) std::abort();
    return 0;
}
