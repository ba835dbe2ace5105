#pragma once
#include <memory>

#include "core/TObject.h"

using ObjectPtr = std::shared_ptr<TObject>;

// One cell of a singly linked stack.
struct StackEntry {
    ObjectPtr Value;
    std::unique_ptr<StackEntry> Nxt;  // the cell below; null at the bottom
};

// A stack of shared objects; subclasses decide where Push puts a new cell.
class Stack {
public:
    Stack() = default;
    Stack(const Stack&) = delete;
    Stack& operator=(const Stack&) = delete;
    virtual ~Stack();

    virtual void Push(ObjectPtr value) = 0;
    // The top value, removed; null when empty.
    virtual ObjectPtr Pop();
    // The value n cells below the top (0 = top); null when the stack is not
    // that deep.
    virtual ObjectPtr Peek(int n) const;
    virtual void Clear();
    virtual int IsEmpty() const;

    std::unique_ptr<StackEntry> Current;  // the top cell; null when empty
};

// Last in, first out.
class LIFO : public Stack {
public:
    void Push(ObjectPtr value) override;
};
