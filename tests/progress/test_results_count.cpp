// The results' count-up, stage by stage, on a driven clock: the running
// total, the high-score marker, the prize row and the level's stars.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PrizeTestSupport.h"
#include "progress/PrizeGallery.h"
#include "progress/TResultsCountUp.h"

namespace {

using namespace progress_test;

// Records what the count-up asked for, frame by frame, and places prizes the
// way the dialog does.
struct Recorder : TResultsCountUp::Listener {
    explicit Recorder(TResultsCountUp& count) : count(count) {}
    void Ding() override { calls.push_back("ding"); }
    void Burst(const std::string& id) override { calls.push_back("burst " + id); }
    void AddNextPrize() override {
        calls.push_back("prize");
        placed.push_back(count.PlaceNextPrize(kDialogX, kDialogY));
        placedAt.push_back(ClockMs());
    }
    static constexpr int kDialogX = 20, kDialogY = 10;
    TResultsCountUp& count;
    std::vector<std::string> calls;
    std::vector<PrizeWidgetPtr> placed;
    std::vector<int32_t> placedAt;
};

class ResultsCount : public PrizeTest {
protected:
    void SetUp() override {
        PrizeTest::SetUp();
        GameClock = 20000;
    }

    // One 17 ms frame: the clocks move, then the count-up steps.
    void Frame() {
        GameClock += 17;
        AdvanceClock(17);
        count.Step(recorder);
        ++frames;
    }
    // Frames until the stage moves past `stage`; the frames taken.
    int RunStage(int stage) {
        int n = 0;
        while (count.LabelsShowingState == stage && n < 1000) {
            Frame();
            ++n;
        }
        return n;
    }
    std::string Label(const char* id) const {
        std::string text;
        EXPECT_TRUE(count.LabelValue(id, text));
        return text;
    }

    TLevelStat Stat(int notes, int stars, int frets, int melodies, int accuracy, int hi, int levelStars) {
        TLevelStat s;
        s.Notes = notes;
        s.Stars = stars;
        s.Frets = frets;
        s.Melodies = melodies;
        s.Accuracy = accuracy;
        s.IsHiScore = hi;
        s.StarsForLevel = levelStars;
        return s;
    }

    TResultsCountUp count;
    Recorder recorder{count};
    int frames = 0;
};

TEST_F(ResultsCount, TotalCountsAlongCategoryByCategory) {
    TLevelStat stat = Stat(1200, 300, 150, 500, 83, 0, 2);
    count.Start(stat, 0);
    EXPECT_EQ(Label("totalscore"), "0");
    // Each category takes just over its 600 ms.
    EXPECT_EQ(RunStage(0), 37);
    EXPECT_EQ(Label("notes"), "1200");
    EXPECT_EQ(Label("totalscore"), "1200");
    RunStage(1);
    EXPECT_EQ(Label("stars"), "300");
    EXPECT_EQ(Label("totalscore"), "1500") << "the unfinished count jumps to its target";
    RunStage(2);
    EXPECT_EQ(Label("frets"), "150");
    EXPECT_EQ(Label("totalscore"), "1650");
    RunStage(3);
    EXPECT_EQ(Label("melodies"), "500");
    EXPECT_LT(count.TotalScore->value, 2150) << "the last 500 still counting";
    bool reached = false;
    while (count.LabelsShowingState == 4) {
        Frame();
        reached = reached || Label("totalscore") == "2150";
    }
    EXPECT_TRUE(reached) << "the total reaches 2150 while the accuracy counts";
    EXPECT_EQ(Label("accuracy"), "83.0");
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"ding", "burst notes", "ding", "burst stars", "ding",
                                                        "burst frets", "ding", "burst melodies", "ding",
                                                        "burst accuracy"}));
}

TEST_F(ResultsCount, HiScoreMarkerShowsFromTheAccuracyOn) {
    TLevelStat stat = Stat(100, 100, 100, 100, 50, 1, 1);
    count.Start(stat, 0);
    while (count.LabelsShowingState < 4) {
        EXPECT_FALSE(count.HiScoreMarkerShown()) << "stage " << count.LabelsShowingState;
        Frame();
    }
    EXPECT_TRUE(count.HiScoreMarkerShown()) << "shown from the frame the accuracy starts";
    while (count.LabelsShowingState < 7) Frame();
    EXPECT_TRUE(count.HiScoreMarkerShown());

    TResultsCountUp other;
    TLevelStat notHigh = Stat(100, 0, 0, 0, 50, 0, 1);
    other.Start(notHigh, 0);
    other.LabelsShowingState = 7;
    EXPECT_FALSE(other.HiScoreMarkerShown());
}

