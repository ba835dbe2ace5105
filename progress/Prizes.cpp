#include "progress/Prizes.h"

#include "content/ResourceCatalogue.h"

int TRunPrize::Event(const std::string& name) {
    if (name == Adds) Count += 1;
    else if (name == Breaks) Count = 0;
    return Count == Length ? 1 : 0;
}

int TSeriesPrize::Event(const std::string& name) {
    if (name == "notepick") Count += 1;
    else if (name == "notefail") Count = 0;
    return Count == Value ? 1 : 0;
}

int TPRIZE_ALLNOTES::Event(const std::string& name) {
    if (name == "notefail") CountFails += 1;
    else if (name == "notesended") return CountFails == 0 ? 1 : 0;
    return 0;
}

namespace {
template <class Prize>
PrizePtr Make() {
    return std::make_shared<Prize>();
}

// The pictures' numbers need not match the classes' (a 10-star run shows the
// "5STARS" picture).
#define TOTEM_PRIZE_CLASS(Name, Image, Label) PrizeClass{Name::StaticClassName, &Make<Name>, &Image, Label}

const std::array<PrizeClass, PRIZE_CLASS_COUNT> kPrizeClasses = {
    TOTEM_PRIZE_CLASS(TPRIZE_10STARS, IMAGE_PRIZES_5STARS, 200),
    TOTEM_PRIZE_CLASS(TPRIZE_20STARS, IMAGE_PRIZES_10STARS, 201),
    TOTEM_PRIZE_CLASS(TPRIZE_10LINES, IMAGE_PRIZES_5LINES, 202),
    TOTEM_PRIZE_CLASS(TPRIZE_20LINES, IMAGE_PRIZES_10LINES, 203),
    TOTEM_PRIZE_CLASS(TPRIZE_10MELODY, IMAGE_PRIZES_5MELODY, 204),
    TOTEM_PRIZE_CLASS(TPRIZE_20MELODY, IMAGE_PRIZES_10MELODY, 205),
    TOTEM_PRIZE_CLASS(TPRIZE_30MELODY, IMAGE_PRIZES_15MELODY, 206),
    TOTEM_PRIZE_CLASS(TPRIZE_25SERIES, IMAGE_PRIZES_10SERIES, 207),
    TOTEM_PRIZE_CLASS(TPRIZE_50SERIES, IMAGE_PRIZES_20SERIES, 208),
    TOTEM_PRIZE_CLASS(TPRIZE_75SERIES, IMAGE_PRIZES_40SERIES, 209),
    TOTEM_PRIZE_CLASS(TPRIZE_100SERIES, IMAGE_PRIZES_100SERIES, 210),
    TOTEM_PRIZE_CLASS(TPRIZE_X2, IMAGE_PRIZES_x2, 211),
    TOTEM_PRIZE_CLASS(TPRIZE_X4, IMAGE_PRIZES_x4, 212),
    TOTEM_PRIZE_CLASS(TPRIZE_ALLNOTES, IMAGE_PRIZES_ALLNOTES, 213),
    TOTEM_PRIZE_CLASS(TPRIZE_NOTES, IMAGE_PRIZES_NOTES, 214),
    TOTEM_PRIZE_CLASS(TPRIZE_LINES, IMAGE_PRIZES_LINES, 215),
    TOTEM_PRIZE_CLASS(TPRIZE_MELODY, IMAGE_PRIZES_MELODY, 216),
    TOTEM_PRIZE_CLASS(TPRIZE_LONG, IMAGE_PRIZES_LONG, 217),
};

#undef TOTEM_PRIZE_CLASS
}  // namespace

const std::array<PrizeClass, PRIZE_CLASS_COUNT>& PrizeClasses() { return kPrizeClasses; }

PrizePtr CreatePrize(const PrizeClass& prizeClass) {
    PrizePtr prize = prizeClass.create();
    prize->Image = prizeClass.image ? *prizeClass.image : nullptr;
    prize->Label = prizeClass.label;
    return prize;
}
