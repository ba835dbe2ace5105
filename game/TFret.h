#pragma once
#include <memory>

#include "game/TItem.h"

class TFret;
using FretPtr = std::shared_ptr<TFret>;

// A bar across the whole highway, caught with a click on any line. Its picture
// runs down the middle line; a catch bursts gold along every line.
class TFret : public TItem {
    TOTEM_CLASS(TFret)

    static FretPtr Create();
    int PickUp() override;

protected:
    void CountPoints() override;
};
