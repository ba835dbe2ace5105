#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "progress/TPrize.h"

// The 18 prizes. They come in four families: a run of one event broken by
// another (stars and frets clicked, melodies completed), a series of notes
// caught without a miss, one event that is enough, and a song without a
// missed note. Every level arms one fresh object of each class, so the
// counters are per level.

// `Adds` extends the run, `Breaks` ends it; earned when the run reaches Length.
class TRunPrize : public TPrize {
    TOTEM_CLASS(TRunPrize)

    int32_t Count = 0;

    int Event(const std::string& name) override;

protected:
    TRunPrize(const char* adds, const char* breaks, int32_t length) : Adds(adds), Breaks(breaks), Length(length) {}

private:
    const char* Adds;
    const char* Breaks;
    int32_t Length;
};

// Notes and frets caught in a row ("notepick"), broken by a missed note.
class TSeriesPrize : public TPrize {
    TOTEM_CLASS(TSeriesPrize)

    int32_t Count = 0;
    int32_t Value = 0;  // the run needed

    int Event(const std::string& name) override;

protected:
    explicit TSeriesPrize(int32_t value) : Value(value) {}
};

// Earned by the first occurrence of one event.
class TEventPrize : public TPrize {
    TOTEM_CLASS(TEventPrize)

    int Event(const std::string& name) override { return name == Earns ? 1 : 0; }

protected:
    explicit TEventPrize(const char* earns) : Earns(earns) {}

private:
    const char* Earns;
};

#define TOTEM_PRIZE(Name, Base, ...)                 \
    class Name final : public Base {                 \
        TOTEM_CLASS(Name)                            \
        Name() : Base(__VA_ARGS__) {}                \
    };

TOTEM_PRIZE(TPRIZE_10STARS, TRunPrize, "starclick", "starclickfailed", 10)
TOTEM_PRIZE(TPRIZE_20STARS, TRunPrize, "starclick", "starclickfailed", 20)
TOTEM_PRIZE(TPRIZE_10LINES, TRunPrize, "fretclick", "fretfail", 10)
TOTEM_PRIZE(TPRIZE_20LINES, TRunPrize, "fretclick", "fretfail", 20)
TOTEM_PRIZE(TPRIZE_10MELODY, TRunPrize, "melodycomplete", "melodyfail", 10)
TOTEM_PRIZE(TPRIZE_20MELODY, TRunPrize, "melodycomplete", "melodyfail", 20)
TOTEM_PRIZE(TPRIZE_30MELODY, TRunPrize, "melodycomplete", "melodyfail", 30)
TOTEM_PRIZE(TPRIZE_25SERIES, TSeriesPrize, 25)
TOTEM_PRIZE(TPRIZE_50SERIES, TSeriesPrize, 50)
TOTEM_PRIZE(TPRIZE_75SERIES, TSeriesPrize, 75)
TOTEM_PRIZE(TPRIZE_100SERIES, TSeriesPrize, 100)
TOTEM_PRIZE(TPRIZE_X2, TEventPrize, "x2")
TOTEM_PRIZE(TPRIZE_X4, TEventPrize, "x4")
TOTEM_PRIZE(TPRIZE_NOTES, TEventPrize, "starclick")
TOTEM_PRIZE(TPRIZE_LINES, TEventPrize, "fretclick")
TOTEM_PRIZE(TPRIZE_MELODY, TEventPrize, "melodycomplete")
TOTEM_PRIZE(TPRIZE_LONG, TEventPrize, "longpick")

#undef TOTEM_PRIZE

// A song played to its end ("notesended") without a missed note.
class TPRIZE_ALLNOTES final : public TPrize {
    TOTEM_CLASS(TPRIZE_ALLNOTES)

    int32_t CountFails = 0;

    int Event(const std::string& name) override;
};

// One prize class: its name as profiles store it, how to make one, its
// picture (the resource global) and its text number.
struct PrizeClass {
    const char* name;
    PrizePtr (*create)();
    const ImagePtr* image;
    int32_t label;
};

inline constexpr int PRIZE_CLASS_COUNT = 18;

// Every prize class, in the order they are armed, checked and shown in the
// gallery. The one list of prizes in the game.
const std::array<PrizeClass, PRIZE_CLASS_COUNT>& PrizeClasses();

// A fresh prize of that class, with its picture and text number.
PrizePtr CreatePrize(const PrizeClass& prizeClass);
