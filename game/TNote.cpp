#include "game/TNote.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/MathHelpers.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "game/EffectTint.h"
#include "game/GameGlobals.h"
#include "game/HighwayGeometry.h"
#include "game/ItemOwner.h"
#include "media/Clock.h"
#include "media/Graphics.h"

namespace {
constexpr float kCatch = HighwayGeometry::kCatchProgress;
constexpr float kEnd = HighwayGeometry::kEndProgress;
constexpr float kVisible = HighwayGeometry::kVisibleProgress;

ImagePtr StarredNoteImage(int line) {
    const ImagePtr* images[] = {&IMAGE_ITEM_NOTE_1, &IMAGE_ITEM_NOTE_2, &IMAGE_ITEM_NOTE_3,
                                &IMAGE_ITEM_NOTE_4, &IMAGE_ITEM_NOTE_5};
    return line >= 0 && line < 5 ? *images[line] : nullptr;
}

void CopyPoints(std::array<float, 6>& tri, const VectorPtr& a, const VectorPtr& b, const VectorPtr& c) {
    tri = {a->x, a->y, b->x, b->y, c->x, c->y};
}
}  // namespace

TNote::~TNote() {
    // A note dropped without Remove (a cleared highway) must not leave its
    // sparkle or its hold sound behind.
    if (Emitter) Emitter->Death = 1;
    if (LongnoteChannel) LongnoteChannel->Stop();
}

NotePtr TNote::Create(int line, int single, float length, int starred) {
    auto note = std::make_shared<TNote>();
    note->LineNum = line;
    note->single = single;
    note->Starred = starred;
    note->length = length;
    if (starred != 0) {
        note->Image = StarredNoteImage(line);
    } else {
        note->AnimImage = TAnimImage::Load2("IMAGE_ITEM_NOTE_ANIM_" + std::to_string(line + 1), -1);
    }
    if (note->length > note->MinLength) {
        const int last = static_cast<int>(note->length * note->SpeedCoef - 1);
        for (int off = 1; off <= last; off += 4) {
            note->StarsList.push_back(
                TNoteStar::Create(static_cast<float>(off % 5) - 2.5f, static_cast<float>(off), note.get()));
        }
    }
    return note;
}

int TNote::IsLongNote() { return length > MinLength ? 1 : 0; }

void TNote::SetPrevious(const ItemPtr& item) {
    Prev = item;
    IsMelody = 1;
    if (auto prevNote = std::dynamic_pointer_cast<TNote>(item)) prevNote->IsMelody = 1;
}

bool TNote::InGoldRush() { return owner && owner->GoldRush() != 0; }

void TNote::InitEmitter() {
    const float x = pos ? pos->x : 0, y = pos ? pos->y : 0;
    Emitter = TEmitter::Create(x, y, EFFECT_NOTE_GOLD, 0);
    AddOwnerEmitter(Emitter);
}

void TNote::Update(float dt) {
    const bool visible = time > kVisible && time < kEnd;
    if (Emitter) {
        if (pos) {
            Emitter->x = Emitter->oldX = pos->x;
            Emitter->y = Emitter->oldY = pos->y;
        }
        Emitter->Pause = visible && InGoldRush() ? 0 : 1;
    } else if (visible && InGoldRush()) {
        InitEmitter();
    }
    TItem::Update(dt);
    UpdateNoteLine();
    UpdateNoteLink();
    if (LongnoteChannel) {
        if (PickUpEnded == 0) {
            const float hold = (time - kCatch) / (length * SpeedCoef);
            LongnoteChannel->SetVolume((hold * 0.7f + 0.3f) * SoundVolume);
        } else {
            LongnoteChannel->Stop();
            LongnoteChannel = nullptr;
        }
    }
}

void TNote::IsOutCheck() {
    if (IsOut != 0) return;
    const float tailEnd = time - length * SpeedCoef;
    if (IsHeld()) {
        if (tailEnd > kCatch) {
            const bool longNote = IsLongNote() != 0;
            MarkOut();
            if (longNote && owner) {
                owner->SendEvent("longpick");
                owner->CreateImpulse(EFFECT_IMPULSE_LONGNOTE);
            }
        }
    } else if (tailEnd > kEnd) {
        MarkOut();
    }
}

void TNote::CountPoints() {
    if (!CurrentLevelStat) return;
    if (Starred != 0) CurrentLevelStat->Stars += Points;
    else CurrentLevelStat->Notes += Points;
}

void TNote::Draw() {
    // Not placed yet: nothing to draw, and the fade must not leak into others.
    if (!pos) return;
    ApplyFadeIn();
    if (InGoldRush() && time > kVisible && time < kEnd) {
        SetAlpha(std::fabs(std::sin((static_cast<float>(ClockMs()) + time) * kDegToRad)) * 0.3f + 0.7f);
        SetBlend(LIGHTBLEND);
        SetScale(scale, scale);
        DrawImage(IMAGE_ITEM_GOLD_LIGHT, pos->x, pos->y);
        SetScale(1, 1);
        SetBlend(ALPHABLEND);
        SetAlpha(1);
    }
    if (length > 1) DrawNoteLine();
    DrawNoteLink();
    TItem::Draw();
}

