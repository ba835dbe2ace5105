// When the highway spawns the chart's items, where a late one starts, the
// light flash notes, and the end of the notes.
#include <cmath>
#include <typeinfo>

#include "HighwayTestSupport.h"

namespace {

using namespace highway_test;

using SpawnTest = HighwayTest;

TEST_F(SpawnTest, ItemsSpawnAFullHighwayRunBeforeTheirTime) {
    // A note at 5000 ms spawns at SongTime 2555 at speed 1 and at 2962.5 —
    // the first whole millisecond at or after it, 2963 — at speed 1.2; a bonus
    // item runs at 1.5 whatever the level's speed and spawns at 3370.
    const struct {
        float levelSpeed;
        int number;
        float itemSpeed;
        int spawnAt;  // the worked figure
    } cases[] = {{1.0f, kLine0 + 2, 1.0f, 2555}, {1.2f, kLine0 + 2, 1.2f, 2963}, {1.0f, kFret, 1.0f, 2555},
                 {1.2f, kFret, 1.2f, 2963},      {1.0f, kBonus, 1.5f, 3370},    {1.2f, kBonus, 1.5f, 3370}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "speed " << c.levelSpeed << " note " << c.number);
        LoadChart(midi_test::Chart().Note(5000, c.number, kPlain), c.levelSpeed);
        const int expected = int(std::ceil(5000 - 2445 / c.itemSpeed));
        ASSERT_EQ(expected, c.spawnAt);
        RunUntil(2400);
        while (gryph->Items.empty() && GameClock < 5000) {
            EXPECT_EQ(gryph->MIDI->notes.size(), 1u);
            Frame(1);
        }
        ASSERT_EQ(gryph->Items.size(), 1u);
        EXPECT_EQ(gryph->SongTime, expected);
        EXPECT_TRUE(gryph->MIDI->notes.empty()) << "a spawned note leaves the pending list";
        const ItemPtr item = gryph->Items.front();
        EXPECT_FLOAT_EQ(item->SpeedCoef, c.itemSpeed);
        EXPECT_FLOAT_EQ(item->time, 0);
        EXPECT_EQ(item->MidiNote->StartTime, 5000);
        EXPECT_EQ(item->owner, gryph);
        EXPECT_EQ(gryph->LastItem, item);
        if (c.number == kFret) { EXPECT_TRUE(std::dynamic_pointer_cast<TFret>(item)); }
        if (c.number == kBonus) { EXPECT_TRUE(std::dynamic_pointer_cast<TBonus50>(item)); }
        if (c.number == kLine0 + 2) {
            NotePtr note = std::dynamic_pointer_cast<TNote>(item);
            ASSERT_TRUE(note);
            EXPECT_EQ(note->LineNum, 2);
        }
        // Bonus items are not counted among the level's notes.
        EXPECT_EQ(CurrentLevelStat->NotesAll, c.number == kBonus ? 0 : 1);
        // It reaches the catch point when the music plays its note (the line
        // is moved so nothing catches it).
        PutBatOn(item->LineNum == 4 ? 0 : 4);
        RunUntil(5000, 1);
        EXPECT_NEAR(item->time, 81.5f, 0.05f);
        gryph->StopGame();
    }
}

