#include "display/XServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/ChildProcess.h"

XServer::~XServer() { Stop(); }

bool XServer::Start(int width, int height, std::string& problem) {
    Stop();
    int fds[2];
    if (::pipe(fds) != 0) {
        problem = "no pipe for the X server's display number";
        return false;
    }
    // -displayfd: the server takes the first free display number and writes
    // it to the pipe once it accepts connections.
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_ = SpawnChild({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten", "tcp",
                       "-ac", "-noreset"},
                      {}, "", {fds[1]}, ChildOutput::Discard);
    ::close(fds[1]);
    if (pid_ <= 0) {
        ::close(fds[0]);
        problem = "Xvfb cannot be started (is the xvfb package installed?)";
        return false;
    }
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (::poll(&p, 1, 10000) > 0) {
        char c;
        if (::read(fds[0], &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    ::close(fds[0]);
    if (number.empty()) {
        Stop();
        problem = "Xvfb did not report a display number";
        return false;
    }
    name_ = ":" + number;
    return true;
}

void XServer::Stop() {
    if (pid_ > 0) StopChild(pid_, 5000);
    pid_ = -1;
    name_.clear();
}
