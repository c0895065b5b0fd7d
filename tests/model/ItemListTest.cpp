#include <gtest/gtest.h>

#include <string>

#include "model/ItemList.h"

namespace {

std::unique_ptr<CTavrelItem> Item(const std::string& title) {
    auto item = std::make_unique<CTavrelItem>();
    item->SetTitle(title);
    return item;
}

// The titles from head to tail, then "|" and the tail's title: the tail must
// be the last item reached, so both halves agree in a sound list.
std::string Shape(const ItemList& list) {
    std::string titles;
    for (const CTavrelItem* item = list.Head(); item != nullptr; item = item->GetNext())
        titles += item->GetTitle();
    return titles + "|" + (list.Tail() != nullptr ? list.Tail()->GetTitle() : "");
}

TEST(ItemListTest, InsertAndRemoveKeepHeadTailAndOrderAndIgnorePositionsOutside) {
    ItemList list;
    list.RemoveAt(0);
    list.InsertAtHead(Item("d"));
    EXPECT_EQ(Shape(list), "d|d");
    for (const char* title : {"c", "b", "a"}) list.InsertAtHead(Item(title));
    EXPECT_EQ(list.At(2)->GetTitle(), "c");
    EXPECT_EQ(list.Count(), 4);
    for (int outside : {4, -1, 7}) {
        EXPECT_EQ(list.At(outside), nullptr);
        list.RemoveAt(outside);
    }
    EXPECT_EQ(Shape(list), "abcd|d");
    list.RemoveAt(3);  // the tail: its predecessor takes over
    EXPECT_EQ(Shape(list), "abc|c");
    list.RemoveAt(1);  // the middle: the rest stays linked
    EXPECT_EQ(Shape(list), "ac|c");
    list.RemoveAt(0);  // the head: the tail stays
    EXPECT_EQ(Shape(list), "c|c");
    list.RemoveAt(0);
    EXPECT_EQ(Shape(list), "|");
    list.InsertAtHead(Item("again"));
    EXPECT_EQ(Shape(list), "again|again");
}

TEST(ItemListTest, AdoptedCopiedAndMovedListsKeepTheirShapeAndOwnTheirItems) {
    CTavrelItem* a = Item("a").release();
    a->SetNext(Item("b").release());
    ItemList read(a);
    EXPECT_EQ(Shape(read), "ab|b");

    ItemList copy = read.Copy();
    EXPECT_EQ(Shape(copy), "ab|b");
    EXPECT_TRUE(copy.SameEntries(read));
    copy.At(1)->SetDescription("changed");  // a copy shares no item
    EXPECT_FALSE(copy.SameEntries(read));
    EXPECT_EQ(read.At(1)->GetDescription(), "");

    ItemList moved = std::move(read);
    EXPECT_EQ(Shape(moved), "ab|b");
    EXPECT_EQ(Shape(read), "|");  // NOLINT(bugprone-use-after-move): moved-from is empty
    moved = std::move(copy);
    EXPECT_EQ(Shape(moved), "ab|b");
    EXPECT_EQ(Shape(ItemList(nullptr)), "|");
}

}  // namespace
