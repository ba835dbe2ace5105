#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/GameClock.h"
#include "game/TMidiFile.h"
#include "game/TNoteLineWidget.h"

namespace {

// A melody chain of notes on the given lines, the head first.
std::vector<MidiNotePtr> Melody(std::initializer_list<int> lines, int32_t start) {
    std::vector<MidiNotePtr> chain;
    for (int line : lines) {
        auto n = std::make_shared<TMidiNote>();
        n->note = TMidiFile::NOTE_LINE_FIRST + line;
        n->StartTime = start;
        start += 400;
        if (!chain.empty()) chain.back()->next_ = n;
        chain.push_back(n);
    }
    chain.front()->StartLine = 1;
    return chain;
}

MidiNotePtr LoneNote(int line) {
    auto n = std::make_shared<TMidiNote>();
    n->note = TMidiFile::NOTE_LINE_FIRST + line;
    n->single = 1;
    return n;
}

// Two seconds after a melody is judged its row is cleared; the catches and
// misses that come before the next melody's head then have no row to move
// on. A miss there used to cross out a circle past the end of the empty row.
TEST(NoteLineRowCleared, PicksBeforeTheNextHeadMoveNothing) {
    GameClock = 1000;
    auto row = std::make_shared<TNoteLineWidget>();
    const auto first = Melody({1, 2, 3}, 1000);
    row->PickNote(first[0], 0);
    row->PickNote(first[1], 0);
    row->PickNote(first[2], 1);  // the melody fails: no points, no controller needed
    ASSERT_EQ(row->CurrentPosition, 3);
    ASSERT_EQ(row->FailCheckDone, 1);

    GameClock = 1000 + 2001;
    row->Update(1);
    ASSERT_TRUE(row->NoteLine.empty());

    for (int failed : {1, 0, 1}) {
        row->PickNote(LoneNote(4), failed);
        EXPECT_TRUE(row->NoteLine.empty());
        EXPECT_EQ(row->CurrentPosition, 0);
    }

    // The next melody starts its own row from its head.
    const auto second = Melody({0, 4}, 6000);
    row->PickNote(second[0], 1);
    ASSERT_EQ(row->NoteLine.size(), 2u);
    EXPECT_EQ(row->CurrentPosition, 1);
    EXPECT_EQ(row->NoteLine[0]->IsFailed(), 1);
    EXPECT_EQ(row->NoteLine[1]->IsFailed(), 0);
}

}  // namespace
