#include "media/System.h"

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "media/Files.h"
#include "media/TStream.h"
#include "media/detail/SdlWindow.h"

extern char** environ;

namespace {
std::string title = "Totem Riff";
bool boxesEnabled = true;
std::string lastOpened;

bool HasDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) return false;
    const char* forced = std::getenv("SDL_VIDEODRIVER");
    if (forced && (std::strcmp(forced, "offscreen") == 0 || std::strcmp(forced, "dummy") == 0)) return false;
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
    size_t n = std::strlen(prefix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
    return true;
}

std::string AbsolutePath(const std::string& path) {
    char buf[PATH_MAX];
    if (realpath(NativePath(path).c_str(), buf)) return buf;
    return path;
}

std::string FolderOf(const std::string& path) {
    std::string p = NativePath(path);
    size_t slash = p.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

// The address inside an internet shortcut: its "URL=" line. A value without a
// scheme names a file beside the shortcut.
std::string ShortcutTarget(const std::string& path) {
    auto s = OpenRead(path);
    if (!s) return {};
    while (!s->Eof()) {
        std::string line = s->ReadLine();
        if (StartsWithNoCase(line, "url=")) {
            std::string url = line.substr(4);
            while (!url.empty() && std::isspace(static_cast<unsigned char>(url.back()))) url.pop_back();
            if (url.find(':') == std::string::npos && !url.empty())
                return "file://" + AbsolutePath(FolderOf(path) + "/" + url);
            return url;
        }
    }
    return {};
}

bool OnPath(const char* program) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string all = path;
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(':', start);
        if (end == std::string::npos) end = all.size();
        std::string candidate = all.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

void LaunchOpener(const std::string& target) {
    lastOpened = target;
    if (!HasDisplay() || !OnPath("xdg-open")) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string arg = target;
    char* argv[] = {const_cast<char*>("xdg-open"), arg.data(), nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, "xdg-open", &actions, nullptr, argv, environ) == 0) {
        // The opener hands the target over and exits; reap it without waiting long.
        int status;
        waitpid(pid, &status, WNOHANG);
    }
    posix_spawn_file_actions_destroy(&actions);
}
}  // namespace

void Notify(const std::string& text, bool serious) {
    std::cerr << title << ": " << text << std::endl;
    if (!boxesEnabled || !HasDisplay()) return;
    if (!media_detail::EnsureSdl(SDL_INIT_VIDEO)) return;
    SDL_ShowSimpleMessageBox(serious ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION, title.c_str(),
                             text.c_str(), media_detail::CurrentWindow());
}

void OpenURL(const std::string& target) {
    if (StartsWithNoCase(target, "http:") || StartsWithNoCase(target, "https:") ||
        StartsWithNoCase(target, "file:")) {
        LaunchOpener(target);
    } else if (PathKind(target) == 1) {
        if (StartsWithNoCase(PathExtension(target), "url") && PathExtension(target).size() == 3) {
            std::string url = ShortcutTarget(target);
            if (!url.empty()) LaunchOpener(url);
        } else {
            LaunchOpener("file://" + AbsolutePath(target));
        }
    } else {
        LaunchOpener("http:" + target);
    }
}

void PrintLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

double ProcessAgeMs() {
    std::ifstream file("/proc/self/stat");
    std::string stat;
    if (!std::getline(file, stat)) return -1;
    // The program's name, in brackets, may hold spaces: count fields after it.
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) return -1;
    std::istringstream fields(stat.substr(nameEnd + 1));
    // The start time is the 22nd field; the name was the 2nd.
    std::string field;
    for (int i = 3; i <= 22; ++i)
        if (!(fields >> field)) return -1;
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    timespec now{};
    if (ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0) return -1;
    const double startMs = std::strtod(field.c_str(), nullptr) * 1000.0 / double(ticksPerSecond);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6 - startMs;
}

double ProcessCpuMs() {
    timespec used{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used) != 0) return -1;
    return double(used.tv_sec) * 1000.0 + double(used.tv_nsec) / 1e6;
}

std::string ProgramFolder() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : program.parent_path().string();
}

void SetAppTitle(const std::string& t) {
    title = t;
    if (SDL_Window* w = media_detail::CurrentWindow()) SDL_SetWindowTitle(w, title.c_str());
}

const std::string& AppTitle() { return title; }
void SetNotifyBoxesEnabled(bool enabled) { boxesEnabled = enabled; }
const std::string& LastOpenedURL() { return lastOpened; }

void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
