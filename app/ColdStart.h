#pragma once
#include <string>

// "--quit-after splash|menu": how long a player waits for the game to start,
// for the start-up benchmark. At the moment asked for the figure goes to
// standard output and a quit is requested, so the program ends through the
// shell's normal way out. Times are real milliseconds since the system
// started the process (ProcessAgeMs), so loading the program and its
// libraries counts too.
//   splash: the first splash frame presented.
//   menu:   the main loop's first frame presented (the main menu, when no
//           level is asked for at launch), less the splashes' display time:
//           from their first frame presented to the end of the last one, a
//           fixed time by design that no start-up work can shorten.
// Beside each figure, the processor time used until then (all threads, the
// splashes' share taken off the menu's the same way): on a machine shared
// with other work the elapsed time varies with the load, this far less.
class ColdStart {
public:
    // Takes "splash" or "menu"; false (and nothing set) for anything else.
    static bool QuitAfter(const std::string& moment);
    // The earliest moment in main, reported beside the figure to tell the
    // program's loading from the game's own start-up.
    static void MainEntered();
    static void SplashFramePresented();
    static void SplashesEnded();
    static void LoopFramePresented();

private:
    enum class Moment { NONE, SPLASH, MENU };
    static void Report(const std::string& what, double ms, double cpuMs, const std::string& detail);

    static Moment quitAfter_;
    static double mainMs_;
    static double firstSplashMs_;
    static double splashesEndMs_;
    static double firstSplashCpuMs_;
    static double splashesEndCpuMs_;
    static bool loopFrameSeen_;
};
