#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/TColor.h"
#include "core/TObject.h"
#include "media/TImage.h"
#include "media/TStream.h"

class TEffect;
using EffectPtr = std::shared_ptr<TEffect>;

// A range of two floats: [0] minimum, [1] maximum. Each particle draws its own
// value uniformly between them.
using FloatRange = std::array<float, 2>;

// What an effect file's picture id names. An animation strip is kept by id so
// every particle runs its own frame counter; `strip` holds its frames.
struct EffectImageRef {
    ImagePtr image;  // a plain picture
    ImagePtr strip;  // an animation strip (frames)
};

// Looks up a picture id from an effect file. The resource manager installs the
// real one; without a resolver every id is unknown ("Not found <id>").
using EffectImageResolver = std::function<EffectImageRef(const std::string& id)>;
void SetEffectImageResolver(EffectImageResolver resolver);
EffectImageRef ResolveEffectImage(const std::string& id);

// Looks up an effect by id, for the trails particles start.
using EffectResolver = std::function<EffectPtr(const std::string& id)>;
void SetEffectResolver(EffectResolver resolver);
EffectPtr ResolveEffect(const std::string& id);

// The immutable recipe shared by every emitter started from it. Only Color may
// be replaced by callers (to tint every particle spawned afterwards).
class TEffect : public TObject {
    TOTEM_CLASS(TEffect)

    float GenSpeed = 10;
    float x = 0, y = 0;
    int Blend = 3;
    int TimeDelay = 0;
    int TimeStart = 0;
    int TimeOut = 0;
    std::array<int, 2> Lifetime{0, 0};
    FloatRange PosX{0, 0}, PosY{0, 0};
    FloatRange SpeedX{0, 0}, SpeedY{0, 0};
    FloatRange ScaleX{0, 0}, ScaleY{0, 0};
    std::array<float, 4> Scale{0, 0, 0, 0};  // start, end, start2, end2
    FloatRange alpha{0, 0};
    FloatRange R{0, 0}, G{0, 0}, B{0, 0};
    float GravitationX = 0, GravitationY = 0;
    ImagePtr Image;          // a plain picture, or
    std::string ImageId;     // the id of an animation strip (non-empty), with
    ImagePtr AnimStrip;      // its frames as resolved when the effect loaded
    FloatRange Dir{0, 0};
    FloatRange Speed{0, 0};
    ColorPtr Color;
    int ShadowEnabled = 0;
    FloatRange Shadow{0, 0};
    FloatRange AnimSpeed{0, 0};
    FloatRange Frame{0, 0};
    int AnimDir = 0;
    FloatRange Rotation{0, 0};
    std::string ChildName;
    int Trajectory = 0;
    int Salute = 0;
    std::string SaluteEmitter;
    bool HasHeritage = false;           // false = no Heritage element
    std::vector<std::string> Heritage;
    int Glowing = 0;
    int ZigZag = 0;
    float ZigZag_Radius_dt = 0;
    float ZigZag_Radius_min = 0;
    float ZigZag_speed = 0;

    // Heritage as flags, worked out at load: which colour channels a trail's
    // particles take from the parent effect.
    bool InheritRed = false, InheritGreen = false, InheritBlue = false;
    void UpdateHeritageFlags();

    TEffect();
    static EffectPtr New();
    // Never fails: a null stream or missing elements give the loader defaults.
    static EffectPtr Load(StreamPtr stream);
};
