#pragma once
#include <memory>
#include <string>

#include "media/TImage.h"

// Plays an image strip: one frame forward whenever it is drawn and its frame
// time has passed on the game clock. Never more than one frame per draw, so a
// slow frame rate slows the animation instead of skipping frames, and an
// animation that is not drawn does not move.
class TAnimImage {
public:
    int Frame = 0;
    int Frames = 0;
    int UpdTime = 0;     // game clock (truncated) at the last frame change
    int AnimSpeed = 0;   // ms per frame
    int FrameWidth = 0, FrameHeight = 0;
    ImagePtr Image;      // shared with the resource entry
    int OneShoot = 0;    // 1 = play once and stop on the last frame
    int Paused = 0;      // 1 = the frame does not advance

    TAnimImage();
    // A player for a strip already loaded; `speed` is the frame time in ms.
    TAnimImage(ImagePtr image, int speed);
    virtual ~TAnimImage() = default;

    // A player for the loaded "animimage" resource `id`; speed −1 takes the
    // resource's own frame time. Null when the id names no loaded strip.
    static std::shared_ptr<TAnimImage> Load2(const std::string& id, int speed);

    // 1 on or past the last frame.
    int CheckComplete() const;
    // Advances at most one frame, then draws the current frame at (x, y).
    void Draw(int x, int y);
    // The frame-advance half of Draw, without drawing.
    void Advance();
};

using AnimImagePtr = std::shared_ptr<TAnimImage>;
