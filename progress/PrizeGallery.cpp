#include "progress/PrizeGallery.h"

namespace {
constexpr int kLeft = 40, kTop = 100, kRowEnd = 490;
}  // namespace

std::vector<GalleryPlace> GalleryLayout() {
    std::vector<GalleryPlace> places;
    int x = kLeft, y = kTop;
    for (const PrizeClass& c : PrizeClasses()) {
        places.push_back({&c, x, y});
        const ImagePtr image = c.image ? *c.image : nullptr;
        x += image ? image->width : 0;
        if (x > kRowEnd) {
            x = kLeft;
            y += image ? image->height : 0;
        }
    }
    return places;
}
