#include <gtest/gtest.h>

#include <string>
#include <vector>

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

    static std::vector<std::string> Titles() {
        std::vector<std::string> titles;
        for (CTavrelItem* item = g_pItemHead; item != nullptr; item = item->GetNext()) {
            titles.push_back(item->GetTitle());
        }
        return titles;
    }

    // The tail is the item whose successor is null, or null for an empty list.
    static void ExpectTailConsistent() {
        CTavrelItem* last = nullptr;
        for (CTavrelItem* item = g_pItemHead; item != nullptr; item = item->GetNext()) last = item;
        EXPECT_EQ(g_pItemTail, last);
    }
};

TEST_F(ItemListTest, InsertingPutsNewItemsAtHeadAndKeepsTheTail) {
    Insert("first");
    EXPECT_EQ(g_pItemHead, g_pItemTail);
    CTavrelItem* first = g_pItemHead;
    Insert("second");
    Insert("third");
    EXPECT_EQ(g_pItemTail, first);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"third", "second", "first"}));
    EXPECT_EQ(ItemAt(1)->GetTitle(), "second");
}

TEST_F(ItemListTest, RemovingKeepsHeadTailAndOrder) {
    for (const char* title : {"d", "c", "b", "a"}) Insert(title);
    RemoveItemAt(3);  // the tail: its predecessor becomes the tail
    EXPECT_EQ(g_pItemTail->GetTitle(), "c");
    ExpectTailConsistent();
    RemoveItemAt(0);  // the head: the tail stays
    EXPECT_EQ(Titles(), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(g_pItemTail->GetTitle(), "c");
    RemoveItemAt(1);
    RemoveItemAt(0);
    EXPECT_EQ(g_pItemHead, nullptr);
    EXPECT_EQ(g_pItemTail, nullptr);
    Insert("again");
    EXPECT_EQ(g_pItemHead, g_pItemTail);
}

TEST_F(ItemListTest, RemovingInTheMiddleLeavesTheRestLinked) {
    for (const char* title : {"c", "b", "a"}) Insert(title);
    RemoveItemAt(1);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"a", "c"}));
    ExpectTailConsistent();
}

TEST_F(ItemListTest, PositionsOutsideTheListAreHarmless) {
    EXPECT_EQ(ItemAt(0), nullptr);
    RemoveItemAt(0);
    Insert("only");
    EXPECT_EQ(ItemAt(1), nullptr);
    EXPECT_EQ(ItemAt(-1), nullptr);
    RemoveItemAt(1);
    RemoveItemAt(-1);
    RemoveItemAt(7);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"only"}));
    ExpectTailConsistent();
}

TEST_F(ItemListTest, AdoptingAReadListFindsItsTail) {
    auto* a = new CTavrelItem;
    auto* b = new CTavrelItem;
    a->SetNext(b);
    AdoptItemList(a);
    EXPECT_EQ(g_pItemHead, a);
    EXPECT_EQ(g_pItemTail, b);
    ClearItemList();
    AdoptItemList(nullptr);
    EXPECT_EQ(g_pItemTail, nullptr);
}

}  // namespace
