#pragma once
#include <functional>
#include <string>
#include <vector>

// The gameplay event names ("notepick", "starclick", "melodycomplete", …) go
// to two receivers: the prizes and the hint window. They live in a layer above
// the game, which installs them here. For tests and tools every event is also
// recorded in the order sent, and one listener may watch them all.
enum class EventTarget { Prizes, Hints };

struct GameplayEvent {
    EventTarget target;
    std::string name;
};

// Sends `name` to the prizes.
void SendPrizeEvent(const std::string& name);
// Sends `name` to the hint window.
void SendHintEvent(const std::string& name);

// The events sent since the last ClearGameplayEvents (at most the newest
// 100000, so a long session cannot grow it without bound).
const std::vector<GameplayEvent>& GameplayEventLog();
void ClearGameplayEvents();
// How many events of that name went to that target since the last clear.
int CountGameplayEvents(EventTarget target, const std::string& name);
// Called for every event after it is recorded and received; empty function
// to detach.
void SetGameplayEventListener(std::function<void(const GameplayEvent&)> listener);
// The receiver of one target's events (the prizes, the hint window); called
// before the listener. Empty function to detach.
void SetGameplayEventReceiver(EventTarget target, std::function<void(const std::string&)> receiver);
