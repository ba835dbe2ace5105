#pragma once
#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// The built game run as a program of its own, the way a player starts it,
// with its standard output read line by line as it comes. Tests wait for
// lines (the play trace, the level's results) and for the program's end.
class GameProcess {
public:
    GameProcess() = default;
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Starts `gameDir`/totem-riff in `gameDir` with `args`; `env` as for
    // SpawnChild. False when it cannot be started.
    bool Start(const std::string& gameDir, const std::vector<std::string>& args, const std::vector<std::string>& env);
    pid_t Pid() const { return pid_; }
    bool Running();

    // How many lines have come so far: a mark to wait from.
    size_t Mark();
    // Every line from `from` on.
    std::vector<std::string> LinesFrom(size_t from);
    // The first line at or after `from` that `match` accepts, waiting up to
    // `timeoutMs` for it; its index is put in `index` when given.
    std::optional<std::string> WaitFor(const std::function<bool(const std::string&)>& match, size_t from,
                                       int timeoutMs, size_t* index = nullptr);
    std::optional<std::string> WaitForLine(const std::string& line, size_t from, int timeoutMs,
                                           size_t* index = nullptr);

    // Waits up to `timeoutMs` for the program to end by itself: its exit
    // code, or minus the signal that ended it.
    std::optional<int> WaitExit(int timeoutMs);
    // Ends the program if it still runs.
    void Stop();

private:
    void ReadLines(int fd);

    pid_t pid_ = -1;
    std::optional<int> exit_;
    std::thread reader_;
    std::atomic<bool> stopReading_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
};
