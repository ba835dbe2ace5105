#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The pixels of a window as the X server holds them (0xRRGGBB each).
struct WindowShot {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;

    bool Empty() const { return rgb.empty(); }
    uint32_t At(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height ? rgb[static_cast<size_t>(y) * width + x] : 0;
    }
    // How many different colours the shot holds: a handful for a blank or
    // flat window, hundreds for a drawn scene.
    size_t DistinctColours() const;
    // Writes the shot as a binary PPM (for a person to look at after a failure).
    bool SavePpm(const std::string& path) const;
};