TEST_F(SpawnTest, EarlyNoteStartsPartWayDownTheHighway) {
    // A note at 1000 ms needs 2445 / speed ms of run it has not got: it starts
    // at (lead div 30) × speed — 48 at speed 1.
    const struct {
        float speed;
        int at;
        float progress;
    } cases[] = {{1.0f, 1000, 48.0f},
                 {1.2f, 1000, (1037 / 30) * 1.2f},  // lead int(−1037.5) = −1037
                 {1.0f, 2000, (445 / 30) * 1.0f},
                 {1.0f, 30, (2415 / 30) * 1.0f},
                 {1.0f, 2445, 0.0f}};  // exactly a full run: spawns now, at the far end
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "speed " << c.speed << " at " << c.at);
        LoadChart(midi_test::Chart().Note(c.at, kLine0 + 1, kPlain), c.speed);
        Frame(1);
        ASSERT_EQ(gryph->Items.size(), 1u) << "spawned on the first frame";
        EXPECT_NEAR(gryph->Items.front()->time, c.progress, 1e-4);
        gryph->StopGame();
    }
    // A note more than a full run away waits for its spawn time.
    LoadChart(midi_test::Chart().Note(2500, kLine0 + 1, kPlain));
    Frame(1);
    EXPECT_TRUE(gryph->Items.empty());
    RunUntil(55, 1);
    ASSERT_EQ(gryph->Items.size(), 1u);
    EXPECT_FLOAT_EQ(gryph->Items.front()->time, 0);
}

TEST_F(SpawnTest, LightFlashNoteSetsTheFlashAtItsTimeAndFades) {
    LoadChart(midi_test::Chart().Note(2000, kFlash, 80).Note(9000, kLine0, kPlain));
    RunUntil(1999, 1);
    EXPECT_FLOAT_EQ(gryph->LightSFXAlpha->value, 0);
    EXPECT_EQ(gryph->MIDI->notes.size(), 2u);
    Frame(1);
    ASSERT_EQ(gryph->SongTime, 2000);
    // Set to velocity / 100, then this frame's 1 ms of fading (curve 20).
    EXPECT_NEAR(gryph->LightSFXAlpha->value, 0.8f, 0.8f / 17 / 20 + 1e-4);
    EXPECT_EQ(gryph->MIDI->notes.size(), 1u) << "the flash note is used up";
    EXPECT_TRUE(gryph->Items.empty()) << "a flash is not an item";
    const float flash = gryph->LightSFXAlpha->value;
    Run(500);
    EXPECT_LT(gryph->LightSFXAlpha->value, flash * 0.5f);
    EXPECT_GT(gryph->LightSFXAlpha->value, 0);
}

TEST_F(SpawnTest, NotesendedOnlyOnceNothingWaitsAndTheHighwayIsEmpty) {
    LoadChart(midi_test::Chart().Note(3000, kLine0 + 1, kPlain));
    RunUntil(2900);
    EXPECT_EQ(Prizes("notesended"), 0);
    // The note is caught and leaves at 81.5; from then every frame sends it.
    while (!gryph->Items.empty() && GameClock < 5000) {
        EXPECT_EQ(Prizes("notesended"), 0);
        Frame(17);
    }
    ASSERT_TRUE(gryph->Items.empty());
    ClearGameplayEvents();
    Run(170);
    EXPECT_EQ(Prizes("notesended"), 10);
}

TEST_F(SpawnTest, MelodyNotesLinkToTheNoteBefore) {
    // A head (velocity 40) with two linked notes, then a plain note.
    LoadChart(midi_test::Chart()
                  .Note(3000, kLine0 + 0, 40)
                  .Note(3300, kLine0 + 1, 10)
                  .Note(3600, kLine0 + 2, 10)
                  .Note(3900, kLine0 + 3, kPlain));
    RunUntil(1500);
    ASSERT_EQ(gryph->Items.size(), 4u);
    std::vector<NotePtr> notes;  // oldest first
    for (auto it = gryph->Items.rbegin(); it != gryph->Items.rend(); ++it)
        notes.push_back(std::dynamic_pointer_cast<TNote>(*it));
    for (const auto& n : notes) ASSERT_TRUE(n);
    EXPECT_FALSE(notes[0]->Prev) << "the head starts the melody";
    EXPECT_EQ(notes[1]->Prev, notes[0]);
    EXPECT_EQ(notes[2]->Prev, notes[1]);
    EXPECT_FALSE(notes[3]->Prev) << "a plain note links to nothing";
    EXPECT_EQ(notes[0]->IsMelody, 1);
    EXPECT_EQ(notes[3]->IsMelody, 0);
}

}  // namespace
