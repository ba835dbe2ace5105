#include "game/GameplayEvents.h"

#include <deque>
#include <utility>

namespace {
constexpr size_t kMaxLogged = 100000;

// A deque drops its oldest entry cheaply; the vector the log is read through
// is rebuilt only when someone reads it after a change.
std::deque<GameplayEvent> events;
std::vector<GameplayEvent> snapshot;
bool snapshotStale = false;
std::function<void(const GameplayEvent&)> eventListener;
std::function<void(const std::string&)> prizeReceiver, hintReceiver;

void Send(EventTarget target, const std::string& name) {
    events.push_back({target, name});
    if (events.size() > kMaxLogged) events.pop_front();
    snapshotStale = true;
    // Copies first: a receiver or the listener may detach itself or send
    // further events.
    const GameplayEvent sent = events.back();
    if (auto receiver = target == EventTarget::Prizes ? prizeReceiver : hintReceiver) receiver(sent.name);
    if (auto listener = eventListener) listener(sent);
}
}  // namespace

void SendPrizeEvent(const std::string& name) { Send(EventTarget::Prizes, name); }

void SendHintEvent(const std::string& name) { Send(EventTarget::Hints, name); }

const std::vector<GameplayEvent>& GameplayEventLog() {
    if (snapshotStale) {
        snapshot.assign(events.begin(), events.end());
        snapshotStale = false;
    }
    return snapshot;
}

void ClearGameplayEvents() {
    events.clear();
    snapshot.clear();
    snapshotStale = false;
}

int CountGameplayEvents(EventTarget target, const std::string& name) {
    int count = 0;
    for (const auto& e : events)
        if (e.target == target && e.name == name) ++count;
    return count;
}

void SetGameplayEventListener(std::function<void(const GameplayEvent&)> listener) {
    eventListener = std::move(listener);
}

void SetGameplayEventReceiver(EventTarget target, std::function<void(const std::string&)> receiver) {
    (target == EventTarget::Prizes ? prizeReceiver : hintReceiver) = std::move(receiver);
}
