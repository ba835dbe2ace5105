#include "screens/TPoint.h"

#include "content/ResourceCatalogue.h"
#include "gui/TWidgetmanager.h"
#include "media/Graphics.h"
#include "screens/TStoryMenu.h"

std::vector<PointPtr> StoryPoints;

namespace {
constexpr float kMissingStarAlpha = 0.5f;
// The three small stars above a marker, from its centre.
constexpr int kStarOffsets[3][2] = {{-12, -7}, {-2, -10}, {8, -7}};
}  // namespace

PointPtr TPoint::Create(float px, float py) {
    auto point = std::make_shared<TPoint>();
    point->num = static_cast<int32_t>(StoryPoints.size()) + 1;
    const int w = IMAGE_STORY_POINT ? IMAGE_STORY_POINT->width : 0;
    const int h = IMAGE_STORY_POINT ? IMAGE_STORY_POINT->height : 0;
    point->Resize(static_cast<int>(px), static_cast<int>(py), w, h);
    point->pos = MakeVector(px, py);
    if (WidgetManager) WidgetManager->AddWidget(point);
    return point;
}

void TPoint::Draw() {
    // The marker's pictures are larger than the marker itself.
    SetViewport(0, 0, 800, 600);
    const int cx = _width / 2, cy = _height / 2;
    DrawHover(cx, cy);
    SetBlend(ALPHABLEND);
    if (Star == 1) DrawImage(IMAGE_STORY_STAR, static_cast<float>(cx), static_cast<float>(cy));
    else DrawImage(locked != 0 ? IMAGE_STORY_LOCKED : IMAGE_STORY_POINT, static_cast<float>(cx), static_cast<float>(cy));
    if (locked == 0) DrawStars(cx, cy);
}

// Lights an unlocked marker under the mouse (or the keyboard's focus) and
// keeps its sparkle running exactly as long as it stays.
void TPoint::DrawHover(int cx, int cy) {
    if ((IsOver == 0 && Focused == 0) || locked != 0) {
        OverEmitterFlag = 0;
        if (Emitter) Emitter->GenerationStop = 1;
        return;
    }
    if (OverEmitterFlag == 0) {
        OverEmitterFlag = 1;
        Emitter = TEmitter::Create(_x + static_cast<float>(cx), _y + static_cast<float>(cy), EFFECT_MAP, 0);
        if (StoryMenu) StoryMenu->Emitters.push_back(Emitter);
    }
    SetBlend(LIGHTBLEND);
    SetColor(0, 255, 0);
    DrawImage(IMAGE_STORY_HIGHLIGHT, static_cast<float>(cx), static_cast<float>(cy));
    SetColor(255, 255, 255);
}

// Earned stars opaque, missing ones half transparent.
void TPoint::DrawStars(int cx, int cy) const {
    for (int i = 0; i < 3; ++i) {
        if (Stars < i + 1) SetAlpha(kMissingStarAlpha);
        DrawImage(IMAGE_STORY_LEVELSTAR, static_cast<float>(cx + kStarOffsets[i][0]),
                  static_cast<float>(cy + kStarOffsets[i][1]));
    }
}

void TPoint::MouseUp(int /*button*/) {
    if (locked == 0 && StoryMenu) StoryMenu->StartLevel(num);
}

bool TPoint::KeyFocusable() const { return locked == 0; }

void TPoint::KeyPress() { MouseUp(1); }
