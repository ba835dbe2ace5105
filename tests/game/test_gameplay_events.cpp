#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/GameplayEvents.h"

namespace {

class GameplayEventsTest : public ::testing::Test {
protected:
    void SetUp() override { ClearGameplayEvents(); }
    void TearDown() override {
        SetGameplayEventListener(nullptr);
        SetGameplayEventReceiver(EventTarget::Prizes, nullptr);
        SetGameplayEventReceiver(EventTarget::Hints, nullptr);
        ClearGameplayEvents();
    }
};

TEST_F(GameplayEventsTest, EventsAreLoggedInOrderWithTheirTarget) {
    SendPrizeEvent("notepick");
    SendHintEvent("notepick");
    SendPrizeEvent("melodycomplete");
    const auto& log = GameplayEventLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].target, EventTarget::Prizes);
    EXPECT_EQ(log[0].name, "notepick");
    EXPECT_EQ(log[1].target, EventTarget::Hints);
    EXPECT_EQ(log[2].name, "melodycomplete");
    EXPECT_EQ(CountGameplayEvents(EventTarget::Prizes, "notepick"), 1);
    EXPECT_EQ(CountGameplayEvents(EventTarget::Hints, "notepick"), 1);
    EXPECT_EQ(CountGameplayEvents(EventTarget::Hints, "melodycomplete"), 0);
    ClearGameplayEvents();
    EXPECT_TRUE(GameplayEventLog().empty());
    EXPECT_EQ(CountGameplayEvents(EventTarget::Prizes, "notepick"), 0);
}

TEST_F(GameplayEventsTest, TheLogKeepsOnlyTheNewestHundredThousand) {
    constexpr int kCap = 100000, kExtra = 7;
    for (int i = 0; i < kCap + kExtra; ++i) SendPrizeEvent(i < kExtra ? "old" : "new");
    const auto& log = GameplayEventLog();
    ASSERT_EQ(log.size(), size_t(kCap));
    EXPECT_EQ(CountGameplayEvents(EventTarget::Prizes, "old"), 0);
    EXPECT_EQ(CountGameplayEvents(EventTarget::Prizes, "new"), kCap);
    SendHintEvent("last");
    EXPECT_EQ(GameplayEventLog().size(), size_t(kCap));
    EXPECT_EQ(GameplayEventLog().back().name, "last");
}

TEST_F(GameplayEventsTest, TheListenerHearsEachEventAfterItIsLogged) {
    std::vector<std::string> heard;
    SetGameplayEventListener([&](const GameplayEvent& e) {
        // Already in the log when the listener runs.
        EXPECT_EQ(GameplayEventLog().back().name, e.name);
        heard.push_back((e.target == EventTarget::Prizes ? "P:" : "H:") + e.name);
    });
    SendPrizeEvent("starclick");
    SendHintEvent("melodyfail");
    SetGameplayEventListener(nullptr);
    SendPrizeEvent("ignored");
    EXPECT_EQ(heard, (std::vector<std::string>{"P:starclick", "H:melodyfail"}));
    EXPECT_EQ(GameplayEventLog().size(), 3u);
}

TEST_F(GameplayEventsTest, AListenerMayDetachItselfOrSendMore) {
    int calls = 0;
    SetGameplayEventListener([&](const GameplayEvent& e) {
        ++calls;
        if (e.name == "first") SendHintEvent("echo");
        if (e.name == "echo") SetGameplayEventListener(nullptr);
    });
    SendPrizeEvent("first");
    SendPrizeEvent("after");
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(GameplayEventLog().size(), 3u);
    EXPECT_EQ(CountGameplayEvents(EventTarget::Hints, "echo"), 1);
}

TEST_F(GameplayEventsTest, EachReceiverGetsItsTargetsEventsBeforeTheListener) {
    std::vector<std::string> heard;
    SetGameplayEventReceiver(EventTarget::Prizes, [&](const std::string& name) { heard.push_back("prizes:" + name); });
    SetGameplayEventReceiver(EventTarget::Hints, [&](const std::string& name) { heard.push_back("hints:" + name); });
    SetGameplayEventListener([&](const GameplayEvent& e) { heard.push_back("listener:" + e.name); });
    SendPrizeEvent("starclick");
    SendHintEvent("starpick");
    SetGameplayEventReceiver(EventTarget::Prizes, nullptr);
    SendPrizeEvent("notepick");
    EXPECT_EQ(heard, (std::vector<std::string>{"prizes:starclick", "listener:starclick", "hints:starpick",
                                               "listener:starpick", "listener:notepick"}));
}

}  // namespace
