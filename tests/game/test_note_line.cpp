#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "../media/GraphicsTestSupport.h"
#include "TestFont.h"
#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "game/TImpulseEffectController.h"
#include "game/GameGlobals.h"
#include "game/GameplayEvents.h"
#include "game/TFloatPoints.h"
#include "game/TGame.h"
#include "game/TNoteLineWidget.h"
#include "gui/TWidgetmanager.h"
#include "media/Clock.h"
#include "media/Graphics.h"

namespace {

// A melody as the chart reader links it: the head starts the chain.
std::vector<MidiNotePtr> Melody(std::initializer_list<int> notes) {
    std::vector<MidiNotePtr> chain;
    for (int n : notes) {
        auto note = std::make_shared<TMidiNote>();
        note->note = n;
        if (!chain.empty()) chain.back()->next_ = note;
        chain.push_back(note);
    }
    chain.front()->StartLine = 1;
    return chain;
}

MidiNotePtr LoneNote(int n, int startLine = 0) {
    auto note = std::make_shared<TMidiNote>();
    note->note = n;
    note->StartLine = startLine;
    return note;
}

// A game whose combo meter stands at a chosen multiplier.
class MultGame : public TGame {
public:
    int mult = 1;
    int GetPointsMult() override { return mult; }
};

// What a circle was asked to draw, and with which alpha.
struct DrawnCircle {
    float x, y, alpha;
};

class RecordingCircle : public TNoteLineCircle {
public:
    std::vector<DrawnCircle>* log = nullptr;
    void Draw(float x, float y) override { log->push_back({x, y, GetAlpha()}); }
};

class NoteLineTest : public ::testing::Test {
protected:
    std::shared_ptr<TNoteLineWidget> row = std::make_shared<TNoteLineWidget>();

    void SetUp() override {
        UseDrivenClock(1000);
        GameClock = 1000;
        WidgetManager = std::make_shared<TWidgetmanager>();
        CurrentLevelStat = std::make_shared<TLevelStat>();
        FONT_POINTS = MeasuredFont();
        SlowScalePulse = TCurveValue::Create(1, 1, 10);
        EFFECT_IMPULSE_MELODY = TEffect::New();
        ClearGameplayEvents();
        TImpulseEffectController::Reset();
        TFloatPoints::RemoveAll();
        row->Resize(261, 178, 278, 45);
    }
    void TearDown() override {
        TFloatPoints::RemoveAll();
        TImpulseEffectController::Reset();
        ClearGameplayEvents();
        WidgetManager = nullptr;
        CurrentLevelStat = nullptr;
        FONT_POINTS = nullptr;
        SlowScalePulse = nullptr;
        EFFECT_IMPULSE_MELODY = nullptr;
        UseRealClock();
    }
    // Feeds every note of the chain, missing those whose index is in `missed`.
    void Play(const std::vector<MidiNotePtr>& chain, std::initializer_list<size_t> missed = {}) {
        for (size_t i = 0; i < chain.size(); ++i) {
            const bool miss = std::find(missed.begin(), missed.end(), i) != missed.end();
            GameClock += 100;
            row->PickNote(chain[i], miss ? 1 : 0);
        }
    }
    static int Events(EventTarget target, const std::string& name) { return CountGameplayEvents(target, name); }
};

TEST_F(NoteLineTest, AHeadShowsOneCircleForEveryLineNoteOfItsMelody) {
    // 89 is a fret: part of the chain, but no circle.
    const auto chain = Melody({86, 84, 89, 88, 85});
    row->PickNote(chain[0], 0);
    ASSERT_EQ(row->NoteLine.size(), 4u);
    const int lines[] = {2, 0, 4, 1};
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(row->NoteLine[i]->note, lines[i]);
    // The head's own catch already passes its circle.
    EXPECT_EQ(row->CurrentPosition, 1);
    EXPECT_EQ(row->LastPickTime, 1000);
}

TEST_F(NoteLineTest, ACompletedMelodyPaysFiftyTimesNTimesNMinusOne) {
    const struct {
        std::initializer_list<int> notes;
        int worked;  // worked examples at ×1
    } cases[] = {
        {{84, 85}, 100},
        {{84, 85, 86}, 300},
        {{84, 85, 86, 87, 88}, 1000},
        {{84, 85, 86, 87, 88, 84, 85, 86}, -1},
    };
    for (const auto& c : cases) {
        const int n = int(c.notes.size());
        SCOPED_TRACE(n);
        SetUp();
        Play(Melody(c.notes));
        const int expected = 50 * n * (n - 1);
        if (c.worked >= 0) {
            EXPECT_EQ(expected, c.worked);
        }
        EXPECT_EQ(row->completed, 1);
        EXPECT_EQ(row->FailCheckDone, 1);
        EXPECT_EQ(CurrentLevelStat->Melodies, expected);
        ASSERT_EQ(FloatPointsList.size(), 1u);
        EXPECT_EQ(FloatPointsList[0]->text, "+" + std::to_string(expected));
        EXPECT_EQ(FloatPointsList[0]->preset, 0);
    }
}

TEST_F(NoteLineTest, TheMultiplierScalesTheMelodyAndItGoesToTheScore) {
    const struct {
        int notes, mult, worked;
    } cases[] = {{5, 1, 1000}, {5, 2, 2000}, {2, 4, 400}, {3, 2, 600}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.notes << " notes x" << c.mult);
        SetUp();
        auto game = std::make_shared<MultGame>();
        game->mult = c.mult;
        game->Points = 70;
        std::vector<MidiNotePtr> chain = Melody({84, 85});
        for (int i = 2; i < c.notes; ++i) {
            chain.back()->next_ = LoneNote(84 + i % 5);
            chain.push_back(chain.back()->next_);
        }
        Play(chain);
        const int expected = 50 * c.notes * (c.notes - 1) * c.mult;
        EXPECT_EQ(expected, c.worked);
        EXPECT_EQ(CurrentLevelStat->Melodies, expected);
        EXPECT_EQ(game->Points, 70 + expected);
        ASSERT_EQ(FloatPointsList.size(), 1u);
        EXPECT_EQ(FloatPointsList[0]->text, "+" + std::to_string(expected));
        TFloatPoints::RemoveAll();
    }
}

