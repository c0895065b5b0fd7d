#include <gtest/gtest.h>

#include <string>

#include "model/ItemList.h"

namespace {

class ItemListTest : public ::testing::Test {
  protected:
    void TearDown() override { ClearItemList(); }

    static CTavrelItem* Item(const std::string& title) {
        auto* item = new CTavrelItem;
        item->SetTitle(title);
        return item;
    }
    static void Insert(const std::string& title) { InsertItemAtHead(Item(title)); }

    // The titles from head to tail, then "|" and the tail's title: the tail
    // must be the last item reached, so both halves agree in a sound list.
    static std::string Shape() {
        std::string titles;
        for (CTavrelItem* item = g_pItemHead; item != nullptr; item = item->GetNext())
            titles += item->GetTitle();
        return titles + "|" + (g_pItemTail != nullptr ? g_pItemTail->GetTitle() : "");
    }
};

TEST_F(ItemListTest, InsertAndRemoveKeepHeadTailAndOrderAndIgnorePositionsOutside) {
    RemoveItemAt(0);
    Insert("d");
    EXPECT_EQ(Shape(), "d|d");
    for (const char* title : {"c", "b", "a"}) Insert(title);
    EXPECT_EQ(ItemAt(2)->GetTitle(), "c");
    for (int outside : {4, -1, 7}) {
        EXPECT_EQ(ItemAt(outside), nullptr);
        RemoveItemAt(outside);
    }
    EXPECT_EQ(Shape(), "abcd|d");
    RemoveItemAt(3);  // the tail: its predecessor takes over
    EXPECT_EQ(Shape(), "abc|c");
    RemoveItemAt(1);  // the middle: the rest stays linked
    EXPECT_EQ(Shape(), "ac|c");
    RemoveItemAt(0);  // the head: the tail stays
    EXPECT_EQ(Shape(), "c|c");
    RemoveItemAt(0);
    EXPECT_EQ(Shape(), "|");
    Insert("again");
    EXPECT_EQ(Shape(), "again|again");
}

TEST_F(ItemListTest, AdoptingAReadListFindsItsTail) {
    CTavrelItem* a = Item("a");
    a->SetNext(Item("b"));
    AdoptItemList(a);
    EXPECT_EQ(Shape(), "ab|b");
    ClearItemList();
    AdoptItemList(nullptr);
    EXPECT_EQ(Shape(), "|");
}

}  // namespace
