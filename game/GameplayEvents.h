#pragma once
#include <functional>
#include <string>
#include <vector>

// The gameplay event names ("notepick", "starclick", "melodycomplete", …) go
// to two listeners: the prizes and the hint window. Both arrive later; until
// they do, and for tests, every event is recorded here in the order sent, and
// a listener may be attached to each target.
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
// Called for every event after it is recorded; empty function to detach.
void SetGameplayEventListener(std::function<void(const GameplayEvent&)> listener);
