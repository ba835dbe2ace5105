#pragma once
#include <cstdint>
#include <memory>

#include "core/TObject.h"

class TLevelStat;
using LevelStatPtr = std::shared_ptr<TLevelStat>;

// What one level leaves for its results: points earned per category (after
// the multiplier), how many notes and frets were spawned and caught, and the
// verdict worked out when the song ends. The items and the melody line add to
// it while the level runs.
class TLevelStat : public TObject {
    TOTEM_CLASS(TLevelStat)

    int32_t Notes = 0;          // plain notes and bonus items
    int32_t Frets = 0;
    int32_t Stars = 0;          // starred notes
    int32_t Melodies = 0;       // completed melodies
    int32_t Accuracy = 0;       // percent of notes and frets caught
    int32_t NotesAll = 0;       // notes and frets spawned (bonus items not counted)
    int32_t NotesCount = 0;     // notes and frets caught
    int32_t IsHiScore = 0;
    int32_t StarsForLevel = 0;  // 0–3
};
