#include "app/ColdStart.h"

#include <cstdio>

#include "core/QuitRequest.h"
#include "media/System.h"

ColdStart::Moment ColdStart::quitAfter_ = ColdStart::Moment::NONE;
double ColdStart::mainMs_ = -1;
double ColdStart::firstSplashMs_ = -1;
double ColdStart::splashesEndMs_ = -1;
double ColdStart::firstSplashCpuMs_ = -1;
double ColdStart::splashesEndCpuMs_ = -1;
bool ColdStart::loopFrameSeen_ = false;

namespace {
std::string Ms(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", ms);
    return text;
}
}  // namespace

bool ColdStart::QuitAfter(const std::string& moment) {
    if (moment == "splash") quitAfter_ = Moment::SPLASH;
    else if (moment == "menu") quitAfter_ = Moment::MENU;
    else return false;
    return true;
}

void ColdStart::MainEntered() { mainMs_ = ProcessAgeMs(); }

void ColdStart::SplashFramePresented() {
    if (firstSplashMs_ >= 0) return;
    firstSplashMs_ = ProcessAgeMs();
    firstSplashCpuMs_ = ProcessCpuMs();
    if (quitAfter_ != Moment::SPLASH) return;
    Report("first splash frame", firstSplashMs_, firstSplashCpuMs_, "");
    RequestQuit(0);
}

void ColdStart::SplashesEnded() {
    if (firstSplashMs_ < 0) return;
    splashesEndMs_ = ProcessAgeMs();
    splashesEndCpuMs_ = ProcessCpuMs();
}

void ColdStart::LoopFramePresented() {
    if (loopFrameSeen_) return;
    loopFrameSeen_ = true;
    if (quitAfter_ != Moment::MENU) return;
    const double elapsed = ProcessAgeMs();
    const double splashes = splashesEndMs_ >= 0 ? splashesEndMs_ - firstSplashMs_ : 0;
    const double splashesCpu = splashesEndMs_ >= 0 ? splashesEndCpuMs_ - firstSplashCpuMs_ : 0;
    Report("menu ready", elapsed - splashes, ProcessCpuMs() - splashesCpu,
           Ms(elapsed) + " elapsed less " + Ms(splashes) + " of splashes shown");
    RequestQuit(0);
}

void ColdStart::Report(const std::string& what, double ms, double cpuMs, const std::string& detail) {
    std::string line = "cold start: " + what + " " + Ms(ms) + " after the process started, cpu " + Ms(cpuMs) + " (";
    if (!detail.empty()) line += detail + "; ";
    line += "main entered at " + Ms(mainMs_) + ")";
    PrintLine(line);
}