struct StarCase {
    int stars;
    bool lit[3];
};

TEST_F(ResultsCount, LevelStarsFillAfterThePrizes) {
    for (const StarCase& c : {StarCase{0, {false, false, false}}, StarCase{2, {true, true, false}},
                              StarCase{3, {true, true, true}}}) {
        SCOPED_TRACE(c.stars);
        TLevelStat stat = Stat(0, 0, 0, 0, 0, 0, c.stars);
        count = TResultsCountUp();
        count.Start(stat, 0);
        while (count.LabelsShowingState < 5) {
            for (int n = 1; n <= 3; ++n) EXPECT_FALSE(count.StarLit(n)) << "empty before the stars count";
            Frame();
        }
        // No prizes: the stars start counting on the frame after the accuracy.
        Frame();
        EXPECT_EQ(count.LabelsShowingState, 6);
        while (count.LabelsShowingState < 7) Frame();
        for (int n = 1; n <= 3; ++n) EXPECT_EQ(count.StarLit(n), c.lit[n - 1]) << "star " << n;
    }
}

TEST_F(ResultsCount, ZeroCategoriesStillTakeTheirTimeDingAndBurst) {
    TLevelStat stat = Stat(0, 0, 0, 0, 0, 0, 0);
    count.Start(stat, 0);
    EXPECT_EQ(RunStage(0), 37);
    EXPECT_EQ(RunStage(1), 37);
    EXPECT_EQ(recorder.calls.size(), 4u);
    EXPECT_EQ(Label("totalscore"), "0");
}

TEST_F(ResultsCount, AccuracyOutsideZeroToHundredIsClamped) {
    TLevelStat stat = Stat(0, 0, 0, 0, 130, 0, 0);
    count.Start(stat, 0);
    EXPECT_EQ(stat.Accuracy, 100) << "written back into the record";
    EXPECT_EQ(count.Accuracy->dist, 100.0f);
    TLevelStat negative = Stat(0, 0, 0, 0, -4, 0, 0);
    count.Start(negative, 0);
    EXPECT_EQ(negative.Accuracy, 0);
}

TEST_F(ResultsCount, ThreePrizesDropInCentredEveryHalfSecond) {
    Send("x2");
    Send("x4");
    Send("longpick");
    ASSERT_EQ(NewPrizes.size(), 3u);
    TPrizeWidget::RemoveAll();  // the pop-ups of the level
    TLevelStat stat = Stat(10, 0, 0, 0, 90, 0, 1);
    count.Start(stat, 0);
    count.StartPrizeRow();
    EXPECT_EQ(count.PrizesX, 399 - 111);
    while (count.LabelsShowingState < 6) Frame();
    ASSERT_EQ(recorder.placed.size(), 3u);
    const int centres[] = {288, 362, 436};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(recorder.placed[i]->x, centres[i] + Recorder::kDialogX);
        EXPECT_EQ(recorder.placed[i]->_x, centres[i] + Recorder::kDialogX - 32);
        EXPECT_EQ(recorder.placed[i]->_y, 230 + Recorder::kDialogY);
        EXPECT_EQ(recorder.placed[i]->HideAfterTime, 0) << "the row stays";
        if (i > 0) {
            const int gap = recorder.placedAt[i] - recorder.placedAt[i - 1];
            EXPECT_GT(gap, 500);
            EXPECT_LE(gap, 517) << "the first frame after the half second";
        }
    }
    EXPECT_TRUE(NewPrizes.empty());
    // The stars start on the frame the last prize has gone from the list.
    EXPECT_EQ(count.LabelsShowingState, 6);
}

TEST(PrizeGallery, EighteenPicturesWrapOnceARowPassesX490) {
    for (ImagePtr* image : PrizeImageGlobals()) *image = CreateImage(64, 60);
    const std::vector<GalleryPlace> places = GalleryLayout();
    ASSERT_EQ(places.size(), 18u);
    for (size_t i = 0; i < places.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(places[i].prizeClass, &PrizeClasses()[i]);
        // 40, 104, …, 488: the eighth ends past 490, so rows hold eight.
        EXPECT_EQ(places[i].x, 40 + 64 * int(i % 8));
        EXPECT_EQ(places[i].y, 100 + 60 * int(i / 8));
    }
    for (ImagePtr* image : PrizeImageGlobals()) *image = nullptr;
}

}  // namespace
