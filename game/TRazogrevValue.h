#pragma once
#include <cstdint>
#include <memory>

#include "core/TObject.h"

// One contribution to the combo meter. The highway keeps them oldest first;
// catches append, misses and the time decay take from the front, and the sum
// of what is left is where the meter heads.
class TRazogrevValue : public TObject {
    TOTEM_CLASS(TRazogrevValue)

    int32_t value = 0;

    static std::shared_ptr<TRazogrevValue> Create(int32_t value) {
        auto v = std::make_shared<TRazogrevValue>();
        v->value = value;
        return v;
    }
};
using RazogrevValuePtr = std::shared_ptr<TRazogrevValue>;
