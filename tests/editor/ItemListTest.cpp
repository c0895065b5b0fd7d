#include <gtest/gtest.h>

#include <string>

#include "editor/ItemList.h"

namespace {

class ItemListTest : public ::testing::Test {
  protected:
    void TearDown() override { ClearItemList(); }

    static void Insert(const std::string& title) {
        auto* item = new CTavrelItem;
        item->SetTitle(title);
        InsertItemAtHead(item);
    }

    // The titles from head to tail, then "|" and the tail's title: the tail
    // must be the last item reached, so both halves agree in a sound list.
    static std::string Shape() {
        std::string titles;
        for (CTavrelItem* item = g_pItemHead; item != nullptr; item = item->GetNext()) {
            titles += item->GetTitle();
        }
        return titles + "|" + (g_pItemTail != nullptr ? g_pItemTail->GetTitle() : "");
    }
};

TEST_F(ItemListTest, InsertAndRemoveKeepHeadTailAndOrder) {
    Insert("d");
    EXPECT_EQ(Shape(), "d|d");
    for (const char* title : {"c", "b", "a"}) Insert(title);
    EXPECT_EQ(Shape(), "abcd|d");
    EXPECT_EQ(ItemAt(2)->GetTitle(), "c");
    RemoveItemAt(3);  // the tail: its predecessor takes over
    EXPECT_EQ(Shape(), "abc|c");
    RemoveItemAt(1);  // the middle: the rest stays linked
    EXPECT_EQ(Shape(), "ac|c");
    RemoveItemAt(0);  // the head: the tail stays
    EXPECT_EQ(Shape(), "c|c");
    RemoveItemAt(0);
    EXPECT_EQ(Shape(), "|");
    EXPECT_EQ(g_pItemHead, nullptr);
    Insert("again");
    EXPECT_EQ(Shape(), "again|again");
}

TEST_F(ItemListTest, PositionsOutsideTheListAreHarmless) {
    EXPECT_EQ(ItemAt(0), nullptr);
    RemoveItemAt(0);
    Insert("only");
    EXPECT_EQ(ItemAt(1), nullptr);
    EXPECT_EQ(ItemAt(-1), nullptr);
    for (int position : {1, -1, 7}) RemoveItemAt(position);
    EXPECT_EQ(Shape(), "only|only");
}

TEST_F(ItemListTest, AdoptingAReadListFindsItsTail) {
    auto* a = new CTavrelItem;
    auto* b = new CTavrelItem;
    a->SetTitle("a");
    b->SetTitle("b");
    a->SetNext(b);
    AdoptItemList(a);
    EXPECT_EQ(Shape(), "ab|b");
    ClearItemList();
    AdoptItemList(nullptr);
    EXPECT_EQ(Shape(), "|");
}

}  // namespace
