#include "fx/TEmitter.h"

#include <cmath>
#include <utility>

#include "core/MathHelpers.h"
#include "core/TGraphicsState.h"
#include "media/Clock.h"
#include "media/Graphics.h"

namespace {
}

TEmitter::TEmitter() : TimeStart(ClockMs()) {}

EmitterPtr TEmitter::Create(float x, float y, EffectPtr effect, int drawUnder) {
    auto e = std::make_shared<TEmitter>();
    e->Restart(x, y, std::move(effect), drawUnder);
    return e;
}

void TEmitter::Restart(float nx, float ny, EffectPtr effect, int drawUnder) {
    // Idle slots keep their storage (trail emitters included) for reuse.
    for (size_t i = 0; i < live_; ++i) pool_[i]->DropChild();
    live_ = 0;
    Config = std::move(effect);
    x = oldX = nx;
    y = oldY = ny;
    _x = _y = 0;
    TimeStart = ClockMs();
    TimeLeft = Config ? Config->TimeOut : 0;
    GenerationStop = Death = Pause = Trajectory = OldTime = 0;
    Parent = nullptr;
    DrawUnder = drawUnder;
    DrawOver = 0;
    zigzag_radius = (Config && Config->ZigZag) ? Config->ZigZag_Radius_min : 0;
    t = 0;
    ScaleMult = AlphaMult = 1;
}

void TEmitter::Update(float dt) {
    const TEffect* cfg = Config.get();
    if (cfg && cfg->ZigZag) {
        x = oldX + std::sin(t * kDegToRad) * zigzag_radius;
        y = oldY + std::cos(t * kDegToRad) * zigzag_radius;
        t += cfg->ZigZag_speed * dt;
        if (t > 360) t = 0;
        zigzag_radius += cfg->ZigZag_Radius_dt * dt;
    }
    if (Pause) OldTime = 0;

    // An emitter without a recipe makes nothing and stops at once.
    if (!cfg) GenerationStop = 1;

    const int now = ClockMs();
    if (cfg && !Pause && !GenerationStop && TimeStart + cfg->TimeDelay < now) {
        if (cfg->TimeOut > 0 && TimeLeft <= 0) GenerationStop = 1;
        // A rate outside (0, 1000] would give no interval of a whole ms: no particles.
        const bool validRate = cfg->GenSpeed > 0 && cfg->GenSpeed <= 1000;
        if (!GenerationStop && validRate) {
            const int interval = static_cast<int>(1000.0f / cfg->GenSpeed);
            if (OldTime == 0) OldTime = now;
            while (OldTime + interval < now) {
                OldTime += interval;
                TimeLeft -= interval;
                if (cfg->TimeOut > 0 && TimeLeft <= 0) {
                    GenerationStop = 1;
                    break;
                }
                Spawn();
            }
        }
    }

    // Age and move, then drop the expired ones keeping the order. Dropped
    // slots move past the live range and wait there for reuse.
    size_t w = 0;
    for (size_t i = 0; i < live_; ++i) {
        TParticle& p = *pool_[i];
        p.Update(dt);
        bool keep = true;
        if (p.TimeStart + p.Lifetime < ClockMs()) {
            if (p.Child) {
                p.Child->GenerationStop = 1;
                p.Hidden = 1;
            } else {
                keep = false;
            }
        }
        if (keep) {
            if (w != i) std::swap(pool_[w], pool_[i]);
            ++w;
        }
    }
    live_ = w;

    if (live_ == 0 && GenerationStop) Death = 1;
}

