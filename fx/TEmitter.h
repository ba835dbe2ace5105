#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "core/TObject.h"
#include "fx/TEffect.h"
#include "fx/TParticle.h"

class TEmitter;
using EmitterPtr = std::shared_ptr<TEmitter>;

// One running instance of an effect at a screen position.
class TEmitter : public TObject {
    TOTEM_CLASS(TEmitter)

    static constexpr int LINEAR = 0;
    static constexpr int SINUSOID = 1;

    EffectPtr Config;
    float x = 0, oldX = 0, y = 0, oldY = 0;
    float _x = 0, _y = 0;
    int TimeStart = 0;
    int TimeLeft = 0;
    int GenerationStop = 0;
    int Death = 0;
    int Pause = 0;
    int Trajectory = 0;
    int OldTime = 0;
    EffectPtr Parent;
    int DrawUnder = 0, DrawOver = 0;
    float zigzag_radius = 0;
    float t = 0;
    float ScaleMult = 1;
    float AlphaMult = 1;

    TEmitter();
    static std::shared_ptr<TEmitter> Create(float x, float y, EffectPtr effect, int drawUnder = 0);
    // Back to a freshly created emitter, keeping the particle pool's storage.
    void Restart(float x, float y, EffectPtr effect, int drawUnder = 0);

    void Update(float dt);
    void Draw();

    // Live particles, oldest first.
    size_t ParticleCount() const { return live_; }
    TParticle& ParticleAt(size_t i) { return *pool_[i]; }
    const TParticle& ParticleAt(size_t i) const { return *pool_[i]; }
    // Slots ever made (live + idle); stays put once the effect is steady.
    size_t PoolSize() const { return pool_.size(); }

private:
    void Spawn();
    // [0, live_) live in order; the rest idle. Held by pointer so that closing
    // the gap an expired particle leaves moves pointers, not whole particles.
    std::vector<std::unique_ptr<TParticle>> pool_;
    size_t live_ = 0;
};
