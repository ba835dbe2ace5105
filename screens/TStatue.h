#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "core/TVector.h"
#include "gui/TWidget.h"
#include "media/TImage.h"

class TStatue;
using StatuePtr = std::shared_ptr<TStatue>;

// One of the two stone statues at the sides of the main menu and the story
// map: its eyes look towards the mouse while it comes near and blink now and
// then. It draws in screen pixels and has no area, so it never takes the mouse
// from the buttons around it. Add it to a screen's children and to the widget
// manager; it hides and shows with the screen.
class TStatue : public TWidget {
    TOTEM_CLASS(TStatue)

    // The pupils follow the mouse only while it is this close to the first one.
    static constexpr float MOUSE_TRACK_DISTANCE = 150;
    // How far a pupil may leave its rest position, in pixels.
    static constexpr float PUPIL_TRAVEL = 3;
    // How long the eyes stay closed.
    static constexpr int BLINK_MS = 200;

    ImagePtr EyeImage;
    VectorPtr EyePos = MakeVector(0, 0);
    VectorPtr Zrachok1 = MakeVector(0, 0);
    VectorPtr Zrachok2 = MakeVector(0, 0);
    VectorPtr Zrachok1Diff = MakeVector(0, 0);
    VectorPtr Zrachok2Diff = MakeVector(0, 0);
    int32_t BlinkStart = 0;
    int32_t MouseTrack = 1;

    TStatue();
    // "left" or "right"; any other side gives a statue that draws nothing.
    static StatuePtr Create(const std::string& side);

    void Draw() override;
    void Update(float dt) override;
};
