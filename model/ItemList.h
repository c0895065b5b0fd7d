// The entries of a page: one singly linked list of CTavrelItem in page
// order, newest first. The list owns its items. A list is a value: the page
// as read holds one, the editor holds the user's own, and neither is shared.
//
// Invariants kept by every operation here: following GetNext() from Head()
// visits each item once and ends in null; Tail() is the item whose successor
// is null, or null when the list is empty. Positions count from 0 at the head.
#pragma once

#include <memory>

#include "model/TavrelItem.h"

class ItemList {
  public:
    ItemList() = default;
    // Takes over the list that starts at `head` (as a reader returns it).
    explicit ItemList(CTavrelItem* head);
    ~ItemList();  // destroys every item
    ItemList(ItemList&& other) noexcept;
    ItemList& operator=(ItemList&& other) noexcept;
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;

    // A list of copies of this list's items, in the same order. Throws
    // std::bad_alloc.
    ItemList Copy() const;

    CTavrelItem* Head() const { return m_head; }
    CTavrelItem* Tail() const { return m_tail; }
    bool Empty() const { return m_head == nullptr; }
    int Count() const;

    // The item at `position`, or null when the list has no such position.
    CTavrelItem* At(int position) const;

    // Puts `item` in front of the list; it takes position 0.
    void InsertAtHead(std::unique_ptr<CTavrelItem> item);

    // Unlinks the item at `position` and destroys it; a position the list
    // does not have changes nothing.
    void RemoveAt(int position);

    // Destroys every item and empties the list.
    void Clear();

    // Whether both lists hold entries with the same four fields in the same
    // order.
    bool SameEntries(const ItemList& other) const;

  private:
    CTavrelItem* m_head = nullptr;
    CTavrelItem* m_tail = nullptr;
};
