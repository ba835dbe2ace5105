#include "game/GameplayEvents.h"

#include <algorithm>

namespace {

constexpr size_t kMaxLogged = 100000;

std::vector<GameplayEvent>& Log() {
    static std::vector<GameplayEvent> log;
    return log;
}

std::function<void(const GameplayEvent&)>& Listener() {
    static std::function<void(const GameplayEvent&)> listener;
    return listener;
}

void Send(EventTarget target, const std::string& name) {
    auto& log = Log();
    // Drop the older half at once so a long session costs no per-event shifting.
    if (log.size() >= kMaxLogged) log.erase(log.begin(), log.begin() + static_cast<std::ptrdiff_t>(kMaxLogged / 2));
    log.push_back({target, name});
    if (Listener()) Listener()(log.back());
}

}  // namespace

void SendPrizeEvent(const std::string& name) { Send(EventTarget::Prizes, name); }
void SendHintEvent(const std::string& name) { Send(EventTarget::Hints, name); }

const std::vector<GameplayEvent>& GameplayEventLog() { return Log(); }
void ClearGameplayEvents() { Log().clear(); }

int CountGameplayEvents(EventTarget target, const std::string& name) {
    return static_cast<int>(std::count_if(Log().begin(), Log().end(), [&](const GameplayEvent& e) {
        return e.target == target && e.name == name;
    }));
}

void SetGameplayEventListener(std::function<void(const GameplayEvent&)> listener) {
    Listener() = std::move(listener);
}
