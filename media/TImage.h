#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "media/TPicture.h"

// A drawable image of one or more equal-sized frames. The pictures stay in main
// memory; the renderer uploads them to textures lazily, so images can be made
// before the display opens and survive the display being reopened.
class TImage {
public:
    enum Flags { MASKED = 1, FILTERED = 2, DEFAULT_FLAGS = 3 };

    int width = 0;   // of one frame, pixels
    int height = 0;
    int flags = DEFAULT_FLAGS;
    int mask_r = 0, mask_g = 0, mask_b = 0;
    float handle_x = 0, handle_y = 0;

    int FrameCount() const { return static_cast<int>(frames.size()); }

    // One picture per frame, already masked (see ApplyMask).
    std::vector<PicturePtr> frames;
    // Renderer bookkeeping: texture handles and atlas placement per frame.
    struct GpuFrame {
        uint32_t texture = 0;
        float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
        uint64_t version = ~0ull;
        uint64_t generation = 0;
    };
    mutable std::vector<GpuFrame> gpu;
};

using ImagePtr = std::shared_ptr<TImage>;
