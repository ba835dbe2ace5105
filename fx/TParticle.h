#pragma once
#include <memory>
#include <string>

#include "core/TColor.h"
#include "fx/TEffect.h"
#include "media/TImage.h"

class TEmitter;

// Drawn behind glowing particles, three times enlarged and fading. Null by
// default: the glow pass then draws nothing but still fades.
extern ImagePtr GlowImage;

// One particle of an emitter. Particles live in their emitter's pool and are
// reused slot by slot, so a slot's trail emitter (and its own pool) survives
// the particle and serves the next one.
class TParticle {
public:
    float x = 0, y = 0;
    float _x = 0, _y = 0;
    float SpeedX = 0, SpeedY = 0;
    float ScaleX = 0, ScaleY = 0;
    float Scale = 0;
    float StartScale = 0, EndScale = 0;
    float GravitationX = 0, GravitationY = 0;
    int Lifetime = 0;
    int Blend = 3;
    int TimeStart = 0;
    ImagePtr Image;       // plain picture, or the strip of an animated particle
    bool Animated = false;  // Image is an animation strip with its own frame counter
    float Dir = 0, Speed = 0;
    TColor Color;
    int AnimDir = 0;
    int Shadow = 0;
    int ShadowOffcet = 0;
    int Frame = 0;
    int updTime = 0;
    int AnimSpeed = 0;
    float angle = 0, angleSpeed = 0;
    int Salute = 0;
    std::string SaluteEmitter;
    int Trajectory = 0;
    int TrajectoryAngle = 0;
    TEmitter* Child = nullptr;  // the trail, or null; lives in childStore
    int Hidden = 0;
    int Glowing = 0;
    float GlowingAlpha = 0.2f;
    int ToDraw = 0;

    TParticle();
    ~TParticle();
    TParticle(TParticle&&) noexcept;
    TParticle& operator=(TParticle&&) noexcept;

    // Back to the state of a new particle, spawned now; keeps the trail storage.
    void Reset();
    // Starts (or restarts, reusing the storage) this particle's trail.
    TEmitter* StartChild(float cx, float cy, const EffectPtr& effect);
    void DropChild();

    void Update(float dt);
    void Draw();

private:
    std::unique_ptr<TEmitter> childStore;
};
