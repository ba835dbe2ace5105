#pragma once
#include <string>

#include "gui/TWidget.h"

// The main menu's help line: one text at a time that fades in, stays, and
// fades out before another may show. Buttons report the mouse over them every
// frame, so a new text simply waits until the old one has gone.
class THelpText : public TWidget {
    TOTEM_CLASS(THelpText)

    static constexpr int HIDDEN = 0, FADING_IN = 1, SHOWN = 2, FADING_OUT = 3;

    float alpha = 0;
    std::string text;
    int state = HIDDEN;

    virtual void SetText(const std::string& s);
    void Update(float dt) override;
    void Draw() override;
};
