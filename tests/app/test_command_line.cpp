// The program's command line: what each option asks for, and what a player
// sees for --help, --version and a mistyped option, from the built program.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "support/ChildProcess.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

using Action = CommandLine::Action;

TEST(CommandLineParse, EachOptionSetsWhatItAsksFor) {
    struct Case {
        std::vector<std::string> args;
        Action action;
        int level;
        bool trace, window, autoplay, fps;
        const char* quitAfter;
    };
    const Case cases[] = {
        {{}, Action::PLAY, 0, false, false, false, false, ""},
        {{"--level", "12"}, Action::PLAY, 12, false, false, false, false, ""},
        {{"--level=7", "--window"}, Action::PLAY, 7, false, true, false, false, ""},
        {{"--trace", "--autoplay"}, Action::PLAY, 0, true, false, true, false, ""},
        {{"--fps", "--quit-after", "menu"}, Action::PLAY, 0, false, false, false, true, "menu"},
        {{"--quit-after=splash"}, Action::PLAY, 0, false, false, false, false, "splash"},
        {{"--help"}, Action::HELP, 0, false, false, false, false, ""},
        {{"-h"}, Action::HELP, 0, false, false, false, false, ""},
        {{"--window", "--version"}, Action::VERSION, 0, false, true, false, false, ""},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& a : c.args) joined += a + " ";
        SCOPED_TRACE(joined);
        const CommandLine line = CommandLine::Parse(c.args);
        EXPECT_EQ(line.action, c.action) << line.mistake;
        EXPECT_EQ(line.level, c.level);
        EXPECT_EQ(line.trace, c.trace);
        EXPECT_EQ(line.window, c.window);
        EXPECT_EQ(line.autoplay, c.autoplay);
        EXPECT_EQ(line.fps, c.fps);
        EXPECT_EQ(line.quitAfter, c.quitAfter);
    }
}

// Each mistake is told with the word that was wrong, so the player can find it.
TEST(CommandLineParse, AMistakeNamesTheOptionOrWordThatWasWrong) {
    struct Case {
        std::vector<std::string> args;
        std::vector<const char*> named;
    };
    const Case cases[] = {
        {{"--bogus"}, {"unknown option", "--bogus"}},
        {{"--window", "-x"}, {"unknown option", "-x"}},
        {{"level"}, {"unexpected argument", "level"}},
        {{"--level"}, {"--level", "needs a value"}},
        {{"--level", "twelve"}, {"--level", "twelve"}},
        {{"--level", "0"}, {"--level", "'0'"}},
        {{"--level", "12x"}, {"--level", "12x"}},
        {{"--level=-3"}, {"--level", "-3"}},
        {{"--quit-after", "level"}, {"--quit-after", "splash", "menu", "'level'"}},
        {{"--quit-after"}, {"--quit-after", "needs a value"}},
        {{"--window=yes"}, {"--window", "takes no value"}},
        {{"--bogus=1"}, {"unknown option", "--bogus"}},
        {{"--help", "--bogus"}, {"--bogus"}},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& a : c.args) joined += a + " ";
        SCOPED_TRACE(joined);
        const CommandLine line = CommandLine::Parse(c.args);
        EXPECT_EQ(line.action, Action::MISTAKE);
        for (const char* word : c.named) EXPECT_NE(line.mistake.find(word), std::string::npos) << line.mistake;
    }
}

TEST(CommandLineParse, TheHelpNamesEveryOptionAPlayerMayType) {
    const std::string help = CommandLine::HelpText("totem-riff");
    EXPECT_EQ(help.rfind("Usage: totem-riff ", 0), 0u) << help;
    for (const char* option : {"--window", "--level", "--help", "--version", "--trace", "--fps", "--quit-after",
                               "--autoplay", "XDG_DATA_HOME"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

struct ProgramRun {
    int status;
    std::string out, err;
};

// The built game with `args`, its two outputs kept apart.
ProgramRun RunProgram(const std::vector<std::string>& args) {
    const fs::path dir = TestTempPath("command_line");
    fs::create_directories(dir);
    std::vector<std::string> argv = {"/bin/sh", "-c", "\"$0\" \"$@\" >'" + (dir / "out").string() + "' 2>'" +
                                                          (dir / "err").string() + "'",
                                     TOTEM_GAME_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    // Nothing to show on: an option that started the game would end at once.
    const int status = RunChild(argv, {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"}, 30000);
    ProgramRun run{status, Slurp(dir / "out"), Slurp(dir / "err")};
    fs::remove_all(dir);
    return run;
}

TEST(CommandLineProgram, HelpAndVersionPrintOnStandardOutputAndEndWell) {
    const ProgramRun help = RunProgram({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, CommandLine::HelpText("totem-riff"));
    EXPECT_EQ(help.err, "");
    const ProgramRun version = RunProgram({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("totem-riff ") + TOTEM_VERSION + "\n");
    EXPECT_EQ(version.err, "");
}

TEST(CommandLineProgram, AMistakeEndsWithStatusTwoAndOneClearLineOnStandardError) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--bogus"}, {"--level", "twelve"}, {"--quit-after"}}) {
        SCOPED_TRACE(args[0]);
        const ProgramRun run = RunProgram(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        const std::string expected = "totem-riff: " + CommandLine::Parse(args).mistake + "\n";
        EXPECT_EQ(run.err.rfind(expected, 0), 0u) << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << "points to the help";
        EXPECT_NE(run.err.find(args[0]), std::string::npos);
    }
}

}  // namespace
