#include "display/WindowShot.h"

#include <unordered_set>

#include <fstream>

bool WindowShot::SavePpm(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << width << " " << height << "\n255\n";
    for (uint32_t p : rgb) {
        const char bytes[3] = {char((p >> 16) & 0xFF), char((p >> 8) & 0xFF), char(p & 0xFF)};
        out.write(bytes, 3);
    }
    return bool(out);
}

size_t WindowShot::DistinctColours() const { return std::unordered_set<uint32_t>(rgb.begin(), rgb.end()).size(); }
