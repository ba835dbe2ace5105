#include "fx/TParticle.h"

#include <cmath>
#include <utility>

#include "core/MathHelpers.h"
#include "core/TGraphicsState.h"
#include "fx/TEmitter.h"
#include "media/Clock.h"
#include "media/Graphics.h"

ImagePtr GlowImage;

namespace {
inline float SinDeg(float d) { return std::sin(d * kDegToRad); }
inline float CosDeg(float d) { return std::cos(d * kDegToRad); }
}  // namespace

TParticle::TParticle() : TimeStart(ClockMs()) {}
TParticle::~TParticle() = default;
TParticle::TParticle(TParticle&&) noexcept = default;
TParticle& TParticle::operator=(TParticle&&) noexcept = default;

void TParticle::Reset() {
    std::unique_ptr<TEmitter> keep = std::move(childStore);
    std::string keepSalute = std::move(SaluteEmitter);
    *this = TParticle();
    childStore = std::move(keep);
    SaluteEmitter = std::move(keepSalute);
    SaluteEmitter.clear();
}

TEmitter* TParticle::StartChild(float cx, float cy, const EffectPtr& effect) {
    if (!childStore) childStore = std::make_unique<TEmitter>();
    childStore->Restart(cx, cy, effect, 0);
    Child = childStore.get();
    return Child;
}

void TParticle::DropChild() {
    if (Child) Child->Restart(0, 0, nullptr, 0);  // lets go of the effect; storage stays
    Child = nullptr;
}

void TParticle::Update(float dt) {
    if (Trajectory == TEmitter::SINUSOID) {
        const float amplitude = SinDeg(static_cast<float>(TrajectoryAngle)) * 30.0f;
        _x = SinDeg(Dir - 90.0f) * amplitude;
        _y = CosDeg(Dir - 90.0f) * amplitude;
        TrajectoryAngle = static_cast<int>(TrajectoryAngle + 5.0f * dt);
        if (TrajectoryAngle > 360) TrajectoryAngle = 0;
    }
    x += SpeedX * dt;
    y += SpeedY * dt;
    const float dirX = SinDeg(Dir) * Speed * dt;
    const float dirY = CosDeg(Dir) * Speed * dt;
    x += dirX;
    y += dirY;
    angle += angleSpeed * dt;
    if (angle >= 360) angle -= 360;
    if (angle <= -360) angle += 360;
    SpeedX += GravitationX * dt;
    SpeedY += GravitationY * dt;

    const int e = ClockMs() - TimeStart;
    const float denom = static_cast<float>(Lifetime) + static_cast<float>(e);
    Scale = denom != 0 ? StartScale + (EndScale - StartScale) * static_cast<float>(e) / denom : StartScale;

    if (Child) {
        Child->x += SpeedX * dt;
        Child->y += SpeedY * dt;
        Child->x += dirX;
        Child->y += dirY;
        Child->_x = _x;
        Child->_y = _y;
        Child->Update(dt);
        if (Child->ParticleCount() == 0 && Child->GenerationStop) DropChild();
    }
}

void TParticle::Draw() {
    if (!Hidden) {
        const int now = ClockMs();
        if (Glowing && now > TimeStart + 180) {
            if (GlowImage) {
                SetColor(255, 255, 255);
                SetScale(3, 3);
                SetAlpha(GlowingAlpha);
                DrawImage(GlowImage, x + _x, y + _y, 0);
            }
            GlowingAlpha -= 0.001f;
        }
        const float sx = ScaleX * Scale, sy = ScaleY * Scale;
        SetScale(sx, sy);
        Color.SetCalcColor(now - TimeStart, Lifetime);
        if (Animated && Image && now >= updTime + AnimSpeed) {
            if (AnimDir) --Frame; else ++Frame;
            if (Frame < 0 || Frame >= Image->FrameCount()) Frame = 0;
            updTime = now;
        }
        const int frame = Animated ? Frame : 0;
        if (Shadow && Image) {
            PushDrawState();
            ApplyColor(ShadowColor);
            SetBlend(ALPHABLEND);
            SetAlpha(0.2f);
            SetRotation(angle);
            SetScale(sx, sy);
            DrawImage(Image, x + ShadowOffcet + _x, y + ShadowOffcet + _y, frame);
            PopDrawState();
        }
        if (Image) {
            SetRotation(angle);
            DrawImage(Image, x + _x, y + _y, frame);
            SetRotation(0);
        }
    }
    if (Child) Child->Draw();
}