TEST_F(NoteLineTest, ACompletedMelodyRisesFromTheRowAndIsAnnounced) {
    Play(Melody({84, 85, 86, 87, 88}));
    ASSERT_EQ(FloatPointsList.size(), 1u);
    const FloatPointsPtr fp = FloatPointsList[0];
    // Centred on the middle of the row, (400, 200).
    EXPECT_FLOAT_EQ(fp->pos->x + fp->width / 2, 400);
    EXPECT_FLOAT_EQ(fp->pos->y + fp->height / 2, 200);
    EXPECT_FLOAT_EQ(fp->width, float(MeasuredWidth("+1000")));
    EXPECT_TRUE(WidgetManager->Contains(fp.get()));
    // Prizes first, then hints, once each.
    const auto& log = GameplayEventLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].target, EventTarget::Prizes);
    EXPECT_EQ(log[0].name, "melodycomplete");
    EXPECT_EQ(log[1].target, EventTarget::Hints);
    EXPECT_EQ(log[1].name, "melodycomplete");
    ASSERT_EQ(ImpulseEffects.size(), 1u);
    EXPECT_EQ(ImpulseEffects[0]->Emitter[0]->Config, EFFECT_IMPULSE_MELODY);
    // Further picks after the row is passed change nothing.
    row->PickNote(LoneNote(84), 0);
    EXPECT_EQ(GameplayEventLog().size(), 2u);
    EXPECT_EQ(row->CurrentPosition, 5);
}

TEST_F(NoteLineTest, AMissedHeadIsCrossedOutAtOnceAndTheMelodyFails) {
    const auto chain = Melody({84, 85, 86});
    row->PickNote(chain[0], 1);
    ASSERT_EQ(row->NoteLine.size(), 3u);
    EXPECT_EQ(row->CurrentPosition, 1);
    EXPECT_EQ(row->NoteLine[0]->IsFailed(), 1);
    EXPECT_EQ(row->NoteLine[1]->IsFailed(), 0);
    EXPECT_EQ(row->FailCheckDone, 0);
    row->PickNote(chain[1], 0);
    row->PickNote(chain[2], 0);
    EXPECT_EQ(row->completed, 0);
    EXPECT_EQ(row->FailCheckDone, 1);
    EXPECT_EQ(Events(EventTarget::Prizes, "melodyfail"), 1);
    EXPECT_EQ(Events(EventTarget::Hints, "melodyfail"), 1);
    EXPECT_EQ(Events(EventTarget::Prizes, "melodycomplete"), 0);
    EXPECT_EQ(CurrentLevelStat->Melodies, 0);
    EXPECT_TRUE(FloatPointsList.empty());
    EXPECT_TRUE(ImpulseEffects.empty());
}

