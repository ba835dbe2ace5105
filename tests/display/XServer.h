#pragma once
#include <sys/types.h>

#include <string>

// A private X server (Xvfb) for one group of display tests: it picks a free
// display number itself, so tests never meet a developer's desktop or each
// other, and it is stopped when the object goes. Works with no display at all
// (CI), which is the point.
class XServer {
public:
    XServer() = default;
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Starts the server with one screen of `width`×`height`; false with the
    // reason in `problem` when Xvfb is missing or does not come up.
    bool Start(int width, int height, std::string& problem);
    void Stop();
    bool Running() const { return pid_ > 0; }
    // ":N", the value for DISPLAY.
    const std::string& Name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};
