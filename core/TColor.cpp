#include "core/TColor.h"

#include "media/Graphics.h"

namespace {
// The top channel value is 254, not 255: the game's art was tuned with it.
int Clamp254(int v) {
    if (v > 254) v = 254;
    if (v < 0) v = 0;
    return v;
}
}  // namespace

void TColor::Set() {
    r = Clamp254(r);
    g = Clamp254(g);
    b = Clamp254(b);
    SetColor(r, g, b);
    if (UseAlpha != 0) SetAlpha(a);
}

ColorPtr TColor::Clone() const {
    auto c = std::make_shared<TColor>();
    c->r = r; c->g = g; c->b = b; c->a = a;
    c->r0 = r0; c->g0 = g0; c->b0 = b0; c->a0 = a0;
    c->r1 = r1; c->b1 = b1; c->g1 = g1; c->a1 = a1;
    c->UseAlpha = UseAlpha;
    return c;
}

void TColor::StartColor(int nr, int ng, int nb, float na) {
    r0 = nr; g0 = ng; b0 = nb; a0 = na;
}

void TColor::EndColor(int nr, int ng, int nb, float na) {
    r1 = nr; g1 = ng; b1 = nb; a1 = na;
}

void TColor::SetCalcColor(int t, int total) {
    if (total == 0) return;
    // Multiply first, then divide; C++ integer division truncates toward zero.
    // 64-bit products so long lifetimes cannot overflow.
    auto lerp = [&](int from, int to) {
        return static_cast<int>(from + (static_cast<long long>(to - from) * t) / total);
    };
    r = lerp(r0, r1);
    g = lerp(g0, g1);
    b = lerp(b0, b1);
    a = a0 + (a1 - a0) * static_cast<float>(t) / static_cast<float>(total);
    Set();
}

void TColor::SetNewColor(int nr, int ng, int nb) {
    r = nr; g = ng; b = nb;
}

ColorPtr TColor::Create(int r, int g, int b) {
    auto c = std::make_shared<TColor>();
    c->r = r; c->g = g; c->b = b;
    return c;
}

ColorPtr MakeColor(int r, int g, int b) {
    auto c = TColor::Create(r, g, b);
    c->StartColor(r, g, b, 0);
    return c;
}

ColorPtr MakeColorAlpha(int r, int g, int b, float a) {
    auto c = TColor::Create(r, g, b);
    c->StartColor(r, g, b, a);
    c->a = a;
    c->UseAlpha = 1;
    return c;
}

void ApplyColor(const ColorPtr& color) {
    if (color) color->Set();
}

const ColorPtr DefaultColor = MakeColor(255, 255, 255);
const ColorPtr ShadowColor = MakeColor(60, 60, 60);
