#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "core/TVector.h"
#include "fx/TEffect.h"
#include "gui/TWidget.h"

// The widget that spawns highway items and hosts their effects: the items put
// their particle emitters into its `Emitters` list (drawn over everything),
// raise its catch glow, and reach the rest of the running level through it —
// the catcher's line, the combo state, the score texts, the gameplay events
// and the impulse effects. Items hold it as a non-owning pointer; it owns them.
class ItemOwner : public TWidget {
public:
    // Catch glow: +1 for every caught item; the owner lets it decay.
    float GryphLightNoteAlpha = 0;
    // The combo meter (one unit per entry of the highway's combo list) and the
    // levels where the multiplier becomes ×2 (Razogrev3) and ×4 (Razogrev4);
    // the catcher's look follows them. The highway adds two more levels of the
    // same family: Razogrev2, where the statues' eyes are fully lit, and
    // GoldRushStart, where the gold rush begins.
    float Razogrev = 0;
    int32_t Razogrev3 = 30;
    int32_t Razogrev4 = 40;

    // Line the catcher stands on (0–4), or −1 when there is no catcher.
    virtual int BatLineNum() = 0;
    // 1 while the combo meter is in a gold rush.
    virtual int GoldRush() = 0;
    // The points multiplier of the combo meter: 1, 2 or 4.
    virtual int GetPointsMult() = 0;
    // The rising "+N" text from `pos` that adds `points` to the score; `small`
    // selects the small preset.
    virtual void FloatPoints(int points, const VectorPtr& pos, int small) = 0;
    // A gameplay event name for the prizes (and, where they listen, the hints).
    virtual void SendEvent(const std::string& name) = 0;
    // An impulse effect running along the highway.
    virtual void CreateImpulse(const EffectPtr& effect) = 0;
};
