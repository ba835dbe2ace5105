#pragma once
#include <memory>

#include "core/TObject.h"

class TColor;
using ColorPtr = std::shared_ptr<TColor>;

// A drawing colour that can also interpolate from a start to an end colour over
// a span of time (particles fade with it). Channels are 0–255, alpha 0..1.
// Applying a colour clamps the channels to 0..254 and writes them back.
class TColor : public TObject {
    TOTEM_CLASS(TColor)

    int r = 0, g = 0, b = 0;
    float a = 0;
    int r0 = 0, g0 = 0, b0 = 0;
    float a0 = 0;
    int r1 = 0;
    int b1 = 0;
    int g1 = 0;
    float a1 = 0;
    // When set, applying the colour also sets the drawing alpha.
    int UseAlpha = 0;

    // Clamps the channels and makes this the drawing colour (and alpha when
    // UseAlpha is set).
    void Set();
    ColorPtr Clone() const;
    void StartColor(int r, int g, int b, float a);
    void EndColor(int r, int g, int b, float a);
    // Interpolates t/total of the way from the start to the end colour and
    // applies it; t is not clamped, total 0 does nothing.
    void SetCalcColor(int t, int total);
    void SetNewColor(int r, int g, int b);

    static ColorPtr Create(int r, int g, int b);
};

// Current and start colour (r, g, b), no alpha.
ColorPtr MakeColor(int r, int g, int b);
// Current and start colour (r, g, b) with alpha a; applying sets the alpha too.
ColorPtr MakeColorAlpha(int r, int g, int b, float a);
// Applies the colour; null is ignored.
void ApplyColor(const ColorPtr& color);

// Plain white, to return to untinted drawing.
extern const ColorPtr DefaultColor;
// The colour particle shadows are drawn in.
extern const ColorPtr ShadowColor;
