#include "display/GameOnDisplay.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "support/ChildProcess.h"

namespace {

constexpr int kScreenW = 1024, kScreenH = 768;
constexpr int kWindowTimeoutMs = 60000;
constexpr int kPlayingTimeoutMs = 120000;

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (size_t start = 0; start <= dirs.size();) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        if (std::filesystem::exists(std::filesystem::path(dirs.substr(start, end - start)) / program)) return true;
        start = end + 1;
    }
    return false;
}

std::string Seconds(int ms) { return std::to_string(ms / 1000) + "." + std::to_string(1000 + ms % 1000).substr(1); }

}  // namespace

std::string GameOnDisplay::GameDir() { return std::string(TOTEM_BINARY_DIR) + "/game"; }

std::string GameOnDisplay::WhyNotHere() {
    if (!std::filesystem::is_regular_file(GameDir() + "/res.xml") ||
        !std::filesystem::is_regular_file(GameDir() + "/totem-riff"))
        return "the game and its content are not built in this tree (" + GameDir() + ")";
    if (!OnPath("Xvfb")) return "Xvfb is not installed (scripts/install-deps.sh installs it)";
    if (!OnPath("xdotool")) return "xdotool is not installed (scripts/install-deps.sh installs it)";
    return "";
}

GameOnDisplay::~GameOnDisplay() { Stop(); }

bool GameOnDisplay::Start(int level, std::string& problem) {
    if (!StartServer(problem)) return false;
    if (!Launch(GameDir(), {"--level", std::to_string(level), "--trace", "--window"}, problem)) return false;
    if (!game_.WaitForLine("level " + std::to_string(level) + " playing", 0, kPlayingTimeoutMs)) {
        problem = "the level did not start playing";
        return false;
    }
    return true;
}

bool GameOnDisplay::StartServer(std::string& problem) {
    if (!server_.Start(kScreenW, kScreenH, problem)) return false;
    client_ = std::make_unique<XClient>(server_.Name());
    if (!client_->Connected()) {
        problem = "cannot connect to the test's X server " + server_.Name();
        return false;
    }
    return true;
}

bool GameOnDisplay::Launch(const std::string& gameDir, const std::vector<std::string>& args, std::string& problem) {
    // The game as a player on an X desktop runs it: real window system, sound
    // into the dummy device so tests stay silent.
    const std::vector<std::string> env{"DISPLAY=" + server_.Name(), "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                                       "WAYLAND_DISPLAY"};
    if (!game_.Start(gameDir, args, env)) {
        problem = "the game cannot be started";
        return false;
    }
    window_ = client_->WindowOfProcess(game_.Pid(), kWindowTimeoutMs);
    if (!window_) {
        problem = "the game's window did not appear";
        return false;
    }
    client_->Focus(window_);
    return true;
}

bool GameOnDisplay::FindWindow(int timeoutMs) {
    window_ = client_->WindowOfProcess(game_.Pid(), timeoutMs);
    if (window_) client_->Focus(window_);
    return window_ != 0;
}

void GameOnDisplay::StopGame() {
    game_.Stop();
    window_ = 0;
}

void GameOnDisplay::Stop() {
    game_.Stop();
    client_.reset();
    server_.Stop();
}

int GameOnDisplay::BatLine() {
    const std::vector<std::string> lines = game_.LinesFrom(0);
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (it->rfind("bat line ", 0) == 0) return std::atoi(it->c_str() + 9);
    return 1;
}

bool GameOnDisplay::Paused() {
    const std::vector<std::string> lines = game_.LinesFrom(0);
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        if (*it == "paused") return true;
        if (*it == "resumed") return false;
    }
    return false;
}

bool GameOnDisplay::WaitBatLine(int line, int timeoutMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const size_t mark = game_.Mark();
        if (BatLine() == line) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        game_.WaitFor([](const std::string& l) { return l.rfind("bat line ", 0) == 0; }, mark,
                      static_cast<int>(left.count()));
    }
}

bool GameOnDisplay::MoveMouse(int dx, int stepPx, int stepMs) {
    // One xdotool run for the whole movement, so the steps keep their pace.
    // Steps of unequal length, as a hand makes them: SDL takes a raw motion
    // event equal to the one before it with the same server time for a
    // duplicate and drops it, and a busy server can stamp two steps alike.
    std::vector<std::string> args;
    const int sign = dx < 0 ? -1 : 1;
    bool shorter = false;
    for (int left = std::abs(dx); left > 0; shorter = !shorter) {
        const int step = std::min(left, shorter && stepPx > 1 ? stepPx - 1 : stepPx);
        left -= step;
        if (!args.empty()) args.insert(args.end(), {"sleep", Seconds(stepMs)});
        args.insert(args.end(), {"mousemove_relative", "--", std::to_string(sign * step), "0"});
    }
    return args.empty() || client_->Xdotool(args);
}

bool GameOnDisplay::Click(int button) { return client_->Xdotool({"click", std::to_string(button)}); }

bool GameOnDisplay::Button(int button, bool down) {
    return client_->Xdotool({down ? "mousedown" : "mouseup", std::to_string(button)});
}

bool GameOnDisplay::Key(const std::string& key, bool down) {
    return client_->Xdotool({down ? "keydown" : "keyup", key});
}

bool GameOnDisplay::PointAt(int x, int y) {
    return client_->Xdotool({"mousemove", "--window", std::to_string(window_), std::to_string(x), std::to_string(y)});
}
