#include "progress/TGameData.h"

#include <algorithm>

int TGameData::GetHiScore(int level) const {
    if (level > CurrentLevel || !InArrays(level)) return 0;
    return Scores[level - 1];
}

int TGameData::GetLevelStars(int level) const {
    if (level > CurrentLevel || !InArrays(level)) return 0;
    return Stars[level - 1];
}

int TGameData::SetIfNotLower(std::array<int32_t, ENTRIES>& values, int level, int value) {
    if (!InArrays(level) || values[level - 1] > value) return 0;
    values[level - 1] = value;
    return 1;
}

int TGameData::SetHiScore(int level, int score) { return SetIfNotLower(Scores, level, score); }

int TGameData::SetLevelStars(int level, int stars) { return SetIfNotLower(Stars, level, stars); }

bool TGameData::HasPrize(const std::string& className) const {
    return std::find(Prizes.begin(), Prizes.end(), className) != Prizes.end();
}

void TGameData::Save(TStream& stream) const {
    // The reader takes a level outside the arrays for damage, so none is
    // ever written (the game itself never sets one).
    const int32_t levels = std::clamp<int32_t>(CurrentLevel, 1, ENTRIES);
    stream.WriteInt(levels);
    stream.WriteInt(static_cast<int32_t>(Prizes.size()));
    for (const std::string& prize : Prizes) WriteString(stream, prize);
    for (int i = 0; i < levels; ++i) stream.WriteInt(Scores[i]);
    for (int i = 0; i < levels; ++i) stream.WriteInt(Stars[i]);
}

bool TGameData::Load(TStream& stream) {
    int32_t level = 0;
    if (!ReadInt32(stream, level) || level < 1 || level > ENTRIES) return false;
    CurrentLevel = level;
    int32_t count = 0;
    // Every name takes at least its four-byte count.
    if (!ReadInt32(stream, count) || count < 0 || int64_t(count) * 4 > BytesLeft(stream)) return false;
    Prizes.clear();
    for (int32_t i = 0; i < count; ++i) {
        std::string name;
        if (!ReadString(stream, name)) return false;
        Prizes.push_back(std::move(name));
    }
    if (int64_t(level) * 8 > BytesLeft(stream)) return false;
    for (int i = 0; i < level; ++i) ReadInt32(stream, Scores[i]);
    for (int i = 0; i < level; ++i) ReadInt32(stream, Stars[i]);
    return true;
}
