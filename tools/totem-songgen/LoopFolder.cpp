#include "tools/totem-songgen/LoopFolder.h"

#include <algorithm>

std::vector<float> LoopFolder::Fold(const std::vector<float>& band, const std::vector<float>& lead, size_t loopFrames) {
    std::vector<float> mix(loopFrames * 2, 0.0f);
    if (loopFrames == 0) return mix;
    const size_t n = std::min(band.size(), lead.size());
    for (size_t i = 0; i < n; ++i) mix[i % (loopFrames * 2)] += band[i] + lead[i];
    return mix;
}
