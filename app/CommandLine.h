#pragma once
#include <string>
#include <vector>

// What the program was asked to do on its command line. It is read before
// anything starts, so a mistyped option ends the program at once with a line
// naming it, instead of starting a game the player did not ask for.
class CommandLine {
public:
    enum class Action { PLAY, HELP, VERSION, MISTAKE };

    // `args` are the words after the program's name. "--level 12" and
    // "--level=12" are the same.
    static CommandLine Parse(const std::vector<std::string>& args);
    // The text of --help; `program` is the name it was started by.
    static std::string HelpText(const std::string& program);

    Action action = Action::PLAY;
    int level = 0;  // 0: start on the main menu
    bool trace = false;
    bool window = false;
    bool autoplay = false;
    bool fps = false;
    std::string quitAfter;  // "", "splash" or "menu"
    // For MISTAKE: what was wrong, naming the option or word.
    std::string mistake;
};
