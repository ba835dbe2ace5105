#include "game/TBat.h"

#include <algorithm>
#include <string>

#include "core/SharedVisuals.h"
#include "content/ResourceCatalogue.h"
#include "game/HighwayGeometry.h"
#include "game/ItemOwner.h"
#include "game/PlayTrace.h"
#include "media/Graphics.h"
#include "media/Input.h"

namespace {

// Mouse movement is amplified so the whole highway is a short sweep away.
constexpr float kMouseGain = 1.2f;
// Upper bounds of the target x for lines 0–3; beyond the last is line 4.
constexpr float kLineBounds[4] = {291, 372, 442, 515};

// The line keys and where each puts the target, left to right.
struct LineKey {
    int key;
    float x;
};
constexpr LineKey kLineKeys[5] = {
    {KEY_X, 257}, {KEY_C, 331.5f}, {KEY_V, 407}, {KEY_N, 478.5f}, {KEY_M, 558}};

float PulseValue(const CurveValuePtr& pulse) { return pulse ? pulse->value : 1.0f; }

}  // namespace

BatPtr TBat::Create(ItemOwner* owner) {
    auto bat = std::make_shared<TBat>();
    bat->owner = owner;
    bat->Image = IMAGE_GRYPH_BAT_MAIN;
    bat->LineNum = 1;
    bat->UpdatePosition();
    bat->mx = bat->ToPos->x;
    bat->pos = bat->ToPos;
    for (int i = 0; i < 5; ++i) bat->LineLight[i] = TLineLight::Create(i);
    return bat;
}

void TBat::UpdatePosition() {
    time = HighwayGeometry::kCatchProgress;
    const float y = -LineY(time), z = time + HighwayGeometry::kDepthOffset;
    ToPos = to2d(LineX(LineNum), y, z);
    scale = (to2d(LineX(LineNum) + 1, y, z)->x - ToPos->x) * 0.2f;
}

int TBat::LineForX(float& x) {
    if (x <= kLineBounds[0]) {
        x = std::max(x, kMinX);
        return 0;
    }
    for (int line = 1; line < 4; ++line)
        if (x <= kLineBounds[line]) return line;
    x = std::min(x, kMaxX);
    return 4;
}

float TBat::LineKeyX(int line) { return kLineKeys[std::clamp(line, 0, 4)].x; }

void TBat::FollowMouse() {
    // The highway takes the mouse in relative mode while a level plays, so the
    // window system hands over every movement since the last frame; warping
    // the pointer back to a fixed spot instead loses the player's movement on
    // systems that report the warp after it.
    mx += MouseMoveX() * kMouseGain;
}

void TBat::FollowKeys() {
    for (const LineKey& k : kLineKeys)
        if (KeyDown(k.key)) mx = k.x;
}

void TBat::UpdateLook() {
    Image = IMAGE_GRYPH_BAT_MAIN;
    DrawMult = 0;
    if (!owner) return;
    if (owner->Razogrev >= static_cast<float>(owner->Razogrev3)) {
        Image = IMAGE_GRYPH_BAT_SILVER;
        DrawMult = 2;
        owner->SendEvent("x2");
    }
    if (owner->Razogrev >= static_cast<float>(owner->Razogrev4)) {
        Image = IMAGE_GRYPH_BAT_GOLD;
        DrawMult = 4;
        owner->SendEvent("x4");
    }
}

void TBat::UpdatePulses(float dt) {
    if (SlowScalePulse) SlowScalePulse->Update(dt);
    if (!FastScalePulse) return;
    FastScalePulse->Update(dt);
    // A catch swells quickly towards its peak; once there, shrink back slowly.
    if (FastScalePulse->dist > 1 && FastScalePulse->ValueAchieved()) {
        FastScalePulse->dist = 1;
        FastScalePulse->curve = 10;
    }
}

void TBat::Update(float dt) {
    FollowMouse();
    // The line follows the pointer; a held key moves the target only, so the
    // line it selects is taken on the next frame.
    const int line = LineForX(mx);
    FollowKeys();
    if (line != LineNum) {
        LineNum = line;
        TracePlay("bat line " + std::to_string(line));
        LineLight[line]->Impulse(0.6f);
    }
    pos->x += (mx - pos->x) / 3;
    UpdateLook();
    UpdatePulses(dt);
    for (const LineLightPtr& light : LineLight) light->Update(dt);
}

void TBat::Draw() {
    const float swell = PulseValue(FastScalePulse);
    SetScale(swell, swell);
    if (Image) DrawImage(Image, pos->x, pos->y, 0);
    SetScale(1, 1);
    for (const LineLightPtr& light : LineLight) light->Draw();
    if (DrawMult <= 0) return;
    const ImagePtr badge = DrawMult == 4 ? IMAGE_GRYPH_BAT_X4 : IMAGE_GRYPH_BAT_X2;
    const float pop = PulseValue(SlowScalePulse);
    SetScale(pop, pop);
    if (badge) DrawImage(badge, pos->x, pos->y);
    SetScale(1, 1);
}