void TNote::UpdateNoteLine() {
    if (length <= MinLength) return;
    float z1 = time - 1;
    float z2 = time - length * SpeedCoef;
    // A held tail is swallowed at the catch point.
    const float top = IsHeld() ? kCatch : kEnd;
    z1 = std::max(std::min(z1, top), kVisible);
    z2 = std::max(std::min(z2, top), kVisible);
    NoteLineZ1 = static_cast<int32_t>(z1);
    NoteLineZ2 = static_cast<int32_t>(z2);
    const float x = LineX(LineNum);
    BandTriangles(x, 5, z1, x, 4, z2, tri1, tri2);
    UpdateNoteStars();
}

void TNote::BandTriangles(float x1, float half1, float z1, float x2, float half2, float z2, Triangle& first,
                          Triangle& second) {
    const float d = HighwayGeometry::kDepthOffset;
    const VectorPtr a = to2d(x1 - half1, -LineY(z1), z1 + d);
    const VectorPtr b = to2d(x1 + half1, -LineY(z1), z1 + d);
    const VectorPtr c = to2d(x2 - half2, -LineY(z2), z2 + d);
    const VectorPtr e = to2d(x2 + half2, -LineY(z2), z2 + d);
    CopyPoints(first, a, b, c);
    CopyPoints(second, c, e, b);
}

void TNote::DrawBand(const Triangle& a, const Triangle& b) {
    if (LineNum >= 0 && LineNum < 5 && LineColors[LineNum]) LineColors[LineNum]->Set();
    SetAlpha(0.7f);
    SetBlend(LIGHTBLEND);
    DrawPoly(std::vector<float>(a.begin(), a.end()));
    DrawPoly(std::vector<float>(b.begin(), b.end()));
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetBlend(ALPHABLEND);
}

void TNote::DrawNoteLine() {
    if (length <= MinLength) return;
    DrawBand(tri1, tri2);
    DrawNoteStars();
}

void TNote::UpdateNoteStars() {
    for (auto it = StarsList.begin(); it != StarsList.end();) {
        (*it)->Update();
        if ((*it)->Picked() == 1) it = StarsList.erase(it);
        else ++it;
    }
}

void TNote::DrawNoteStars() {
    for (const auto& star : StarsList) star->Draw();
}

void TNote::UpdateNoteLink() {
    if (!Prev || PickUpStarted != 0) return;
    if (PrevDist == -1) {
        PrevDist = Prev->time - time;
        if (auto prevNote = std::dynamic_pointer_cast<TNote>(Prev); prevNote && prevNote->IsLongNote())
            PrevDist -= prevNote->length;
    }
    float z1 = std::min(time, kEnd);
    float z2 = std::min(time + PrevDist, kEnd);
    if (z1 > z2) z1 = z2;
    z1 = std::max(z1, kVisible);
    z2 = std::max(z2, kVisible);
    BandTriangles(LineX(LineNum), 3, z1, LineX(Prev->LineNum), 3, z2, tri3, tri4);
}

void TNote::DrawNoteLink() {
    if (!Prev || PickUpStarted != 0) return;
    DrawBand(tri3, tri4);
}

int TNote::PickUp() {
    if (TItem::PickUp() == 0) return 0;
    const float x = pos ? pos->x : 0, y = pos ? pos->y : 0;
    if (owner) {
        EmitterPtr burst = TEmitter::Create(x, y, EFFECT_NOTE, 0);
        if (LineNum >= 0 && LineNum < 5 && LineColors[LineNum]) {
            const TColor& c = *LineColors[LineNum];
            TintEffect(burst, c.r + 50, c.g + 50, c.b + 50);
        }
        AddOwnerEmitter(burst);
    }
    if (CurrentLevelStat) CurrentLevelStat->NotesCount += 1;
    if (Emitter) Emitter->Death = 1;
    if (owner && Starred != 0) {
        EmitterPtr star = TEmitter::Create(x, y, EFFECT_NOTE_STAR, 0);
        if (LineColors[4]) TintEffect(star, LineColors[4]->r, LineColors[4]->g, LineColors[4]->b);
        AddOwnerEmitter(star);
    }
    if (owner && Prev) AddOwnerEmitter(TEmitter::Create(x, y, EFFECT_MELODY, 0));
    if (IsLongNote() != 0) {
        LongnoteChannel = PlaySound(SOUND_GRYPH_LONGNOTE);
        if (LongnoteChannel) LongnoteChannel->SetVolume(0.3f * SoundVolume);
    }
    return 1;
}

void TNote::Remove() {
    if (LongnoteChannel) LongnoteChannel->Stop();
}
