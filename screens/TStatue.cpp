#include "screens/TStatue.h"

#include <algorithm>
#include <cmath>

#include "content/ResourceCatalogue.h"
#include "core/MathHelpers.h"
#include "gui/TWidgetmanager.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"

namespace {
// Where the pupils look at a pupil's distance of 200 pixels and beyond.
constexpr float kFullTravelDistance = 200;

struct StatueSide {
    const char* side;
    ImagePtr* eye;
    float eyeX, eyeY, pupil1X, pupil1Y, pupil2X, pupil2Y;
};

const StatueSide kSides[] = {
    {"left", &IMAGE_MENU_EYE_LEFT, 108, 385, 139, 392, 118, 392},
    {"right", &IMAGE_MENU_EYE_RIGHT, 663, 383, 674, 390, 695, 390},
};

// The pointer in design-space pixels, read where the widget manager reads it
// (tests script it there).
void MousePosition(float& x, float& y) {
    if (WidgetManager) {
        x = WidgetManager->Mouse.x();
        y = WidgetManager->Mouse.y();
    } else {
        x = VirtualMouseX();
        y = VirtualMouseY();
    }
}

// The offset of a pupil resting at `rest` that looks towards (mx, my).
void LookAt(const TVector& rest, float mx, float my, TVector& offset) {
    TVector w(rest.x - mx, rest.y - my);
    const float angle = (w.GetAngle() + 180) * kDegToRad;
    const float d = std::min(w.GetLength() / kFullTravelDistance * TStatue::PUPIL_TRAVEL, TStatue::PUPIL_TRAVEL);
    offset.x = std::sin(angle) * d;
    offset.y = std::cos(angle) * d;
}
}  // namespace

TStatue::TStatue() {
    // Screen pixels and no area: the statue is decoration the mouse passes over.
    Clip = 0;
    MouseSensetive = 0;
    BlinkStart = ClockMs() + RandomInt(1000, 10000);
}

StatuePtr TStatue::Create(const std::string& side) {
    auto statue = std::make_shared<TStatue>();
    for (const StatueSide& s : kSides) {
        if (side != s.side) continue;
        statue->EyeImage = *s.eye;
        statue->EyePos = MakeVector(s.eyeX, s.eyeY);
        statue->Zrachok1 = MakeVector(s.pupil1X, s.pupil1Y);
        statue->Zrachok2 = MakeVector(s.pupil2X, s.pupil2Y);
    }
    return statue;
}

void TStatue::Draw() {
    // A statue of an unknown side has no eyes, and so no pupils either.
    if (!EyeImage) return;
    DrawImage(EyeImage, EyePos->x, EyePos->y);
    const int32_t now = ClockMs();
    if (BlinkStart + BLINK_MS < now) BlinkStart = now + RandomInt(2500, 10000);
    if (now >= BlinkStart) return;
    DrawImage(IMAGE_MENU_EYE_ZRACHOK, Zrachok1->x + Zrachok1Diff->x, Zrachok1->y + Zrachok1Diff->y);
    DrawImage(IMAGE_MENU_EYE_ZRACHOK, Zrachok2->x + Zrachok2Diff->x, Zrachok2->y + Zrachok2Diff->y);
}

void TStatue::Update(float /*dt*/) {
    float mx = 0, my = 0;
    MousePosition(mx, my);
    MouseTrack = Distance(Zrachok1->x, Zrachok1->y, mx, my) <= MOUSE_TRACK_DISTANCE ? 1 : 0;
    if (MouseTrack == 0) {
        Zrachok1Diff = MakeVector(0, 0);
        Zrachok2Diff = MakeVector(0, 0);
        return;
    }
    LookAt(*Zrachok1, mx, my, *Zrachok1Diff);
    LookAt(*Zrachok2, mx, my, *Zrachok2Diff);
}
