#include "core/TBBType.h"

TBBType::~TBBType() { Remove(); }

void TBBType::Add(TBBList& list) {
    Remove();
    _list = &list;
    _link = list.insert(list.end(), this);
    _linked = true;
}

bool TBBType::SameListAs(const TBBType& other) const {
    return &other != this && _list != nullptr && other._linked && other._list == _list;
}

void TBBType::InsertBefore(TBBType& other) {
    if (!SameListAs(other)) return;
    Remove();
    _link = _list->insert(other._link, this);
    _linked = true;
}

void TBBType::InsertAfter(TBBType& other) {
    if (!SameListAs(other)) return;
    Remove();
    _link = _list->insert(std::next(other._link), this);
    _linked = true;
}

void TBBType::Remove() {
    if (!_linked) return;
    _list->erase(_link);
    _link = TBBList::iterator{};
    _linked = false;
}
