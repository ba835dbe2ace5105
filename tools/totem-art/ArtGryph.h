#pragma once

// The screen rectangle a line light picture covers, and its handle: the point
// of the picture the game places at that line's light position.
struct LightBox {
    int x = 0, y = 0, w = 0, h = 0;
    int handleX = 0, handleY = 0;
};

LightBox LineLightBox(int line);
