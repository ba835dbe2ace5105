#pragma once
#include <memory>

class TItem;

// The player behind the test option "--autoplay". With the option the built
// game plays every level by itself and fast, so a test that drives the real
// program through its screens does not wait out each song: the clock is
// driven, one fixed step per frame however long the frame really took, and
// sounds go to the silent mixer, which follows that clock. The player steers
// the catcher onto the line of the next note and clicks for frets and starred
// notes through the input injection functions, the path a player's mouse
// takes from the event poll on. Everything else (screens, dialogs, saved
// files) is what a normal run does; without the option nothing here exists.
// It is no rival for a person: it catches well over half the notes, enough
// for the stars that open the next level.
class TAutoPlay {
public:
    // The clock's step per frame: dt is exactly 1, the rate the rules are
    // written for. Frames are not paced by the real clock.
    static constexpr int STEP_MS = 17;
    // Frames updated per frame drawn while a level plays: a level then runs
    // several times faster than real time even where drawing a frame takes
    // longer than 17 ms (software rendering on a busy machine).
    static constexpr int PLAY_FRAMES_PER_DRAWING = 16;

    // Drives the clock and silences the mixer, and creates the one player.
    // Call before the globals are created, so every timer starts on the
    // driven clock.
    static void Start();

    // How many frames the main loop updates for each one it draws: several
    // while a level plays, one otherwise, so screens and dialogs run as usual.
    int FramesPerDrawing() const;
    // Before the frame timer's wait: the clock moves one step, so the wait
    // returns at once.
    void StepClock();
    // After the widgets' update and before the event poll: the player's
    // answer to the frame it sees, taken up by that poll. Nothing happens
    // while no level plays (menus, pause, results); a press held then is let go.
    void Decide();

private:
    void Steer();
    void Click();
    void Release();
    // The item of a kind still to be caught that reaches the catch window first.
    const TItem* Next(bool (*wanted)(const TItem&)) const;

    bool buttonDown_ = false;
};

// The player when the option is on; null otherwise.
extern std::unique_ptr<TAutoPlay> AutoPlay;
