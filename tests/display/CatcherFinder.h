#pragma once
#include <string>
#include <vector>

#include "display/WindowShot.h"
#include "media/TPicture.h"

// Finds the catcher in a frame grabbed from the game's window by its own
// pictures (plain, silver and gold, read from the built game folder): the x
// along the catch row where one of them matches best. The pictures' opaque
// pixels are compared by their pattern of light and dark (a normalised
// correlation), so a line light glowing or flashing red over the catcher does
// not move the match, and the part a ×2 or ×4 badge may cover is left out.
class CatcherFinder {
public:
    // False when the pictures are not in `gameDir`.
    bool Load(const std::string& gameDir);
    // The x of the catcher's centre in `shot`.
    int FindX(const WindowShot& shot) const;

private:
    struct Look {
        int width = 0, height = 0;
        std::vector<int> xs, ys;
        std::vector<float> brightness;  // about its mean, unit length
    };
    std::vector<Look> looks_;
};
