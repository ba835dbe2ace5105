#pragma once
#include <cstdint>
#include <memory>

#include "core/TObject.h"
#include "core/TVector.h"
#include "media/TImage.h"

class TLineLight;
using LineLightPtr = std::shared_ptr<TLineLight>;

// The glow under one line at the catcher's row. It lights up when the catcher
// arrives on its line or holds a long note there and eases back to a faint
// resting glow; a miss on the line turns it red, held at full strength for a
// moment so the player sees where the note was lost, then fading.
class TLineLight : public TObject {
    TOTEM_CLASS(TLineLight)

    ImagePtr Image;         // the normal glow
    ImagePtr ImageBad;      // the red miss flash
    VectorPtr pos;          // where both pictures are drawn
    float alpha = 0.1f;     // current glow
    float alphaDef = 0.1f;  // resting glow
    float BadAlpha = 0;     // current red flash
    int32_t BadStart = 0;   // GameClock when the red flash started

    // How long the red flash stays at full strength, in ms.
    static constexpr int32_t kBadHoldMs = 400;

    virtual void Draw();
    virtual void Update(float dt);
    virtual void Impulse(float a);
    virtual void ImpulseBad();
    // A light with the pictures and position of `line`; for a line outside
    // 0–4 they stay null and the light draws nothing.
    static LineLightPtr Create(int line);
};
