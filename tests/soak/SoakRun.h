#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/TGame.h"
#include "gui/TWidget.h"

// The built game run for a long time inside one test process, as a player
// goes through it: the main menu's "Play", the story map's markers, the level
// played by the autoplay driver, the results' "menu", the map's "back". Every
// click goes through the input injection path at the middle of the widget on
// screen, and each frame is the main loop's (clock, update, draw, poll, mixer),
// so what leaks or breaks over hours of play leaks or breaks here.
//
// After every frame it asks the driver for GL errors and records the first
// frame that had one. While a level plays only every DrawEvery()-th frame is
// drawn, as the game's own fast play does: a software renderer would
// otherwise take hours over one pass of the songs.
class SoakRun {
public:
    SoakRun();
    ~SoakRun();
    SoakRun(const SoakRun&) = delete;
    SoakRun& operator=(const SoakRun&) = delete;

    // Starts the built game in the process with a fresh profile (its files in
    // a folder of the run's own) on the main menu. An empty string when
    // ready, otherwise why the soak cannot run here.
    std::string Start();
    // Undoes Start, so the process ends with nothing of the game alive that
    // the leak check at exit would have to tell from a leak.
    void Stop();

    // ---- The screens, as a player uses them; false with Problem() set ----------
    // From the main menu to the story map.
    bool OpenStoryMap();
    // From the story map back to the main menu.
    bool BackToMainMenu();
    // From the story map: click the level's marker, let the driver play the
    // level to its end, wait for the results to finish counting and click
    // "menu", back to the map. The mixer's channels are then given a bounded
    // time to fall back to the idle count, which `channelsAfter` receives.
    bool PlayLevelFromMap(int level, int& channelsAfter);
    // On the story map: frames until the mixer's channel count has held
    // still for a while (the map's opening sound has ended); that count.
    int SettleChannels();

    // The levels by the length of their charts, shortest first.
    static std::vector<int> LevelsByLength();

    // ---- Figures ---------------------------------------------------------------
    int64_t Frames() const { return frames_; }
    int64_t DrawnFrames() const { return drawn_; }
    int64_t GlErrors() const { return glErrors_; }
    const std::string& FirstGlError() const { return firstGlError_; }
    const std::string& Problem() const { return problem_; }
    // Driver problems (an item it could not catch) summed over the levels.
    int64_t PlayerProblems() const { return playerProblems_; }
    // Anonymous resident memory of the process in kB, after giving freed
    // memory back to the system.
    static int64_t PrivateKb();
    // Bytes the program holds allocated now, as the sanitizer's allocator
    // counts them (without its quarantine); -1 in a build without it.
    static int64_t LiveHeapKb();
    // Frames drawn while a level plays: one in this many (TOTEM_SOAK_DRAW_EVERY).
    int DrawEvery() const { return drawEvery_; }

private:
    // One frame of the main loop on screens: the clock one step, the widgets'
    // update, the drawing, the event poll, the mixer, the present.
    void ScreenFrame();
    // What follows each frame: drawn or not, the driver's error flags.
    void AfterFrame(bool draw, const char* where);
    // Frames until `done` holds, at most `maxFrames`; false otherwise.
    bool FramesUntil(const std::function<bool()>& done, int maxFrames, const std::string& what);
    // Waits until the widget is shown, enabled and has stopped moving, then
    // moves the pointer to its middle, presses and lets go, a frame each.
    bool Click(const WidgetPtr& widget, const std::string& what);
    // The results dialog's button with that id, null while none is open.
    static WidgetPtr ResultsButton(int id);
    bool Fail(const std::string& why);

    std::string previousDir_;
    std::string profileDir_;
    std::string savedUserFile_, savedOptionsFile_;
    std::shared_ptr<TGame> game_;
    bool started_ = false;
    int drawEvery_ = 16;
    int64_t frames_ = 0, drawn_ = 0, glErrors_ = 0, playerProblems_ = 0;
    std::string firstGlError_;
    std::string problem_;
    int idleChannels_ = -1;
};
