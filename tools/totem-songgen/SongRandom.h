#pragma once
#include <cstdint>
#include <vector>

// A small fixed generator (PCG32) so that a song's seed gives the same music
// on every machine and library version; the standard distributions are not
// specified bit for bit.
class SongRandom {
public:
    explicit SongRandom(uint64_t seed) : state_(0), inc_((seed << 1u) | 1u) {
        Next();
        state_ += seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull;
        Next();
    }
    uint32_t Next() {
        uint64_t old = state_;
        state_ = old * 6364136223846793005ull + inc_;
        uint32_t shifted = uint32_t(((old >> 18u) ^ old) >> 27u);
        uint32_t rot = uint32_t(old >> 59u);
        return (shifted >> rot) | (shifted << ((32 - rot) & 31));
    }
    // Uniform integer in [lo, hi].
    int Range(int lo, int hi) { return hi <= lo ? lo : lo + int(Next() % uint32_t(hi - lo + 1)); }
    double Unit() { return Next() / 4294967296.0; }
    bool Chance(double p) { return Unit() < p; }
    template <class T>
    const T& Pick(const std::vector<T>& items) { return items[size_t(Range(0, int(items.size()) - 1))]; }

private:
    uint64_t state_, inc_;
};
