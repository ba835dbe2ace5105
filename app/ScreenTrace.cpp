#include "app/ScreenTrace.h"

#include <algorithm>
#include <iterator>

#include "game/PlayTrace.h"
#include "gui/TWidgetmanager.h"
#include "gui/TWindow.h"

std::vector<std::string> ScreenTrace::shown_;

namespace {

// Ids of the visible windows, sorted; a window shown twice is listed twice.
std::vector<std::string> ShownWindows() {
    std::vector<std::string> ids;
    if (!WidgetManager) return ids;
    for (const WidgetPtr& widget : WidgetManager->WidgetsList) {
        const auto* window = dynamic_cast<const TWindow*>(widget.get());
        if (window && window->Visible != 0 && !window->id.empty()) ids.push_back(window->id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::vector<std::string> Without(const std::vector<std::string>& all, const std::vector<std::string>& some) {
    std::vector<std::string> rest;
    std::set_difference(all.begin(), all.end(), some.begin(), some.end(), std::back_inserter(rest));
    return rest;
}

}  // namespace

void ScreenTrace::AfterFrame() {
    if (!PlayTraceOn()) return;
    std::vector<std::string> now = ShownWindows();
    for (const std::string& id : Without(shown_, now)) TracePlay("dialog " + id + " closed");
    for (const std::string& id : Without(now, shown_)) TracePlay("dialog " + id + " open");
    shown_ = std::move(now);
}
