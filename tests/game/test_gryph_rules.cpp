// The rules of play on a running highway: the catch window, what a click
// adds, frets and their clicks, the muted lead track, the combo meter with its
// multipliers and gold rush, and long notes.
#include <cmath>

#include "HighwayTestSupport.h"
#include "game/TImpulseEffect.h"

namespace {

using namespace highway_test;

class RulesTest : public HighwayTest {
protected:
    // A level running with an empty highway, and no click left live from its
    // start: the first frames see the button up and open a 300 ms click.
    void StartQuietLevel(float speed = 1.0f) {
        LoadQuietChart();
        LevelSpeed = speed;
        Run(400, 10);
        ClearGameplayEvents();
    }
    int ImpulsesOf(const EffectPtr& effect) const {
        int n = 0;
        for (const auto& impulse : ImpulseEffects)
            if (impulse && impulse->Emitter[0] && impulse->Emitter[0]->Config == effect) ++n;
        return n;
    }
    // The clocks of the 10 ms frames in which the combo list lost an entry.
    std::vector<int32_t> DecayTimes(int ms) {
        std::vector<int32_t> removed;
        size_t size = gryph->RazogrevList.size();
        for (int done = 0; done < ms; done += 10) {
            Frame(10);
            if (gryph->RazogrevList.size() < size) removed.push_back(int32_t(GameClock));
            size = gryph->RazogrevList.size();
        }
        return removed;
    }
    // Frames of 10 ms until the item is out of the highway (at most 5 s).
    void RunUntilOut(const ItemPtr& item) {
        for (int i = 0; i < 500 && item->IsOut == 0; ++i) Frame(10);
        ASSERT_NE(item->IsOut, 0);
    }
};

// ---- The catch window ------------------------------------------------------

TEST_F(RulesTest, CatchWindowIsStrictlyBetween81_25And83AtBothSpeeds) {
    // One frame takes a note to `to`; it is caught on that frame exactly when
    // the progress it reached lies strictly inside the window, and counted as
    // missed when it has gone past 83.
    const float tos[] = {81.2f, 81.25f, 81.3f, 82.0f, 82.95f, 83.0f, 83.4f, 90.0f};
    constexpr float ms = 17;
    for (float speed : {1.0f, 1.2f}) {
        for (float to : tos) {
            SCOPED_TRACE(testing::Message() << "speed " << speed << " to " << to);
            StartQuietLevel(speed);
            PutBatOn(2);
            const float from = to - After(0, ms, speed);
            NotePtr note = PutNote(2, from);
            ASSERT_FLOAT_EQ(note->SpeedCoef, speed);
            Frame(ms);
            const float t = note->time;
            EXPECT_NEAR(t, After(from, ms, speed), 1e-3);
            const bool inside = t > kWindowLow && t < kWindowHigh;
            EXPECT_EQ(note->PickUpStarted, inside ? 1 : 0) << "progress " << t;
            EXPECT_EQ(Prizes("notepick"), inside ? 1 : 0);
            const bool missed = t > kWindowHigh;
            EXPECT_EQ(note->SongError, missed ? 1 : 0);
            EXPECT_EQ(Prizes("notefail"), missed ? 1 : 0);
            if (missed) { EXPECT_EQ(gryph->ErrorTime, int32_t(GameClock)); }
            gryph->StopGame();
        }
    }
}

TEST_F(RulesTest, AStalledFrameStillCatchesTheNoteItCarriesThroughTheWindow) {
    // A frame of 100 or 300 ms would carry a note from 80 far past 83; the
    // highway moves it in steps of at most one frame, so the catcher waiting on
    // its line catches it inside the window, and nothing is missed.
    for (float speed : {1.0f, 1.6f}) {
        for (float ms : {100.0f, 300.0f}) {
            SCOPED_TRACE(testing::Message() << "speed " << speed << ", a frame of " << ms << " ms");
            StartQuietLevel(speed);
            PutBatOn(2);
            NotePtr note = PutNote(2, 80.0f);
            Frame(ms);
            EXPECT_EQ(note->PickUpStarted, 1) << "progress " << note->time;
            EXPECT_EQ(Prizes("notepick"), 1);
            EXPECT_EQ(Prizes("notefail"), 0);
            EXPECT_EQ(note->SongError, 0);
            gryph->StopGame();
        }
    }
}

// A suspended laptop or a swapping disk stops the loop for seconds: the
// player could not answer anything meanwhile, so the level goes on one frame
// after where it stopped, as after a pause, with every note still to play.
TEST_F(RulesTest, AStallOfSecondsIsTakenOutOfTheLevelAndCostsNoNote) {
    for (float ms : {600.0f, 10000.0f}) {
        SCOPED_TRACE(testing::Message() << "a frame of " << ms << " ms");
        StartQuietLevel();
        PutBatOn(2);
        NotePtr caught = PutNote(2, 80.0f);
        NotePtr other = PutNote(4, 80.0f);
        const int32_t songBefore = gryph->SongTime;
        Frame(ms);
        EXPECT_EQ(gryph->SongTime, songBefore + 17);
        EXPECT_NEAR(other->time, After(80.0f, 17, 1.0f), 0.01f);
        EXPECT_EQ(Prizes("notefail"), 0);
        EXPECT_EQ(other->SongError, 0);
        // And the level plays on from there: the one on the catcher's line is
        // caught, the other missed only when its window has passed.
        Run(170);
        EXPECT_EQ(caught->PickUpStarted, 1);
        EXPECT_EQ(other->SongError, 1);
        EXPECT_EQ(Prizes("notefail"), 1);
        gryph->StopGame();
        ClearGameplayEvents();
    }
}

// The tracks follow the chart's clock: a drift that a stall or a lost device
// leaves is undone at the next frame, one within a frame is left alone (a
// seek is heard as a skip).
TEST_F(RulesTest, TracksThatDriftFromTheChartArePutBackInStep) {
    struct Case {
        const char* name;
        int offsetMs;
        bool moved;
    };
    const Case cases[] = {{"500 ms ahead", 500, true},   {"500 ms behind", -500, true}, {"a frame ahead", 40, true},
                          {"10 ms ahead", 10, false},     {"10 ms behind", -10, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseSilentMixer();
        StartQuietLevel();
        // The mixer of a machine without a device follows the clock after each update.
        auto frame = [this] {
            Frame(17);
            AudioUpdate();
        };
        for (int i = 0; i < 30; ++i) frame();
        const auto trackMs = [this](const ChannelPtr& ch) { return double(ch->Position()) * 1000.0 / 44100.0; };
        ASSERT_NEAR(trackMs(gryph->SongChannel), gryph->SongTime, 1.0);
        ASSERT_TRUE(SeekChannels({gryph->GuitarChannel, gryph->SongChannel}, gryph->SongTime + c.offsetMs));
        frame();
        const double drift = trackMs(gryph->SongChannel) - gryph->SongTime;
        if (c.moved) {
            EXPECT_NEAR(drift, 0, 1.0) << "put back at the chart's time";
        } else {
            EXPECT_NEAR(drift, c.offsetMs, 1.0) << "left where it was";
        }
        EXPECT_EQ(gryph->GuitarChannel->Position(), gryph->SongChannel->Position()) << "the tracks move together";
        for (int i = 0; i < 10; ++i) frame();
        EXPECT_NEAR(trackMs(gryph->SongChannel) - gryph->SongTime, c.moved ? 0.0 : c.offsetMs, 1.0);
        gryph->StopGame();
    }
}

TEST_F(RulesTest, ChartNoteIsCaughtOnTheFirstFrameInsideTheWindow) {
    // A note of the chart at 3000 ms, 1 ms frames: it spawns on the first
    // frame at or after 3000 − 2445 / speed and is caught on the first frame
    // whose progress passes 81.25 — at speed 1, 7.5 ms before the note's time
    // (spawn 555, caught at 2993); at speed 1.2, 6.25 ms before.
    for (float speed : {1.0f, 1.2f}) {
        SCOPED_TRACE(speed);
        LoadChart(midi_test::Chart().Note(3000, kLine0 + 1, kPlain), speed);
        RunUntil(500);
        ItemPtr item;
        int spawnedAt = -1, caughtAt = -1;
        float before = -1;
        while (GameClock < 3100 && caughtAt < 0) {
            Frame(1);
            if (!item && !gryph->Items.empty()) {
                item = gryph->Items.front();
                spawnedAt = gryph->SongTime;
            }
            if (item && item->PickUpStarted) {
                caughtAt = gryph->SongTime;
                EXPECT_GT(item->time, kWindowLow);
                EXPECT_LE(before, kWindowLow) << "the frame before was already inside";
            }
            if (item) before = item->time;
        }
        ASSERT_TRUE(item);
        EXPECT_EQ(spawnedAt, int(std::ceil(3000 - 2445 / speed)));
        // progress = (SongTime − spawn) / 30 × speed passes 81.25 at:
        const int expected = spawnedAt + int(std::floor(kWindowLow * 30 / speed)) + 1;
        EXPECT_EQ(caughtAt, expected);
        EXPECT_LE(caughtAt, 3000);
        EXPECT_EQ(Prizes("notepick"), 1);
        gryph->StopGame();
        ClearGameplayEvents();
    }
}

// The player's sound delay moves the chart later against the music: a note
// is caught that much later by the song's clock, when it is heard. The
// picture delay moves only where items are drawn.
TEST_F(RulesTest, TheSoundDelayMovesTheCatchAndThePictureDelayOnlyTheDrawing) {
    struct Case {
        int audioMs, videoMs;
    };
    int caughtWithout = -1;
    for (const Case c : {Case{0, 0}, Case{100, 0}, Case{-60, 0}, Case{0, 150}}) {
        SCOPED_TRACE(testing::Message() << "sound " << c.audioMs << " ms, picture " << c.videoMs << " ms");
        AudioOffsetMs = c.audioMs;
        VideoOffsetMs = c.videoMs;
        LoadChart(midi_test::Chart().Note(3000, kLine0 + 1, kPlain));
        PutBatOn(1);
        int caughtAt = -1;
        bool checkedDrawing = false;
        while (GameClock < 3500 && caughtAt < 0) {
            Frame(1);
            if (gryph->Items.empty()) continue;
            const ItemPtr item = gryph->Items.front();
            if (!checkedDrawing && item->time > 40) {
                // Drawn where an item that much further on would be.
                const float ahead = item->time + c.videoMs / 30.0f * item->SpeedCoef;
                const HighwayPoint p = HighwayGeometry::ItemPosition(item->LineNum, ahead);
                EXPECT_NEAR(item->pos->x, p.x, 0.01f);
                EXPECT_NEAR(item->pos->y, p.y, 0.01f);
                EXPECT_FLOAT_EQ(item->VideoLead(), c.videoMs / 30.0f * item->SpeedCoef);
                // Drawing borrows the progress and gives back exactly it.
                const float progress = item->time;
                gryph->Draw();
                EXPECT_EQ(item->time, progress);
                checkedDrawing = true;
            }
            if (item->PickUpStarted) caughtAt = gryph->SongTime;
        }
        EXPECT_TRUE(checkedDrawing);
        ASSERT_GE(caughtAt, 0) << "the note was not caught";
        if (caughtWithout < 0) caughtWithout = caughtAt;
        EXPECT_EQ(caughtAt, caughtWithout + c.audioMs);
        gryph->StopGame();
        ClearGameplayEvents();
    }
    AudioOffsetMs = VideoOffsetMs = 0;
}

TEST_F(RulesTest, ChartNoteOffTheCatchersLineIsMissedPast83) {
    LoadChart(midi_test::Chart().Note(3000, kLine0 + 4, kPlain));
    RunUntil(500);
    ItemPtr item;
    int missedAt = -1;
    float before = 0;
    while (GameClock < 3200 && missedAt < 0) {
        Frame(1);
        if (!item && !gryph->Items.empty()) item = gryph->Items.front();
        if (item && item->SongError) {
            missedAt = gryph->SongTime;
            EXPECT_GT(item->time, kWindowHigh);
            EXPECT_LE(before, kWindowHigh);
        }
        if (item) before = item->time;
    }
    ASSERT_GT(missedAt, 0);
    EXPECT_EQ(item->PickUpStarted, 0);
    EXPECT_EQ(gryph->ErrorTime, int32_t(GameClock));
    EXPECT_EQ(Prizes("notefail"), 1);
    // The miss is counted once while the note runs on to the end.
    Run(600);
    EXPECT_EQ(Prizes("notefail"), 1);
    EXPECT_TRUE(gryph->Items.empty());
}

// ---- Plain and starred notes ------------------------------------------------

TEST_F(RulesTest, PlainNoteOnTheLineIsCaughtWithoutAClickForItsPointsTimesTheMultiplier) {
    const struct {
        int entries, value, mult;
    } cases[] = {{0, 0, 1}, {8, 4, 2}, {11, 4, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entries * c.value);
        StartQuietLevel();
        FillCombo(c.entries, c.value);
        gryph->Razogrev = float(c.entries * c.value);
        game->Points = 0;
        ASSERT_EQ(game->GetPointsMult(), c.mult);
        const std::vector<int> combo = ComboValues();
        PutBatOn(3);
        NotePtr note = PutNote(3, 81.0f);
        Frame(10);
        EXPECT_EQ(note->PickUpStarted, 1);
        EXPECT_EQ(Prizes("notepick"), 1);
        EXPECT_EQ(Prizes("noteclick"), 0) << "no click was made";
        EXPECT_EQ(ComboValues(), combo) << "a plain note adds nothing to the combo";
        RunUntilOut(note);
        EXPECT_EQ(CurrentLevelStat->Notes, 100 * c.mult);
        EXPECT_EQ(CurrentLevelStat->NotesCount, 1);
        EXPECT_EQ(game->Points, 100 * c.mult);
        gryph->StopGame();
    }
}

TEST_F(RulesTest, PlainNoteCaughtWithALiveClickSendsNoteclick) {
    StartQuietLevel();
    PutBatOn(1);
    Mouse(true);
    Frame(10);
    NotePtr note = PutNote(1, 81.3f);
    Frame(0);
    EXPECT_EQ(note->PickUpStarted, 1);
    EXPECT_EQ(Prizes("noteclick"), 1);
    EXPECT_EQ(Prizes("notepick"), 1);
    EXPECT_TRUE(ComboValues().empty());
    // The click was used: a fret arriving while the button stays down is not caught.
    FretPtr fret = PutFret(81.3f);
    Frame(0);
    EXPECT_EQ(fret->PickUpStarted, 0);
    Mouse(false);
}

TEST_F(RulesTest, AClickReleasedBeforeTheCatchIsUsedUpByIt) {
    // Press and release: the release keeps the click live for 300 ms, but
    // only until a catch uses it.
    StartQuietLevel();
    PutBatOn(1);
    Mouse(true);
    Frame(10);
    Mouse(false);
    Frame(10);
    ASSERT_TRUE(gryph->ClickLive());
    NotePtr note = PutNote(1, 81.3f);
    Frame(10);
    ASSERT_EQ(note->PickUpStarted, 1);
    EXPECT_EQ(Prizes("noteclick"), 1);
    EXPECT_FALSE(gryph->ClickLive());
    FretPtr fret = PutFret(81.3f);
    Frame(10);
    EXPECT_EQ(fret->PickUpStarted, 0) << "50 ms after the release, but the click was used";
}

TEST_F(RulesTest, StarredNoteWithAClickEarnsByItsDistanceFromTheBeatAndTwoComboPoints) {
    // At progress 82 the worked example: int(150 × 2.5) = 375.
    for (float t : {82.0f, 81.623f, 82.777f, 81.3f}) {
        SCOPED_TRACE(t);
        StartQuietLevel();
        game->Points = 0;
        PutBatOn(0);
        Mouse(true);
        Frame(10);
        NotePtr note = PutNote(0, t, 1);
        Frame(0);
        ASSERT_EQ(note->PickUpStarted, 1);
        const int expected = int(100 * (3 - std::fabs(81.5 - double(t))) * 1.5);
        EXPECT_NEAR(note->Points, expected, 1) << "points before the multiplier";
        if (t == 82.0f) { EXPECT_EQ(note->Points, 375); }
        EXPECT_EQ(ComboValues(), std::vector<int>{2});
        EXPECT_EQ(Prizes("starclick"), 1);
        EXPECT_EQ(Hints("starpick"), 1);
        EXPECT_EQ(Prizes("starclickfailed"), 0);
        EXPECT_EQ(Prizes("notepick"), 1);
        EXPECT_EQ(Prizes("noteclick"), 0);
        EXPECT_EQ(ImpulsesOf(EFFECT_IMPULSE_STAR), 1);
        EXPECT_GT(gryph->LinesLightAlpha->value, 0.9f) << "the lines flash";
        Mouse(false);
        const int points = note->Points;
        RunUntilOut(note);
        EXPECT_EQ(CurrentLevelStat->Stars, points);
        EXPECT_EQ(game->Points, points);
        gryph->StopGame();
        TImpulseEffectController::Reset();
    }
}

TEST_F(RulesTest, StarredNoteWithoutAClickIsWorth100AndOneComboPoint) {
    StartQuietLevel();
    PutBatOn(4);
    NotePtr note = PutNote(4, 82.0f, 1);
    Frame(0);
    ASSERT_EQ(note->PickUpStarted, 1);
    EXPECT_EQ(note->Points, 100);
    EXPECT_EQ(ComboValues(), std::vector<int>{1});
    EXPECT_EQ(Prizes("starclickfailed"), 1);
    EXPECT_EQ(Hints("starpick"), 1);
    EXPECT_EQ(Prizes("starclick"), 0);
    EXPECT_EQ(Prizes("notepick"), 1);
    EXPECT_EQ(ImpulsesOf(EFFECT_IMPULSE_STAR), 0);
    RunUntilOut(note);
    EXPECT_EQ(CurrentLevelStat->Stars, 100);
}

TEST_F(RulesTest, APressIsSeenByTheCatchTestsOfTheFollowingFrame) {
    // The button is tracked after the items, so a press arriving in the very
    // frame a starred note is caught does not count for it.
    StartQuietLevel();
    PutBatOn(2);
    Mouse(true);
    NotePtr note = PutNote(2, 81.3f, 1);
    Frame(0);
    ASSERT_EQ(note->PickUpStarted, 1);
    EXPECT_EQ(Prizes("starclickfailed"), 1);
    EXPECT_EQ(Prizes("starclick"), 0);
    EXPECT_EQ(gryph->MouseDowned, 1) << "the press is taken after the catch tests";
    // The press is still unused: the next starred note gets it.
    NotePtr next = PutNote(2, 81.3f, 1);
    Frame(0);
    EXPECT_EQ(next->PickUpStarted, 1);
    EXPECT_EQ(Prizes("starclick"), 1);
    EXPECT_EQ(gryph->MouseDowned, 0) << "a catch uses the click";
    Mouse(false);
}

TEST_F(RulesTest, BonusItemIsCaughtByPositionAloneForFiftyTimesTheMultiplier) {
    StartQuietLevel();
    FillCombo(8, 4);
    gryph->Razogrev = 32;
    PutBatOn(3);
    Bonus50Ptr bonus = TBonus50::Create();
    bonus->LineNum = 3;
    Put(bonus, 81.3f, kBonus);
    Frame(0);
    ASSERT_EQ(bonus->PickUpStarted, 1);
    EXPECT_EQ(Prizes("notepick"), 0) << "bonus items do not send notepick";
    EXPECT_EQ(ComboValues(), std::vector<int>(8, 4));
    RunUntilOut(bonus);
    EXPECT_EQ(CurrentLevelStat->Notes, 100);
    EXPECT_EQ(CurrentLevelStat->NotesCount, 0) << "bonus items are not notes";
}

// ---- Frets and the click ----------------------------------------------------

// A fret that enters the window on frame 50 of 10 ms frames (progress 81.3
// there, 80.97 the frame before).
constexpr int kEntryFrame = 50;
inline float FretStartFor(int entryFrame) { return 81.3f - float(entryFrame) * 10.0f / 30.0f; }

TEST_F(RulesTest, FretIsCaughtByAClickReleasedUnder300MsBeforeTheWindow) {
    const struct {
        int releasedMsBefore;
        bool caught;
    } cases[] = {{250, true}, {350, false}, {10, true}, {290, true}, {310, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.releasedMsBefore);
        StartQuietLevel();
        PutBatOn(4);  // the line does not matter for a fret
        FretPtr fret = PutFret(FretStartFor(kEntryFrame));
        const int release = kEntryFrame - c.releasedMsBefore / 10;
        for (int k = 1; k <= kEntryFrame; ++k) {
            if (k == release - 1) Mouse(true);
            if (k == release) Mouse(false);
            Frame(10);
            if (k < kEntryFrame) { ASSERT_EQ(fret->PickUpStarted, 0) << "frame " << k; }
        }
        ASSERT_GT(fret->time, kWindowLow);
        EXPECT_EQ(fret->PickUpStarted, c.caught ? 1 : 0);
        // It stays uncaught through the rest of its window.
        for (int k = 0; k < 6; ++k) Frame(10);
        EXPECT_EQ(fret->PickUpStarted, c.caught ? 1 : 0);
        EXPECT_EQ(Prizes("fretclick"), c.caught ? 1 : 0);
        EXPECT_EQ(Hints("fretpick"), c.caught ? 1 : 0);
        EXPECT_EQ(Prizes("notepick"), c.caught ? 1 : 0);
        EXPECT_EQ(ComboValues(), c.caught ? std::vector<int>{4} : std::vector<int>{});
        gryph->StopGame();
    }
}

TEST_F(RulesTest, FretPointsFollowTheProgressOfTheCatch) {
    for (float t : {81.3f, 81.5f, 82.2f, 82.9f}) {
        SCOPED_TRACE(t);
        StartQuietLevel();
        Space(true);
        FretPtr fret = PutFret(t);
        Frame(0);
        ASSERT_EQ(fret->PickUpStarted, 1);
        const int expected = int(100 * (3 - std::fabs(81.5 - double(t))) * 2);
        EXPECT_NEAR(fret->Points, expected, 1);
        if (t == 81.5f) { EXPECT_EQ(fret->Points, 600); }
        EXPECT_EQ(ImpulsesOf(EFFECT_IMPULSE_STAR), 1);
        Space(false);
        const int points = fret->Points;
        RunUntilOut(fret);
        EXPECT_EQ(CurrentLevelStat->Frets, points);
        gryph->StopGame();
        TImpulseEffectController::Reset();
    }
}

TEST_F(RulesTest, SpaceHeldCatchesAFretOnAnyLine) {
    StartQuietLevel();
    PutBatOn(0);
    Space(true);
    Frame(10);
    FretPtr fret = PutFret(81.3f);
    Frame(0);
    EXPECT_EQ(fret->PickUpStarted, 1);
    // Space is not a mouse click: it does not catch a note with a click.
    NotePtr star = PutNote(0, 81.3f, 1);
    Frame(0);
    EXPECT_EQ(star->PickUpStarted, 1);
    EXPECT_EQ(Prizes("starclickfailed"), 1);
    Space(false);
}

TEST_F(RulesTest, OneHeldPressCatchesOneFretAndTheReleaseRearmsTheClick) {
    StartQuietLevel();
    FretPtr first = PutFret(FretStartFor(50));
    FretPtr second = PutFret(FretStartFor(60));
    FretPtr third = PutFret(FretStartFor(90));
    for (int k = 1; k <= 100; ++k) {
        if (k == 40) Mouse(true);   // held through the first two frets
        if (k == 80) Mouse(false);  // released 100 ms before the third
        Frame(10);
        if (k == 50) { EXPECT_EQ(first->PickUpStarted, 1); }
    }
    EXPECT_EQ(first->PickUpStarted, 1);
    EXPECT_EQ(second->PickUpStarted, 0) << "the held press was used by the first fret";
    EXPECT_EQ(third->PickUpStarted, 1) << "the release makes the click live again";
    EXPECT_EQ(Prizes("fretclick"), 2);
}

// ---- Misses and the lead track -----------------------------------------------

TEST_F(RulesTest, MissedNoteMutesTheLeadUntilACatchMoreThan300MsLater) {
    const struct {
        int catchMsAfterMiss;
        bool leadBack;
    } cases[] = {{200, false}, {300, false}, {310, true}, {1000, true}};
    StartQuietLevel();
    Levels start = Listen();
    EXPECT_GT(start.lead, kAudible);
    EXPECT_GT(start.band, kAudible);
    PutBatOn(2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.catchMsAfterMiss);
        NotePtr missed = PutNote(0, 82.9f);
        Frame(10);
        ASSERT_EQ(missed->SongError, 1);
        const int32_t missAt = int32_t(GameClock);
        EXPECT_EQ(gryph->ErrorTime, missAt);
        Levels muted = Listen();
        EXPECT_LT(muted.lead, kSilent) << "guitar.ogg falls silent on a miss";
        EXPECT_GT(muted.band, kAudible) << "song.ogg is never muted";
        Run(c.catchMsAfterMiss - 10, 10);
        NotePtr caught = PutNote(2, 81.0f);
        Frame(10);
        ASSERT_EQ(caught->PickUpStarted, 1);
        ASSERT_EQ(int32_t(GameClock) - missAt, c.catchMsAfterMiss);
        EXPECT_EQ(gryph->PickupTime, int32_t(GameClock));
        Levels after = Listen();
        if (c.leadBack)
            EXPECT_GT(after.lead, kAudible);
        else
            EXPECT_LT(after.lead, kSilent);
        EXPECT_GT(after.band, kAudible);
        Run(600, 10);  // both notes leave the highway
    }
}

TEST_F(RulesTest, MissedFretCostsFourComboEntriesOnlyWhenItLeavesTheHighway) {
    StartQuietLevel();
    FillCombo({1, 2, 3, 4, 5, 6});
    gryph->Razogrev = 21;
    const int32_t errorTime = gryph->ErrorTime;
    FretPtr fret = PutFret(82.9f);
    bool checkedSound = false;
    while (fret->IsOut == 0 && fret->time < 105) {
        Frame(10);
        if (fret->IsOut) break;
        ASSERT_EQ(fret->PickUpStarted, 0);
        EXPECT_EQ(Hints("fretfail"), 0) << "progress " << fret->time;
        EXPECT_EQ(ComboValues(), (std::vector<int>{1, 2, 3, 4, 5, 6})) << "progress " << fret->time;
        if (fret->time > 90 && !checkedSound) {
            checkedSound = true;
            EXPECT_GT(Listen().lead, kAudible) << "a missed fret does not mute the lead";
        }
    }
    ASSERT_EQ(fret->IsOut, 1);
    EXPECT_GT(fret->time, 100.0f);
    EXPECT_EQ(Hints("fretfail"), 1);
    EXPECT_EQ(ComboValues(), (std::vector<int>{5, 6})) << "the four oldest entries go";
    Run(100, 10);
    EXPECT_EQ(Hints("fretfail"), 1);
    EXPECT_EQ(Prizes("notefail"), 0);
    EXPECT_EQ(gryph->ErrorTime, errorTime);
    EXPECT_GT(Listen().lead, kAudible);
    EXPECT_TRUE(checkedSound);
    EXPECT_TRUE(gryph->Items.empty());
}

TEST_F(RulesTest, MissesTakeTheOldestComboEntriesByKind) {
    const struct {
        int kind;  // 0 plain note, 1 starred note, 2 bonus item
        std::vector<int> left;
        int notefail, starfail;
    } cases[] = {{0, {1, 2, 3}, 1, 0}, {1, {3}, 1, 1}, {2, {1, 2, 3}, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        StartQuietLevel();
        FillCombo({1, 2, 3});
        gryph->Razogrev = 6;
        PutBatOn(0);
        ItemPtr item;
        if (c.kind == 2) {
            Bonus50Ptr bonus = TBonus50::Create();
            bonus->LineNum = 3;
            item = Put(bonus, 82.5f, kBonus);
        } else {
            item = PutNote(3, 82.9f, c.kind);
        }
        Run(300, 10);
        EXPECT_EQ(item->PickUpStarted, 0);
        EXPECT_EQ(ComboValues(), c.left);
        EXPECT_EQ(Prizes("notefail"), c.notefail);
        EXPECT_EQ(Hints("starfail"), c.starfail);
        if (c.kind == 2) {
            EXPECT_GT(Listen().lead, kAudible) << "a missed bonus item changes nothing";
            EXPECT_EQ(item->SongError, 0);
        }
        gryph->StopGame();
    }
    // Misses on an empty list take nothing and do not fail.
    StartQuietLevel();
    gryph->RazogrevList.clear();
    PutBatOn(0);
    PutNote(3, 82.9f, 1);
    Run(100, 10);
    EXPECT_TRUE(gryph->RazogrevList.empty());
}

// ---- The combo meter ---------------------------------------------------------

TEST_F(RulesTest, ElevenFretCatchesDriveTheMeterThroughX2AndX4IntoOneGoldRush) {
    midi_test::Chart chart;
    for (int i = 0; i < 11; ++i) chart.Note(3000 + 200 * i, kFret, kPlain);
    LoadChart(chart);
    const int32_t rushBefore = gryph->GOldRushLastTime;
    Space(true);
    int rushChanges = 0;
    int32_t lastRush = rushBefore;
    float crossed30 = -1, crossed40 = -1;
    int32_t rushExpected = -1;
    int x2Before30 = -1, x4Before40 = -1;
    while (GameClock < 9000) {
        const float before = gryph->Razogrev;
        if (before < 30) x2Before30 = Prizes("x2");
        if (before < 40) x4Before40 = Prizes("x4");
        Frame(17);
        const float r = gryph->Razogrev;
        if (crossed30 < 0 && r >= 30) crossed30 = GameClock;
        if (crossed40 < 0 && r >= 40) {
            crossed40 = GameClock;
            rushExpected = int32_t(GameClock);
        }
        const int expectedMult = r >= 40 ? 4 : r >= 30 ? 2 : 1;
        ASSERT_EQ(game->GetPointsMult(), expectedMult) << "meter " << r;
        ASSERT_EQ(game->GoldRush(), r >= 40 ? 1 : 0) << "meter " << r;
        if (gryph->GOldRushLastTime != lastRush) {
            ++rushChanges;
            lastRush = gryph->GOldRushLastTime;
        }
    }
    Space(false);
    EXPECT_EQ(Prizes("fretclick"), 11);
    EXPECT_EQ(ComboValues(), std::vector<int>(11, 4));
    EXPECT_EQ(gryph->RazogrevSum(), 44);
    ASSERT_GT(crossed30, 0);
    ASSERT_GT(crossed40, crossed30);
    EXPECT_GT(gryph->Razogrev, 40);
    EXPECT_LE(gryph->Razogrev, 44);
    // The gold rush began once, on the frame the meter reached 40.
    EXPECT_EQ(rushChanges, 1);
    EXPECT_EQ(gryph->GOldRushLastTime, rushExpected);
    // The catcher reports ×2 and ×4 only from the frames the meter stands there.
    EXPECT_EQ(x2Before30, 0);
    EXPECT_EQ(x4Before40, 0);
    EXPECT_GT(Prizes("x2"), 0);
    EXPECT_GT(Prizes("x4"), 0);
}

TEST_F(RulesTest, MeterClosesAThirdOfTheGapPerFrameTowardsTheListSum) {
    StartQuietLevel();
    FillCombo(11, 4);
    gryph->Razogrev = 0;
    float r = 0;
    for (int i = 0; i < 5; ++i) {
        Frame(17);
        r += 1.0f * (44 - r) / 3;
        EXPECT_NEAR(gryph->Razogrev, r, 1e-3) << "frame " << i;
    }
}

TEST_F(RulesTest, MoreThan70EntriesLoseTheOldestOnePerFrame) {
    StartQuietLevel();
    gryph->RazogrevList.clear();
    for (int i = 0; i < 73; ++i) gryph->RazogrevList.push_back(TRazogrevValue::Create(i == 0 ? 9 : 1));
    gryph->Razogrev = 81;
    Frame(10);
    EXPECT_EQ(gryph->RazogrevList.size(), 72u);
    EXPECT_EQ(gryph->RazogrevList.front()->value, 1) << "the oldest went first";
    Frame(10);
    Frame(10);
    EXPECT_EQ(gryph->RazogrevList.size(), 70u);
    Frame(10);
    EXPECT_EQ(gryph->RazogrevList.size(), 70u);
}

TEST_F(RulesTest, MeterFallingBelow40AndClimbingBackStartsANewGoldRush) {
    StartQuietLevel();
    FillCombo(11, 4);
    gryph->Razogrev = 0;
    Run(340);  // 20 frames: the meter passes 40
    ASSERT_GE(gryph->Razogrev, 40);
    const int32_t first = gryph->GOldRushLastTime;
    ASSERT_GT(first, 0);
    // Down to 36: the rush is over but its clock is kept above 20.
    FillCombo(9, 4);
    Run(340);
    ASSERT_LT(gryph->Razogrev, 40);
    EXPECT_EQ(game->GoldRush(), 0);
    EXPECT_EQ(gryph->GOldRushLastTime, first);
    // Back over 40: a new rush from this frame.
    FillCombo(11, 4);
    int32_t startedAt = -1;
    for (int i = 0; i < 40 && startedAt < 0; ++i) {
        Frame(17);
        if (gryph->Razogrev >= 40) startedAt = int32_t(GameClock);
    }
    ASSERT_GT(startedAt, 0);
    EXPECT_EQ(gryph->GOldRushLastTime, startedAt);
    // Below 20 the rush clock is cleared.
    gryph->RazogrevList.clear();
    Run(1000);
    ASSERT_LT(gryph->Razogrev, 20);
    EXPECT_EQ(gryph->GOldRushLastTime, 0);
}

TEST_F(RulesTest, RemovingMoreEntriesThanThereAreEmptiesTheList) {
    StartQuietLevel();
    FillCombo({7, 8});
    gryph->RemoveOldestRazogrev(4);
    EXPECT_TRUE(gryph->RazogrevList.empty());
    gryph->RemoveOldestRazogrev(2);
    EXPECT_TRUE(gryph->RazogrevList.empty());
    FillCombo({7, 8, 9});
    gryph->RemoveOldestRazogrev(2);
    EXPECT_EQ(ComboValues(), std::vector<int>{9});
    EXPECT_EQ(gryph->RazogrevSum(), 9);
}

TEST_F(RulesTest, GoldRushDecayIntervalShrinksAs2000Times5000OverItsAge) {
    StartQuietLevel();
    // Enough entries to stay above 15 and the meter above 20 throughout.
    FillCombo(60, 1);
    gryph->Razogrev = 60;
    const int32_t start = int32_t(GameClock);
    gryph->GOldRushLastTime = start;
    gryph->RazogrevLastMinus = start;
    const std::vector<int32_t> removed = DecayTimes(25000);
    ASSERT_GT(removed.size(), 20u);
    // Every removal is on the first frame where the time since the previous
    // one exceeds 2000 × 5000 / (time since the gold rush began).
    int32_t previous = start;
    for (int32_t at : removed) {
        const auto interval = [&](int32_t clock) { return 2000.0 * 5000.0 / double(clock - start); };
        EXPECT_GT(at - previous, interval(at)) << "removed at +" << at - start;
        EXPECT_LE(at - 10 - previous, interval(at - 10)) << "one frame late at +" << at - start;
        previous = at;
    }
    // The worked figures: the first removal about 3.16 s in (t² > 10⁷, so the
    // first 10 ms frame after 3162 ms), then gaps of about 1 s at 10 s and
    // 0.5 s at 20 s.
    EXPECT_EQ(removed.front() - start, 3170);
    const auto gapAfter = [&](int32_t age) {
        for (size_t i = 1; i < removed.size(); ++i)
            if (removed[i] - start >= age) return removed[i] - removed[i - 1];
        return int32_t(-1);
    };
    EXPECT_NEAR(gapAfter(10000), 1000, 100);
    EXPECT_NEAR(gapAfter(20000), 500, 30);
    EXPECT_GT(gryph->RazogrevList.size(), 15u);
}

TEST_F(RulesTest, OutsideAGoldRushOneEntryFadesEvery2SecondsAbove15Entries) {
    StartQuietLevel();
    FillCombo(18, 2);
    gryph->Razogrev = 36;
    gryph->GOldRushLastTime = 0;
    gryph->RazogrevLastMinus = int32_t(GameClock);
    const std::vector<int32_t> removed = DecayTimes(12000);
    // 18 → 15 entries: three removals, 2010 ms apart in 10 ms frames, then none.
    ASSERT_EQ(removed.size(), 3u);
    EXPECT_EQ(gryph->RazogrevList.size(), 15u);
    for (size_t i = 1; i < removed.size(); ++i) EXPECT_EQ(removed[i] - removed[i - 1], 2010);
    EXPECT_EQ(gryph->GOldRushLastTime, 0);
}

// ---- Long notes ----------------------------------------------------------------

TEST_F(RulesTest, LongNoteHeldToItsEndSendsLongpickAndItsImpulse) {
    StartQuietLevel();
    PutBatOn(1);
    NotePtr note = PutNote(1, 81.3f, 0, 20);
    ASSERT_TRUE(note->IsLongNote());
    Frame(0);
    ASSERT_EQ(note->PickUpStarted, 1);
    // Held until the end of its tail passes the catch point: progress 101.5.
    while (note->IsOut == 0 && note->time < 110) {
        Frame(10);
        if (note->time - 20 * note->SpeedCoef <= 81.5f) {
            ASSERT_EQ(note->PickUpEnded, 0) << "progress " << note->time;
            ASSERT_EQ(note->IsOut, 0);
        }
    }
    EXPECT_EQ(note->IsOut, 1);
    EXPECT_EQ(note->PickUpEnded, 1);
    EXPECT_GT(note->time, 101.5f);
    EXPECT_EQ(Prizes("longpick"), 1);
    EXPECT_EQ(ImpulsesOf(EFFECT_IMPULSE_LONGNOTE), 1);
    EXPECT_GE(CurrentLevelStat->Notes, 100);
    Run(200, 10);
    EXPECT_EQ(Prizes("longpick"), 1);
}

TEST_F(RulesTest, LongNoteLeftEarlyIsAwardedAtOnceWithoutLongpick) {
    StartQuietLevel();
    PutBatOn(1);
    NotePtr note = PutNote(1, 81.3f, 0, 20);
    Frame(0);
    ASSERT_EQ(note->PickUpStarted, 1);
    while (note->time < 90) Frame(10);
    EXPECT_EQ(note->PickUpEnded, 0);
    PutBatOn(3);
    Frame(10);
    EXPECT_EQ(note->PickUpEnded, 1) << "leaving the line ends the hold";
    EXPECT_GE(CurrentLevelStat->Notes, 100);
    const int awarded = CurrentLevelStat->Notes;
    // An awarded note leaves once its tail is past the end: progress 120.
    Run(1200, 10);
    EXPECT_EQ(Prizes("longpick"), 0);
    EXPECT_EQ(ImpulsesOf(EFFECT_IMPULSE_LONGNOTE), 0);
    EXPECT_EQ(CurrentLevelStat->Notes, awarded) << "points are awarded once";
    EXPECT_TRUE(gryph->Items.empty());
}

}  // namespace
