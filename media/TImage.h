#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "media/TPicture.h"

// A drawable image of one or more equal-sized frames. The pictures stay in main
// memory; the renderer uploads their pixel stores to textures lazily (frames
// cut from one picture share one texture), so images can be made before the
// display opens and survive the display being reopened.
class TImage {
public:
    enum Flags { MASKED = 1, FILTERED = 2, DEFAULT_FLAGS = 3 };

    int width = 0;   // of one frame, pixels
    int height = 0;
    int flags = DEFAULT_FLAGS;
    int mask_r = 0, mask_g = 0, mask_b = 0;
    float handle_x = 0, handle_y = 0;

    int FrameCount() const { return static_cast<int>(frames.size()); }

    // One picture per frame, already masked.
    std::vector<PicturePtr> frames;
    // The frames came from a picture without alpha and carry the mask as
    // their alpha; changing the mask colour re-applies it.
    bool maskedFromOpaque = false;
};

using ImagePtr = std::shared_ptr<TImage>;
