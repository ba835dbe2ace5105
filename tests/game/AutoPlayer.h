#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <utility>
#include <memory>
#include <string>
#include <vector>

#include "game/TItem.h"
#include "game/TMidiFile.h"
#include "game/GameplayEvents.h"

// Plays the running level to its end the way a player does, for tests: it
// steers the catcher with injected mouse movements, clicks for frets and
// starred notes with injected button presses, and stays on a long note until
// its tail has passed. It looks at the items on the highway to decide (a test
// may), but every action goes through the window system's event queue and the
// main loop's PollEvents, like a real player's input.
//
// It also keeps its own account of what the rules should have paid: for every
// caught item the points its kind is worth at the progress it was caught, the
// multiplier of the combo meter when the points were awarded, and a meter of
// its own that follows the combo rules from the catch events alone, so the
// multiplier is not taken from the code under test.
//
// Use: start a level (Game->StartLevel), then Begin(), then PlayToEnd().
class AutoPlayer {
public:
    static constexpr int FRAME_MS = 17;

    enum class Kind { Note, StarredNote, Fret, Bonus };

    // One item of the highway from its spawn to its award, as the player saw it.
    struct ItemRecord {
        ItemPtr item;
        Kind kind = Kind::Note;
        int line = 0;
        int chartTime = 0;          // the chart note's start, ms
        bool longNote = false;
        int ruleStars = 0;          // stars a long note carries by the rule
        bool caught = false;
        float timeAtCatch = 0;      // progress in the frame it was caught
        int clicked = -1;           // starred notes and frets: 1 caught with a live click
        int catchFrame = -1;
        int awardFrame = -1;
        int starsCollected = 0;
        int mult = 0;               // multiplier of the player's own meter at the award
        int expectedPoints = 0;     // what the rules pay, multiplier included
        int awardedPoints = 0;      // the item's Points after the award
        bool missed = false;
    };

    // A completed melody: when it was judged and the multiplier then.
    struct MelodyRecord {
        int frame = 0;
        int mult = 0;
    };

    AutoPlayer();
    ~AutoPlayer();
    AutoPlayer(const AutoPlayer&) = delete;
    AutoPlayer& operator=(const AutoPlayer&) = delete;

    // Call right after the level has been started: takes the loop's clock from
    // here (the level start has reset GameClock) and the meter state the
    // highway carries over from an earlier level.
    void Begin();
    // Plays frames until Game->CompletedLevels moves on; false when the level
    // is still running after maxFrames.
    bool PlayToEnd(int maxFrames);
    // One frame of the main loop, with the player's decision between the
    // widgets' update and the event poll; without it when the player is
    // away (the window minimised, a menu open).
    void Frame(bool decide = true);
    // Notes (by chart start, ms) the player lets pass: it never steers onto
    // them and does not wait for them before a click. Bonus items are then not
    // chased either, so that no detour takes the catcher onto a note's line.
    void MissNotes(std::set<int> chartTimes) { toMiss_ = std::move(chartTimes); }

    // Every `frames`-th frame takes `ms` instead of FRAME_MS, as a frame does
    // when the machine stalls (0 = never).
    void StallEvery(int frames, int ms) {
        stallEvery_ = frames;
        stallMs_ = ms;
    }

    int Frames() const { return frame_; }
    // The furthest the band track stood from the chart's clock after a frame
    // (stalled frames aside), in ms; whether the lead track ever left it.
    double WorstTrackDriftMs() const { return worstTrackDrift_; }
    bool TracksApart() const { return tracksApart_; }
    const std::vector<ItemRecord>& Records() const { return done_; }
    const std::vector<MelodyRecord>& Melodies() const { return melodies_; }
    // Empty while the highway's combo meter has followed the player's own
    // meter; otherwise the first frame where they parted.
    const std::string& MeterMismatch() const { return meterMismatch_; }
    // Items missed that were not meant to be, clicks that were not live when
    // their item was caught, and other things the player could not do as
    // planned, one line each.
    const std::vector<std::string>& Problems() const { return problems_; }

    // The score the rules give for the items caught and the melodies
    // completed (one size per melody of the chart, in chart order).
    int ExpectedPoints(const std::vector<int>& melodySizes) const;

    // ---- The rules, written out once for the expectations ------------------
    // A starred note caught with a live click at progress t (before the multiplier).
    static int StarClickPoints(float t);
    // A fret caught at progress t (before the multiplier).
    static int FretPoints(float t);
    // A completed melody of n notes (before the multiplier).
    static int MelodyPoints(int n) { return 50 * n * (n - 1); }
    // Stars along a note of that length at that speed: offsets 1, 5, 9, … up
    // to int(length × speed − 1), only on long notes.
    static int RuleStars(float length, float speed);
    // The multiplier a meter value gives.
    static int MultiplierFor(float meter);
    // Circles of every melody of a chart (its chains with at least one
    // follower; frets in a chain get no circle), in chart order.
    static std::vector<int> MelodySizes(const TMidiFile& chart);

private:
    // The combo meter as the rules describe it, fed with the catch and miss
    // events of each frame.
    struct Meter {
        std::deque<int> entries;
        float value = 0;
        int32_t lastMinus = 0;
        int32_t goldRushStart = 0;
        void Add(int v) { entries.push_back(v); }
        void RemoveOldest(int count);
        void Step(float dt, float clock);
    };

    void OnEvent(const GameplayEvent& e);
    void MeasureTracks();
    void Observe(float dt);
    void Decide();
    void Steer();
    void Click();
    void Finish(ItemRecord& r);
    ItemRecord* Track(const ItemPtr& item);
    ItemRecord* Find(const TItem* item);
    // Milliseconds until the item's progress enters the catch window (negative inside it).
    static float MsToWindow(const TItem& item);
    // A note the player lets pass.
    bool Letting(const ItemRecord& r) const;
    // True when a click will still be live `ahead` ms from now, or one is on its way.
    bool ClickLiveIn(float ahead) const;

    int frame_ = 0;
    int32_t prevMs_ = 0;
    int levelsAtBegin_ = 0;
    std::map<const TItem*, ItemRecord> live_;
    std::vector<ItemRecord> done_;
    std::vector<MelodyRecord> melodies_;
    std::vector<GameplayEvent> frameEvents_;
    std::map<const TItem*, int> clickAtCatch_;
    Meter meter_;
    int multBefore_ = 1;  // the multiplier in force during this frame's catches
    std::string meterMismatch_;
    std::vector<std::string> problems_;
    int pressFrame_ = -100;    // frame whose poll carried the last press
    int releaseFrame_ = -100;  // … and the last release
    bool buttonDown_ = false;
    std::set<int> toMiss_;
    int stallEvery_ = 0, stallMs_ = FRAME_MS;
    double worstTrackDrift_ = 0;
    bool tracksApart_ = false;
};
