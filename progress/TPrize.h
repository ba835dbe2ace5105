#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "core/TObject.h"
#include "media/TImage.h"

class TPrize;
using PrizePtr = std::shared_ptr<TPrize>;

// An achievement for a feat within one level. Each prize class has one rule,
// Event, that watches the gameplay event names (lower case) and answers 1 the
// moment the feat is done. A profile keeps the class names of the prizes it
// has received, so the class name is the prize's identity in "User.dat". Make
// prizes with CreatePrize (Prizes.h), which gives them their picture and text.
class TPrize : public TObject {
    TOTEM_CLASS(TPrize)

    ImagePtr Image;
    int32_t Recieved = 0;
    int32_t Label = 0;  // number of its text in TextTable

    // 1 when `name` has just earned the prize.
    virtual int Event(const std::string& name);
};
