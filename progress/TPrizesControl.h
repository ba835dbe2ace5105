#pragma once
#include <string>
#include <vector>

#include "gui/TWidget.h"
#include "progress/TPrize.h"

// Runs the prizes of the level being played: arms a fresh set at the level's
// start, hands every gameplay event to the prizes still armed, and receives
// those that are earned into the current profile, with a pop-up and a fanfare
// the first time. Only its class functions are used; it is never on screen.
class TPrizesControl : public TWidget {
    TOTEM_CLASS(TPrizesControl)

    // Empties NewPrizes and arms one fresh prize of every class, in order.
    static void CreatePrizes();
    // Σ (picture width + 10) over NewPrizes: the width of the results row.
    static int CollectedWidth();
    // A gameplay event (any case). Every armed prize that it earns leaves
    // play; one the profile has not received yet is added to it, pops up and
    // is listed in NewPrizes (the first five only).
    static void SendEvent(const std::string& name);
};

// The prizes that can still be earned in this level, in class order.
extern std::vector<PrizePtr> ArmedPrizes;
// The prizes received for the first time in this level, at most five, in the
// order received; the results dialog takes them out one by one.
extern std::vector<PrizePtr> NewPrizes;

inline constexpr int MAX_NEW_PRIZES = 5;