void TEmitter::Spawn() {
    const TEffect& cfg = *Config;
    if (live_ == pool_.size()) pool_.push_back(std::make_unique<TParticle>());
    TParticle& p = *pool_[live_];
    p.Reset();
    auto rnd = [](const FloatRange& r) { return RandomFloat(r[0], r[1]); };

    p.x = x + rnd(cfg.PosX) + _x;
    p.y = y + rnd(cfg.PosY) + _y;
    p.SpeedX = rnd(cfg.SpeedX);
    p.SpeedY = rnd(cfg.SpeedY);
    p.angleSpeed = rnd(cfg.Rotation);
    p.Speed = rnd(cfg.Speed);
    p.Dir = rnd(cfg.Dir);
    p.ScaleX = rnd(cfg.ScaleX) * ScaleMult;
    p.ScaleY = p.ScaleX;
    p.Trajectory = cfg.Trajectory;
    if (!cfg.ChildName.empty()) {
        TEmitter* child = p.StartChild(p.x, p.y, ResolveEffect(cfg.ChildName));
        child->Parent = Config;
    }
    p.Salute = cfg.Salute;
    if (!cfg.SaluteEmitter.empty()) p.SaluteEmitter = cfg.SaluteEmitter;
    p.Glowing = cfg.Glowing;
    p.StartScale = RandomFloat(cfg.Scale[0], cfg.Scale[2]);
    p.EndScale = RandomFloat(cfg.Scale[1], cfg.Scale[3]);
    p.AnimSpeed = static_cast<int>(rnd(cfg.AnimSpeed));
    if (cfg.AnimDir) p.AnimDir = RandomInt(0, 1);
    p.Lifetime = static_cast<int>(RandomFloat(static_cast<float>(cfg.Lifetime[0]),
                                              static_cast<float>(cfg.Lifetime[1])));
    if (cfg.ShadowEnabled) {
        p.Shadow = 1;
        p.ShadowOffcet = RandomInt(static_cast<int>(cfg.Shadow[0]), static_cast<int>(cfg.Shadow[1]));
    }
    p.GravitationX = cfg.GravitationX;
    p.GravitationY = cfg.GravitationY;
    if (!cfg.ImageId.empty() && cfg.AnimStrip) {
        p.Image = cfg.AnimStrip;
        p.Animated = true;
    } else {
        p.Image = cfg.Image;
    }
    if (cfg.Color) p.Color = *cfg.Color;
    p.Color.a0 *= AlphaMult;
    p.Color.a1 *= AlphaMult;
    if (p.Animated) {
        const float f = static_cast<float>(p.Image->FrameCount());
        if (p.AnimDir)
            p.Frame = static_cast<int>(rnd(cfg.Frame));
        else
            p.Frame = static_cast<int>(RandomFloat(f - cfg.Frame[1], f - cfg.Frame[0]));
    }
    if (Parent && Parent->Color) {
        const TColor& pc = *Parent->Color;
        if (cfg.InheritRed) { p.Color.r = pc.r; p.Color.r0 = pc.r0; p.Color.r1 = pc.r1; }
        if (cfg.InheritGreen) { p.Color.g = pc.g; p.Color.g0 = pc.g0; p.Color.g1 = pc.g1; }
        if (cfg.InheritBlue) { p.Color.b = pc.b; p.Color.b0 = pc.b0; p.Color.b1 = pc.b1; }
    }
    ++live_;
}

namespace {

// Particles are allocated one by one, and drawing one reads fields spread over
// all of its cache lines; with a full pool the lines are no longer in the
// nearest caches by the time the drawing pass comes back to them, so the
// pass asks for a particle's lines a few particles ahead.
constexpr size_t kDrawPrefetch = 4;

void Prefetch(const TParticle& particle) {
    const char* bytes = reinterpret_cast<const char*>(&particle);
    for (size_t offset = 0; offset < sizeof(TParticle); offset += 64) __builtin_prefetch(bytes + offset);
}

}  // namespace

void TEmitter::Draw() {
    PushDrawState();
    const int remembered = GetBlend();
    for (size_t i = 0; i < live_; ++i) {
        TParticle& p = *pool_[i];
        if (p.Glowing) {
            if (remembered != LIGHTBLEND && GetBlend() != LIGHTBLEND) SetBlend(LIGHTBLEND);
            p.Draw();
        } else {
            p.ToDraw = 1;
        }
    }
    const int blend = Config ? Config->Blend : ALPHABLEND;
    for (size_t i = 0; i < live_; ++i) {
        if (i + kDrawPrefetch < live_) Prefetch(*pool_[i + kDrawPrefetch]);
        TParticle& p = *pool_[i];
        if (p.ToDraw) {
            if (GetBlend() != blend) SetBlend(blend);
            p.Draw();
        }
        p.ToDraw = 0;
    }
    PopDrawState();
}
