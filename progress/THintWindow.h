#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "gui/TWidget.h"

// The strip above the highway that shows a hint when the player keeps
// failing at one thing: missed starred notes, missed frets or failed
// melodies. A hint stays 7 s, fading in its last second; each shows at most
// once a level and only one at a time, and the star and fret hints only while
// the combo meter is low (a player on a streak needs no advice). The game
// controller owns it and resets it at every level start; gameplay reaches it
// through ActiveHintWindow.
class THintWindow : public TWidget {
    TOTEM_CLASS(THintWindow)

    static constexpr int HINT_MELODIES = 1;
    static constexpr int HINT_FRETS = 2;
    static constexpr int HINT_STARS = 3;

    int32_t ShowTime = 7000;  // ms of GameClock
    int32_t ActiveHint = 0;   // 0 none, else one of the HINT_ numbers
    int32_t ActivateTime = 0;
    std::array<int32_t, 4> HintsActivated{};  // by hint number; entry 0 unused
    int32_t StarsFailed = 0;
    int32_t FretsFailed = 0;
    int32_t MelodiesFailed = 0;

    // Becomes ActiveHintWindow.
    THintWindow();
    ~THintWindow() override;

    // A new level: every hint may show again, none is showing, the star
    // misses are forgotten. Fret and melody failures carry over until a fret
    // is caught or a melody completed.
    void Reset();
    // Starts hint n unless it has shown in this level; 1 when it had.
    int ActivateHint(int n);
    void SendEvent(const std::string& name);

    void Update(float dt) override;
    void Draw() override;
    // The active hint's opacity now: 1 until its last second, then falling to 0.
    float DrawAlpha() const;

    // The combo meter the star and fret hints wait on (the highway's).
    static float ComboMeter();
};

// The hint window constructed last; null when none is alive.
extern THintWindow* ActiveHintWindow;
