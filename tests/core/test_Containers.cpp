#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Stack.h"
#include "core/TBBType.h"

namespace {

class Named : public TBBType {
    TOTEM_CLASS(Named)
    explicit Named(std::string n) : name(std::move(n)) {}
    std::string name;
};

std::string Order(const TBBList& list) {
    std::string out;
    for (const TBBType* e : list) out += static_cast<const Named*>(e)->name;
    return out;
}

TEST(TBBTypeTest, AddAppendsInOrder) {
    TBBList list;
    Named p("P"), q("Q"), r("R");
    p.Add(list);
    q.Add(list);
    r.Add(list);
    EXPECT_EQ(Order(list), "PQR");
    EXPECT_EQ(p.List(), &list);
}

TEST(TBBTypeTest, InsertBeforeAndAfterMoveWithinTheList) {
    struct Case {
        const char* mover;
        const char* other;
        bool before;
        const char* order;
    } cases[] = {
        {"R", "P", true, "RPQ"},  {"P", "R", false, "QRP"}, {"P", "Q", false, "QPR"},
        {"Q", "Q", true, "PQR"},  {"R", "Q", true, "PRQ"},  {"P", "R", true, "QPR"},
    };
    for (const auto& c : cases) {
        TBBList list;
        Named p("P"), q("Q"), r("R");
        Named* byName[] = {&p, &q, &r};
        auto find = [&](const char* n) { return byName[n[0] - 'P']; };
        for (Named* n : byName) n->Add(list);
        if (c.before) find(c.mover)->InsertBefore(*find(c.other));
        else find(c.mover)->InsertAfter(*find(c.other));
        EXPECT_EQ(Order(list), c.order) << c.mover << (c.before ? " before " : " after ") << c.other;
        EXPECT_EQ(list.size(), 3u);
    }
}

TEST(TBBTypeTest, RemoveAfterInsertBeforeLeavesTheRest) {
    TBBList list;
    Named p("P"), q("Q"), r("R");
    p.Add(list);
    q.Add(list);
    r.Add(list);
    r.InsertBefore(p);
    EXPECT_EQ(Order(list), "RPQ");
    p.Remove();
    EXPECT_EQ(Order(list), "RQ");
    p.Remove();  // a second removal is harmless
    EXPECT_EQ(Order(list), "RQ");
    EXPECT_FALSE(p.IsLinked());
}

TEST(TBBTypeTest, MembersOfOtherListsAreNotMovedAcross) {
    TBBList a, b;
    Named p("P"), q("Q");
    p.Add(a);
    q.Add(b);
    p.InsertBefore(q);
    EXPECT_EQ(Order(a), "P");
    EXPECT_EQ(Order(b), "Q");
}

TEST(TBBTypeTest, DestroyedMembersLeaveTheirList) {
    TBBList list;
    Named p("P");
    p.Add(list);
    {
        Named q("Q");
        q.Add(list);
        EXPECT_EQ(Order(list), "PQ");
    }
    EXPECT_EQ(Order(list), "P");
}

class Tag : public TObject {
    TOTEM_CLASS(Tag)
    explicit Tag(int v) : value(v) {}
    int value;
};

int ValueOf(const ObjectPtr& o) { return o ? static_cast<Tag*>(o.get())->value : -1; }

TEST(StackTest, LifoPushPopPeek) {
    LIFO s;
    EXPECT_EQ(s.IsEmpty(), 1);
    EXPECT_EQ(s.Pop(), nullptr);
    EXPECT_EQ(s.IsEmpty(), 1);
    for (int i = 1; i <= 3; ++i) s.Push(std::make_shared<Tag>(i));
    EXPECT_EQ(s.IsEmpty(), 0);
    EXPECT_EQ(ValueOf(s.Peek(0)), 3);
    EXPECT_EQ(ValueOf(s.Peek(1)), 2);
    EXPECT_EQ(ValueOf(s.Peek(2)), 1);
    EXPECT_EQ(s.Peek(3), nullptr);
    EXPECT_EQ(ValueOf(s.Pop()), 3);
    EXPECT_EQ(ValueOf(s.Pop()), 2);
    s.Push(std::make_shared<Tag>(4));
    EXPECT_EQ(ValueOf(s.Pop()), 4);
    EXPECT_EQ(ValueOf(s.Pop()), 1);
    EXPECT_EQ(s.Pop(), nullptr);
    EXPECT_EQ(s.IsEmpty(), 1);
}

TEST(StackTest, ClearReleasesEveryValue) {
    LIFO s;
    auto held = std::make_shared<Tag>(1);
    for (int i = 0; i < 5; ++i) s.Push(held);
    EXPECT_EQ(held.use_count(), 6);
    s.Clear();
    EXPECT_EQ(s.IsEmpty(), 1);
    EXPECT_EQ(held.use_count(), 1);
}

TEST(StackTest, VeryDeepStackClearsWithoutRecursion) {
    LIFO s;
    for (int i = 0; i < 1000000; ++i) s.Push(nullptr);
    s.Clear();
    EXPECT_EQ(s.IsEmpty(), 1);
}

}  // namespace