TEST_F(NoteLineTest, AMissInTheMiddleCrossesOutThatCircle) {
    Play(Melody({84, 85, 86, 87}), {2});
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(row->NoteLine[i]->IsFailed(), i == 2 ? 1 : 0);
    EXPECT_EQ(row->completed, 0);
    EXPECT_EQ(Events(EventTarget::Prizes, "melodyfail"), 1);
}

TEST_F(NoteLineTest, AHeadWithoutFollowersLeavesAnEarlierRowAsItWas) {
    Play(Melody({84, 85, 86}));
    const auto circles = row->NoteLine;
    const int lastPick = row->LastPickTime;
    GameClock += 500;
    row->PickNote(LoneNote(87, 1), 0);
    EXPECT_EQ(row->NoteLine, circles);
    EXPECT_EQ(row->completed, 1);
    EXPECT_EQ(row->CurrentPosition, 3);
    EXPECT_EQ(row->LastPickTime, lastPick);
    EXPECT_EQ(GameplayEventLog().size(), 2u);
    // On an empty row it shows nothing.
    row->StopGame();
    row->PickNote(LoneNote(87, 1), 0);
    EXPECT_TRUE(row->NoteLine.empty());
}

TEST_F(NoteLineTest, ANewHeadReplacesAShownRowAtOnce) {
    Play(Melody({84, 85, 86}));
    ASSERT_EQ(row->completed, 1);
    const auto next = Melody({88, 87});
    row->PickNote(next[0], 0);
    ASSERT_EQ(row->NoteLine.size(), 2u);
    EXPECT_EQ(row->NoteLine[0]->note, 4);
    EXPECT_EQ(row->completed, 0);
    EXPECT_EQ(row->FailCheckDone, 0);
    EXPECT_EQ(row->CurrentPosition, 1);
    row->PickNote(next[1], 0);
    EXPECT_EQ(Events(EventTarget::Prizes, "melodycomplete"), 2);
}

TEST_F(NoteLineTest, APassedRowStaysTwoSecondsAfterItsLastPick) {
    Play(Melody({84, 85}));
    const int last = row->LastPickTime;
    GameClock = float(last + 2000);
    row->Update(1);
    EXPECT_EQ(row->NoteLine.size(), 2u);
    EXPECT_EQ(row->completed, 1);
    GameClock = float(last + 2001);
    row->Update(1);
    EXPECT_TRUE(row->NoteLine.empty());
    EXPECT_EQ(row->completed, 0);
}

TEST_F(NoteLineTest, ARowNotYetPassedIsNotClearedByTime) {
    const auto chain = Melody({84, 85, 86});
    row->PickNote(chain[0], 0);
    GameClock += 10000;
    row->Update(1);
    EXPECT_EQ(row->NoteLine.size(), 3u);
    row->StopGame();
    EXPECT_TRUE(row->NoteLine.empty());
}

TEST_F(NoteLineTest, CirclesAreCentredFortyOnePixelsApart) {
    std::vector<DrawnCircle> drawn;
    for (int n : {1, 2, 5}) {
        SCOPED_TRACE(n);
        drawn.clear();
        row->NoteLine.clear();
        for (int i = 0; i < n; ++i) {
            auto circle = std::make_shared<RecordingCircle>();
            circle->log = &drawn;
            row->NoteLine.push_back(circle);
        }
        row->CurrentPosition = n / 2;
        row->Draw();
        ASSERT_EQ(drawn.size(), size_t(n));
        for (int i = 0; i < n; ++i) {
            EXPECT_FLOAT_EQ(drawn[size_t(i)].x, 278 / 2 - (n - 1) * 20.5f + 41 * i);
            EXPECT_FLOAT_EQ(drawn[size_t(i)].y, 45 / 2);
            EXPECT_FLOAT_EQ(drawn[size_t(i)].alpha, i < row->CurrentPosition ? 1.0f : 0.5f);
        }
        if (n == 5) {
            const float worked[] = {57, 98, 139, 180, 221};
            for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(drawn[size_t(i)].x, worked[i]);
            EXPECT_FLOAT_EQ(drawn[0].y, 22);
        }
    }
}

