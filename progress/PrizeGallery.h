#pragma once
#include <vector>

#include "progress/Prizes.h"

// Where the gallery puts each prize: the top-left corner of its picture
// inside the gallery window. Rows fill left to right from (40, 100); once a
// picture's right edge lies beyond x 490 the next one starts a new row, one
// picture's height lower.
struct GalleryPlace {
    const PrizeClass* prizeClass;
    int x, y;
};

std::vector<GalleryPlace> GalleryLayout();
