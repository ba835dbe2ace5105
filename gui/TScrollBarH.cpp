#include "gui/TScrollBarH.h"

#include <algorithm>

#include "core/TGraphicsState.h"
#include "gui/TWidgetmanager.h"
#include "media/Graphics.h"

int TScrollBarH::TrackWidth() const { return Image_Empty ? Image_Empty->width : 0; }

void TScrollBarH::SetPosition(int nx, int ny) {
    Offset_x = static_cast<float>((Image_Marker ? Image_Marker->width : 0) / 2);
    Resize(static_cast<int>(static_cast<float>(nx) - Offset_x), ny,
           static_cast<int>(static_cast<float>(TrackWidth()) + Offset_x), Height);
}

void TScrollBarH::AddedToManager() {
    if (Image_Marker) CentreImageHandle(Image_Marker);
}

void TScrollBarH::Draw() {
    const float wE = static_cast<float>(TrackWidth());
    auto atMiddle = [this](const ImagePtr& image) { return static_cast<float>(Height / 2 - image->height / 2); };
    if (Image_Empty) DrawImage(Image_Empty, Offset_x, atMiddle(Image_Empty));
    PushDrawState();
    SetViewport(static_cast<int>(_x), static_cast<int>(_y), static_cast<int>(wE * Value + Offset_x), _height);
    if (Image_Full) DrawImage(Image_Full, Offset_x, atMiddle(Image_Full));
    SetViewport(static_cast<int>(_x - Offset_x), static_cast<int>(_y), static_cast<int>(_width + Offset_x * 2), _height);
    if (Image_Marker) DrawImage(Image_Marker, wE * Value + Offset_x, static_cast<float>(Height / 2));
    PopDrawState();
}

void TScrollBarH::MouseDown_(int button) {
    if (button == 1) IsDown = 1;
}

void TScrollBarH::MouseUp(int) { IsDown = 0; }

void TScrollBarH::MouseMove(int, int) {
    // A slider without a track has no travel to map the mouse onto.
    const int wE = TrackWidth();
    if (IsDown == 0 || wE <= 0 || !WidgetManager) return;
    const float mx = static_cast<float>(static_cast<int>(WidgetManager->Mouse.x())) - _x;
    const float from = Offset_x / 2;
    if (mx < from || mx > from + static_cast<float>(wE)) return;
    Value = (mx - from) / static_cast<float>(wE);
    if (const WidgetPtr listener = Listener.lock()) listener->ScrollBarChanged(ID, Value);
}

ScrollBarPtr CreateScrollBar(const ImagePtr& empty, const ImagePtr& full, const ImagePtr& marker, int height, int id,
                             const WidgetPtr& listener) {
    auto bar = std::make_shared<TScrollBarH>();
    bar->Image_Empty = empty;
    bar->Image_Full = full;
    bar->Image_Marker = marker;
    bar->Height = std::max({height, empty ? empty->height : 0, marker ? marker->height : 0});
    bar->SetPosition(0, 0);
    bar->Listener = listener;
    bar->ID = id;
    return bar;
}
