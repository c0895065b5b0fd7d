// The entries of the page being edited: one singly linked list of CTavrelItem
// in page order, newest first. The list owns its items.
//
// Invariants kept by every operation here: following GetNext() from
// g_pItemHead visits each item once and ends in null; g_pItemTail is the item
// whose successor is null, or null when the list is empty. Positions count
// from 0 at the head.
#pragma once

#include "model/TavrelItem.h"

extern CTavrelItem* g_pItemHead;
extern CTavrelItem* g_pItemTail;

// The item at `position`, or null when the list has no such position.
CTavrelItem* ItemAt(int position);

// Puts `item` (a new, unlinked heap item) in front of the list; it takes
// position 0 and the list owns it.
void InsertItemAtHead(CTavrelItem* item);

// Unlinks the item at `position` and destroys it; a position the list does
// not have changes nothing.
void RemoveItemAt(int position);

// Makes the list that starts at `head` (as a reader returns it) the item list:
// g_pItemHead = head, g_pItemTail = its last item. The previous list must be empty.
void AdoptItemList(CTavrelItem* head);

// Destroys every item and empties the list.
void ClearItemList();

// Hands over the whole list (its head; the caller owns the items) and leaves
// the item list empty. AdoptItemList takes such a list back.
CTavrelItem* TakeItemList();

// Destroys the items of a list that TakeItemList handed over.
void DestroyItems(CTavrelItem* head);
