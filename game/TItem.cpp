#include "game/TItem.h"

#include <utility>

#include "core/SharedVisuals.h"
#include "core/GameClock.h"
#include "fx/TEmitter.h"
#include "game/GameGlobals.h"
#include "game/HighwayGeometry.h"
#include "game/ItemOwner.h"
#include "media/Graphics.h"

TItem::TItem() : SpeedCoef(1.0f * LevelSpeed) {
    color = TColor::Create(255, 255, 255);
    color->StartColor(254, 212, 48, 0);
    color->EndColor(255, 255, 255, 1);
    color->UseAlpha = 1;
}

TItem::~TItem() {
    ItemPtr prev = std::move(Prev);
    while (prev && prev.use_count() == 1) prev = std::move(prev->Prev);
}

float TItem::LineX(int line) { return HighwayGeometry::LineX(line); }

float TItem::LineY(float z) { return HighwayGeometry::LineY(z); }

VectorPtr TItem::to2d(float x, float y, float z) {
    const HighwayPoint p = HighwayGeometry::To2d(x, y, z);
    return MakeVector(p.x, p.y);
}

VectorPtr TItem::CatchPos() {
    return to2d(LineX(LineNum), -LineY(HighwayGeometry::kCatchProgress),
                HighwayGeometry::kCatchProgress + HighwayGeometry::kDepthOffset);
}

void TItem::Update(float /*dt*/) {
    if (UpdTime == 0) UpdTime = GameClock;
    time += (GameClock - UpdTime) / 30.0f * SpeedCoef;
    const float shown = time + VideoLead();
    const HighwayPoint p = HighwayGeometry::ItemPosition(LineNum, shown);
    pos = MakeVector(p.x, p.y);
    scale = HighwayGeometry::ItemScale(LineNum, shown);
    UpdTime = GameClock;
    // A held item ends the moment the catcher leaves its line.
    if (PickUpStarted != 0 && owner && owner->BatLineNum() != LineNum) PickUpEnd();
    IsOutCheck();
}

float TItem::VideoLead() const { return static_cast<float>(VideoOffsetMs) / 30.0f * SpeedCoef; }

void TItem::DrawShown() {
    const float lead = VideoLead();
    if (lead == 0) {
        Draw();
        return;
    }
    // Drawn where the screen's delay will have it when the picture is seen;
    // the catch rules keep the item's own progress, restored exactly.
    const float progress = time;
    time = progress + lead;
    Draw();
    time = progress;
}

void TItem::MarkOut() {
    IsOut = 1;
    IsOutTime = static_cast<int32_t>(GameClock);
    if (PickUpStarted != 0 && PickUpEnded == 0) PickUpEnd();
}

void TItem::IsOutCheck() {
    if (IsOut != 0) return;
    const bool out = PickUpStarted != 0 ? time > HighwayGeometry::kCatchProgress
                                        : time > HighwayGeometry::kEndProgress;
    if (out) MarkOut();
}

void TItem::ApplyFadeIn() {
    if (time > 35) return;
    color->SetCalcColor(static_cast<int>(time - 15), 7);
    if (time <= HighwayGeometry::kVisibleProgress) SetAlpha(0);
}

void TItem::Draw() {
    if (!pos || time > HighwayGeometry::kEndProgress) return;
    if (PickUpStarted != 0 && time > HighwayGeometry::kCatchProgress) return;
    SetScale(scale, scale);
    SetBlend(ALPHABLEND);
    ApplyFadeIn();
    if (Image) DrawImage(Image, pos->x, pos->y, 0);
    SetBlend(ALPHABLEND);
    if (AnimImage) AnimImage->Draw(static_cast<int>(pos->x), static_cast<int>(pos->y));
    SetScale(1, 1);
    SetColor(255, 255, 255);
    SetAlpha(1);
}

void TItem::DrawLine_() {
    const float x = LineX(LineNum);
    const float far = -LineY(0), near = -LineY(HighwayGeometry::kEndProgress);
    const float farZ = HighwayGeometry::kDepthOffset;
    const float nearZ = HighwayGeometry::kEndProgress + HighwayGeometry::kDepthOffset;
    for (float edge : {-HighwayGeometry::kLineHalfWidth, HighwayGeometry::kLineHalfWidth}) {
        const VectorPtr a = to2d(x + edge, far, farZ);
        const VectorPtr b = to2d(x + edge, near, nearZ);
        DrawLine(a->x, a->y, b->x, b->y);
    }
}

int TItem::PickUp() {
    if (PickUpStarted != 0) return 0;
    if (owner) owner->GryphLightNoteAlpha += 1;
    if (FastScalePulse) {
        FastScalePulse->dist = 1.1f;
        FastScalePulse->curve = 2;
    }
    PickUpStarted = 1;
    return 1;
}

void TItem::CountPoints() {
    if (CurrentLevelStat) CurrentLevelStat->Notes += Points;
}

void TItem::PickUpEnd() {
    if (PickUpEnded != 0) return;
    PickUpEnded = 1;
    const VectorPtr p = CatchPos();
    const int small = Points == 100 ? 1 : 0;
    if (owner) Points *= owner->GetPointsMult();
    CountPoints();
    if (owner) owner->FloatPoints(Points, p, small);
}

void TItem::Remove() {}

void TItem::SetPrevious(const ItemPtr& item) { Prev = item; }

void TItem::AddOwnerEmitter(const EmitterPtr& emitter) {
    if (owner && emitter) owner->Emitters.push_back(emitter);
}
