#pragma once
#include <cstdint>

#include "gui/TWidget.h"

// The score counter in the top right corner: counts up towards the score and
// gives off a small burst once it has caught up with a change of more than 10.
class TPointsWindow : public TWidget {
    TOTEM_CLASS(TPointsWindow)

    float Points = 0;            // the value shown
    int32_t CounterChanged = 0;  // a change of more than 10 is being counted

    void Update(float dt) override;
    void Draw() override;
};
