#include "display/GameProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

#include "support/ChildProcess.h"

GameProcess::~GameProcess() { Stop(); }

bool GameProcess::Start(const std::string& gameDir, const std::vector<std::string>& args,
                        const std::vector<std::string>& env) {
    Stop();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    std::vector<std::string> argv{gameDir + "/totem-riff"};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = SpawnChild(argv, env, gameDir, {}, ChildOutput::Inherit, fds[1]);
    ::close(fds[1]);
    if (pid_ <= 0) {
        ::close(fds[0]);
        return false;
    }
    exit_.reset();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.clear();
    }
    stopReading_ = false;
    reader_ = std::thread([this, fd = fds[0]] { ReadLines(fd); });
    return true;
}

void GameProcess::ReadLines(int fd) {
    std::string partial;
    char buffer[4096];
    while (!stopReading_) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        partial.append(buffer, static_cast<size_t>(n));
        std::lock_guard<std::mutex> lock(mutex_);
        for (size_t nl; (nl = partial.find('\n')) != std::string::npos; partial.erase(0, nl + 1))
            lines_.push_back(partial.substr(0, nl));
        changed_.notify_all();
    }
    ::close(fd);
}

bool GameProcess::Running() {
    if (pid_ <= 0 || exit_) return false;
    exit_ = WaitChild(pid_, 0);
    return !exit_;
}

size_t GameProcess::Mark() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_.size();
}

std::vector<std::string> GameProcess::LinesFrom(size_t from) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (from >= lines_.size()) return {};
    return {lines_.begin() + static_cast<std::ptrdiff_t>(from), lines_.end()};
}

std::optional<std::string> GameProcess::WaitFor(const std::function<bool(const std::string&)>& match, size_t from,
                                                int timeoutMs, size_t* index) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock<std::mutex> lock(mutex_);
    for (size_t i = from;;) {
        for (; i < lines_.size(); ++i) {
            if (!match(lines_[i])) continue;
            if (index) *index = i;
            return lines_[i];
        }
        if (changed_.wait_until(lock, until) == std::cv_status::timeout) {
            for (; i < lines_.size(); ++i)
                if (match(lines_[i])) {
                    if (index) *index = i;
                    return lines_[i];
                }
            return std::nullopt;
        }
    }
}

std::optional<std::string> GameProcess::WaitForLine(const std::string& line, size_t from, int timeoutMs,
                                                    size_t* index) {
    return WaitFor([&](const std::string& l) { return l == line; }, from, timeoutMs, index);
}

std::optional<int> GameProcess::WaitExit(int timeoutMs) {
    if (pid_ <= 0) return exit_;
    if (!exit_) exit_ = WaitChild(pid_, timeoutMs);
    return exit_;
}

void GameProcess::Stop() {
    if (pid_ > 0 && !exit_) exit_ = StopChild(pid_, 3000);
    stopReading_ = true;
    if (reader_.joinable()) reader_.join();
}
