#include "support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

// The child's environment, built before the fork: after it only
// async-signal-safe calls are allowed.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> result;
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool changed = false;
        for (const std::string& c : changes) changed = changed || nameOf(c) == nameOf(entry);
        if (!changed) result.push_back(entry);
    }
    for (const std::string& c : changes)
        if (c.find('=') != std::string::npos) result.push_back(c);
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

pid_t SpawnChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                 const std::string& workDir, const std::vector<int>& keepFds, ChildOutput output,
                 int stdoutFd) {
    if (argv.empty()) return -1;
    std::vector<std::string> args = argv;
    std::vector<std::string> envStrings = ChildEnvironment(env);
    std::vector<char*> argp = Pointers(args);
    std::vector<char*> envp = Pointers(envStrings);
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    // The child: a group of its own, so a stop reaches whatever it starts, and
    // ended with the test program even when that is killed (a test timeout),
    // so no X server or game outlives its test.
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (!workDir.empty() && ::chdir(workDir.c_str()) != 0) ::_exit(126);
    const int devNull = ::open("/dev/null", O_RDWR);
    if (stdoutFd >= 0) ::dup2(stdoutFd, STDOUT_FILENO);
    else if (output == ChildOutput::Discard) ::dup2(devNull, STDOUT_FILENO);
    if (output == ChildOutput::Discard) ::dup2(devNull, STDERR_FILENO);
    if (output == ChildOutput::Capture && stdoutFd >= 0) ::dup2(stdoutFd, STDERR_FILENO);
    ::dup2(devNull, STDIN_FILENO);
    for (int fd : keepFds) ::fcntl(fd, F_SETFD, 0);
    ::execvpe(argp[0], argp.data(), envp.data());
    ::_exit(127);
}

std::optional<int> WaitChild(pid_t pid, int timeoutMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
        if (r < 0) return -1;
        if (std::chrono::steady_clock::now() >= until) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::optional<int> StopChild(pid_t pid, int graceMs) {
    ::kill(pid, SIGTERM);
    std::optional<int> result = WaitChild(pid, graceMs);
    if (result) return result;
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
    return WaitChild(pid, 5000);
}

int RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& env, int timeoutMs) {
    const pid_t pid = SpawnChild(argv, env, "", {}, ChildOutput::Discard);
    if (pid <= 0) return -1;
    std::optional<int> result = WaitChild(pid, timeoutMs);
    if (!result) result = StopChild(pid, 1000);
    return result && *result >= 0 ? *result : -1;
}
