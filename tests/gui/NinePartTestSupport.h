#pragma once
#include <cstdint>

#include "media/Graphics.h"
#include "media/GraphicsTestSupport.h"

// A 48×48 nine-part frame source whose every pixel says where it came from:
// red tells the part (0–8, row by row), green and blue the position inside
// it, so a sample of a drawn frame shows both which part was drawn and where
// its tiling was anchored.
namespace ninepart {

constexpr int kPart = 16;

inline uint32_t PartPixel(int k, int px, int py) {
    return gfxtest::Argb(255, 20 + k * 25, 8 + px * 15, 8 + py * 15);
}

inline ImagePtr NinePartSource() {
    ImagePtr image = CreateImage(3 * kPart, 3 * kPart, 1, 0);
    PicturePtr picture = LockImage(image, 0);
    for (int y = 0; y < 3 * kPart; ++y)
        for (int x = 0; x < 3 * kPart; ++x)
            picture->WritePixel(x, y, PartPixel((y / kPart) * 3 + x / kPart, x % kPart, y % kPart));
    UnlockImage(image, 0);
    return image;
}

}  // namespace ninepart
