#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "core/TVector.h"
#include "gui/TWidget.h"
#include "media/TImage.h"

class TPrizeWidget;
using PrizeWidgetPtr = std::shared_ptr<TPrizeWidget>;

// A prize's picture on screen: the pop-up on the left while a level is played
// (it fades out by itself), a prize in the results row, a prize in the
// gallery. Every one made is listed in PrizeWidgets until removed; the game
// controller removes them all when it stops a level.
class TPrizeWidget : public TWidget {
    TOTEM_CLASS(TPrizeWidget)

    ImagePtr Image;
    int32_t StartTime = 0;      // GameClock when made
    int32_t HideAfterTime = 0;  // ms; 0 or less: stays until removed
    float Alpha = 1.0f;
    int32_t Label = 0;  // text shown by the gallery under the mouse

    // The top for a new pop-up: the first of 100, 174, 248, … that no listed
    // prize widget has its top on.
    static int GetActivePrizesHeight();
    // A widget centred horizontally on pos.x with its top at pos.y, listed and
    // added to the widget manager.
    static PrizeWidgetPtr Create(const VectorPtr& pos, const ImagePtr& image, int hideAfterTime);
    static void RemoveAll();

    // Takes it off the screen and out of the list.
    void remove();

    void Update(float dt) override;
    void Draw() override;
};

extern std::vector<PrizeWidgetPtr> PrizeWidgets;
