#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "progress/TStdIO.h"

class TGameData;
using GameDataPtr = std::shared_ptr<TGameData>;

// One profile's progress: the prizes received, the best score and the stars
// of every level, and how far the story is unlocked. It saves and reads its
// block of "User.dat" (the current level L, the prize names, then L scores
// and L stars).
class TGameData : public TStdIO {
    TOTEM_CLASS(TGameData)

    // The levels of the story plus two spare entries; a block never holds more.
    static constexpr int ENTRIES = 30;

    std::vector<std::string> Prizes;  // class names, in the order received
    std::array<int32_t, ENTRIES> Scores{};  // entry n − 1: level n
    std::array<int32_t, ENTRIES> Stars{};
    int32_t CurrentLevel = 1;  // highest unlocked level

    // Levels count from 1. A level above CurrentLevel has no score or stars
    // yet; one outside the arrays has none at all and takes none.
    int GetHiScore(int level) const;
    // Stores the score unless the stored one is higher: an equal score is a
    // new high score. 1 when stored.
    int SetHiScore(int level, int score);
    // The same rule for stars, which therefore only ever rise.
    int SetLevelStars(int level, int stars);
    int GetLevelStars(int level) const;

    bool HasPrize(const std::string& className) const;

    void Save(TStream& stream) const;
    // Reads a block over this one: CurrentLevel, the prizes, then the first L
    // scores and stars; entries from L on keep their values. False when the
    // block is damaged (a current level outside 1 … ENTRIES, a count the
    // bytes left cannot hold, a broken string); this object may then be half
    // read and should be thrown away.
    bool Load(TStream& stream);

private:
    static bool InArrays(int level) { return level >= 1 && level <= ENTRIES; }
    static int SetIfNotLower(std::array<int32_t, ENTRIES>& values, int level, int value);
};
