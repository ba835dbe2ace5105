#include "app/CommandLine.h"

#include <charconv>

namespace {
constexpr int kLargestLevel = 999;

bool TakesValue(const std::string& option) { return option == "--level" || option == "--quit-after"; }

// A level number as a person types it: digits only, from 1.
bool ReadLevel(const std::string& text, int& level) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > kLargestLevel) return false;
    level = value;
    return true;
}

// Applies one option with its value (empty for those that take none);
// false with `mistake` set when the value is not one the option takes.
bool Apply(CommandLine& line, const std::string& option, const std::string& value) {
    if (option == "--level") {
        if (ReadLevel(value, line.level)) return true;
        line.mistake = "option '--level' takes a level number from 1, not '" + value + "'";
        return false;
    }
    if (option == "--quit-after") {
        if (value == "splash" || value == "menu") {
            line.quitAfter = value;
            return true;
        }
        line.mistake = "option '--quit-after' takes 'splash' or 'menu', not '" + value + "'";
        return false;
    }
    if (option == "--trace") line.trace = true;
    else if (option == "--window") line.window = true;
    else if (option == "--autoplay") line.autoplay = true;
    else if (option == "--fps") line.fps = true;
    else if (option == "--help" || option == "-h") line.action = CommandLine::Action::HELP;
    else if (option == "--version") line.action = CommandLine::Action::VERSION;
    else {
        line.mistake = option.starts_with("-") ? "unknown option '" + option + "'"
                                               : "unexpected argument '" + option + "'";
        return false;
    }
    return true;
}
}  // namespace

CommandLine CommandLine::Parse(const std::vector<std::string>& args) {
    CommandLine line;
    // Help and version win over whatever else is on the line, but a mistake
    // anywhere is still told: the player may have meant something else.
    for (size_t i = 0; i < args.size(); ++i) {
        std::string option = args[i];
        std::string value;
        const size_t equals = option.find('=');
        const bool joined = option.starts_with("--") && equals != std::string::npos;
        if (joined) {
            value = option.substr(equals + 1);
            option.resize(equals);
        }
        if (TakesValue(option) && !joined) {
            if (i + 1 >= args.size()) {
                line.action = Action::MISTAKE;
                line.mistake = "option '" + option + "' needs a value";
                return line;
            }
            value = args[++i];
        } else if (joined && !TakesValue(option)) {
            // An unknown option is told as unknown, whatever follows it.
            if (Apply(line, option, value)) line.mistake = "option '" + option + "' takes no value";
            line.action = Action::MISTAKE;
            return line;
        }
        if (!Apply(line, option, value)) {
            line.action = Action::MISTAKE;
            return line;
        }
    }
    return line;
}

std::string CommandLine::HelpText(const std::string& program) {
    return "Usage: " + program + " [OPTION]...\n"
           "Totem Riff, a rhythm game: steer the catcher with the mouse and catch the notes\n"
           "of the island's songs.\n"
           "\n"
           "  --window            play in a window, whatever the options say\n"
           "  --level N           start level N directly (Escape then quits)\n"
           "  -h, --help          show this help and quit\n"
           "  --version           show the version and quit\n"
           "\n"
           "For measuring and testing:\n"
           "  --trace             write each catch, miss, pause and screen on standard output\n"
           "  --fps               write the frames shown each second and the slowest frame\n"
           "  --quit-after WHEN   quit at the first 'splash' or 'menu' frame and write how\n"
           "                      long the start took\n"
           "  --autoplay          let levels play themselves, fast\n"
           "\n"
           "Profiles (User.dat) and options (options.dat) are kept beside the game when its\n"
           "folder can be written to, otherwise in $XDG_DATA_HOME/totem-riff\n"
           "(~/.local/share/totem-riff when XDG_DATA_HOME is not set).\n";
}