TEST(NoteLineCircle, TakesThePictureOfItsLine) {
    ImagePtr* pictures[5] = {&IMAGE_NOTELINE_CIRCLE_1, &IMAGE_NOTELINE_CIRCLE_2, &IMAGE_NOTELINE_CIRCLE_3,
                                   &IMAGE_NOTELINE_CIRCLE_4, &IMAGE_NOTELINE_CIRCLE_5};
    for (auto* p : pictures) *p = std::make_shared<TImage>();
    TNoteLineCircle circle;
    for (int line = 0; line < 5; ++line) {
        circle.SetNote(line);
        EXPECT_EQ(circle.note, line);
        EXPECT_EQ(circle.image, *pictures[line]);
    }
    // Outside 0–4 the picture it had stays.
    circle.SetNote(2);
    circle.SetNote(7);
    EXPECT_EQ(circle.note, 7);
    EXPECT_EQ(circle.image, IMAGE_NOTELINE_CIRCLE_3);
    circle.SetNote(-1);
    EXPECT_EQ(circle.image, IMAGE_NOTELINE_CIRCLE_3);
    EXPECT_EQ(circle.IsFailed(), 0);
    circle.Fail();
    EXPECT_EQ(circle.IsFailed(), 1);
    for (auto* p : pictures) *p = nullptr;
}

// The row as the player sees it: drawn by the widget manager in its place.
class NoteLineDrawTest : public gfxtest::DisplayTest {
protected:
    void SetUp() override {
        gfxtest::DisplayTest::SetUp();
        if (IsSkipped()) return;
        UseDrivenClock(1000);
        GameClock = 1000;
        WidgetManager = std::make_shared<TWidgetmanager>();
        ImagePtr* pictures[5] = {&IMAGE_NOTELINE_CIRCLE_1, &IMAGE_NOTELINE_CIRCLE_2, &IMAGE_NOTELINE_CIRCLE_3,
                                       &IMAGE_NOTELINE_CIRCLE_4, &IMAGE_NOTELINE_CIRCLE_5};
        for (auto* p : pictures) {
            *p = gfxtest::SolidImage(16, 16, gfxtest::Argb(255, 0, 200, 0));
            CentreImageHandle(*p);
        }
        // The cross is smaller, so the circle shows round it.
        IMAGE_NOTELINE_CIRCLE_FAIL = gfxtest::SolidImage(6, 6, gfxtest::Argb(255, 200, 0, 0));
        CentreImageHandle(IMAGE_NOTELINE_CIRCLE_FAIL);
    }
    void TearDown() override {
        for (auto* p : {&IMAGE_NOTELINE_CIRCLE_1, &IMAGE_NOTELINE_CIRCLE_2, &IMAGE_NOTELINE_CIRCLE_3,
                        &IMAGE_NOTELINE_CIRCLE_4, &IMAGE_NOTELINE_CIRCLE_5, &IMAGE_NOTELINE_CIRCLE_FAIL})
            *p = nullptr;
        WidgetManager = nullptr;
        UseRealClock();
        gfxtest::DisplayTest::TearDown();
    }
};

TEST_F(NoteLineDrawTest, PassedCirclesAreOpaqueMissedOnesCrossed) {
    auto row = std::make_shared<TNoteLineWidget>();
    row->Resize(261, 178, 278, 45);
    WidgetManager->AddWidget(row);
    const auto chain = Melody({84, 85, 86, 87, 88});
    row->PickNote(chain[0], 0);
    row->PickNote(chain[1], 1);
    WidgetManager->Draw();
    PicturePtr frame = GrabFrame();
    // Screen centres: the widget's corner plus 57, 98, 139, 180, 221 and 22.
    const int xs[] = {318, 359, 400, 441, 482};
    EXPECT_TRUE(gfxtest::SameColour(frame->ReadPixel(xs[0], 200), gfxtest::Argb(255, 0, 200, 0)));
    EXPECT_TRUE(gfxtest::SameColour(frame->ReadPixel(xs[1], 200), gfxtest::Argb(255, 200, 0, 0)));
    EXPECT_TRUE(gfxtest::SameColour(frame->ReadPixel(xs[1] + 6, 200), gfxtest::Argb(255, 0, 200, 0)));
    for (int i = 2; i < 5; ++i)
        EXPECT_TRUE(gfxtest::SameColour(frame->ReadPixel(xs[i], 200), gfxtest::Argb(255, 0, 100, 0)));
    // Between circles there is nothing.
    EXPECT_TRUE(gfxtest::SameColour(frame->ReadPixel(338, 200), gfxtest::Argb(255, 0, 0, 0)));
}

}  // namespace
