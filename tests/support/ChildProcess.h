#pragma once
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

// Starting and ending the programs a test runs beside itself (the X server,
// the game, the input client), without a shell in between.

// Capture: standard output and standard error both go to the given descriptor,
// in the order they were written.
enum class ChildOutput { Inherit, Discard, Capture };

// Starts argv[0] (looked up on PATH) in `workDir` (empty: this one). `env`
// changes the environment: "NAME=value" sets, a bare "NAME" removes. The
// descriptors in `keepFds` stay open in the child. Standard output goes to
// `stdoutFd` when it is not −1, else as `output` says; standard error as
// `output` says. Returns the child's process id, or −1.
pid_t SpawnChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                 const std::string& workDir, const std::vector<int>& keepFds, ChildOutput output,
                 int stdoutFd = -1);

// Waits up to `timeoutMs` for the child to end: its exit code, or minus the
// signal that ended it; nothing when it is still running.
std::optional<int> WaitChild(pid_t pid, int timeoutMs);

// Asks the child to end (SIGTERM), then ends it (SIGKILL) if it has not
// within `graceMs`, and reaps it. Returns what WaitChild returned.
std::optional<int> StopChild(pid_t pid, int graceMs);

// Runs a program to its end (at most `timeoutMs`): its exit code, or −1.
int RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& env, int timeoutMs);
