#pragma once
#include <list>

#include "core/TObject.h"

class TBBType;
// A registry list. It does not own its members: an object leaves its list by
// itself when it is destroyed, so the list never holds a dangling entry.
using TBBList = std::list<TBBType*>;

// Base for objects that are members of one registry list (XML nodes and
// attributes list themselves from birth). The object remembers its list and
// its own place in it, so moving and removing it needs no search.
class TBBType : public TObject {
    TOTEM_CLASS(TBBType)

    TBBType() = default;
    TBBType(const TBBType&) = delete;
    TBBType& operator=(const TBBType&) = delete;
    ~TBBType() override;

    // Appends the object to `list` (leaving any list it was in before).
    virtual void Add(TBBList& list);
    // Moves the object to just before / after `other`, which must be a member
    // of the same list; otherwise nothing happens.
    virtual void InsertBefore(TBBType& other);
    virtual void InsertAfter(TBBType& other);
    // Takes the object out of its list; the list stays remembered.
    virtual void Remove();

    TBBList* List() const { return _list; }
    bool IsLinked() const { return _linked; }

protected:
    TBBList* _list = nullptr;
    TBBList::iterator _link{};
    bool _linked = false;

private:
    bool SameListAs(const TBBType& other) const;
};
