#pragma once
#include "gui/TWidget.h"
#include "media/TImage.h"

// A horizontal slider (the sound volume): a track that fills from the left up
// to the value and a knob the player drags. While the left button holds it
// the listener hears ScrollBarChanged(ID, Value) every frame. The control's
// rectangle starts half a knob left of the track, so the knob can be caught
// at the track's left end too.
class TScrollBarH : public TWidget {
    TOTEM_CLASS(TScrollBarH)

    ImagePtr Image_Empty;   // the empty track; its width is the travel
    ImagePtr Image_Full;    // the filled track, shown up to the value
    ImagePtr Image_Marker;  // the knob, centred on its handle once added
    float Value = 0;        // 0..1
    int Height = 0;
    float Offset_x = 0;     // half the knob's width
    WidgetRef Listener;
    int ID = 0;
    int IsDown = 0;         // left-pressed on it and not yet released

    void Draw() override;
    // (x, y) is the left end of the track.
    void SetPosition(int x, int y) override;
    void MouseMove(int dx, int dy) override;
    void AddedToManager() override;
    void MouseUp(int button) override;
    void MouseDown_(int button) override;

    int TrackWidth() const;
};

using ScrollBarPtr = std::shared_ptr<TScrollBarH>;

// A slider as tall as the largest of `height`, the track and the knob, at
// (0, 0), not yet added to the widget manager.
ScrollBarPtr CreateScrollBar(const ImagePtr& empty, const ImagePtr& full, const ImagePtr& marker, int height, int id,
                             const WidgetPtr& listener);
