#include "core/Stack.h"

Stack::~Stack() { Clear(); }

ObjectPtr Stack::Pop() {
    if (!Current) return nullptr;
    ObjectPtr value = std::move(Current->Value);
    Current = std::move(Current->Nxt);
    return value;
}

ObjectPtr Stack::Peek(int n) const {
    if (n < 0) return nullptr;
    const StackEntry* cell = Current.get();
    for (; cell != nullptr && n > 0; --n) cell = cell->Nxt.get();
    return cell ? cell->Value : nullptr;
}

void Stack::Clear() {
    // Unlink cell by cell: letting the chain destroy itself would recurse once
    // per cell and could overflow on a very deep stack.
    while (Current) Current = std::move(Current->Nxt);
}

int Stack::IsEmpty() const { return Current ? 0 : 1; }

void LIFO::Push(ObjectPtr value) {
    auto cell = std::make_unique<StackEntry>();
    cell->Value = std::move(value);
    cell->Nxt = std::move(Current);
    Current = std::move(cell);
}
