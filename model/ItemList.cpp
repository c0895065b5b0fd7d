#include "model/ItemList.h"

CTavrelItem* g_pItemHead = nullptr;
CTavrelItem* g_pItemTail = nullptr;

CTavrelItem* ItemAt(int position) {
    if (position < 0) return nullptr;
    CTavrelItem* item = g_pItemHead;
    for (int i = 0; i < position && item != nullptr; ++i) item = item->GetNext();
    return item;
}

void InsertItemAtHead(CTavrelItem* item) {
    if (g_pItemHead == nullptr) {
        item->SetNext(nullptr);
        g_pItemHead = g_pItemTail = item;
        return;
    }
    item->SetNext(g_pItemHead);
    g_pItemHead = item;
}

void RemoveItemAt(int position) {
    if (position == 0 && g_pItemHead != nullptr) {
        CTavrelItem* removed = g_pItemHead;
        g_pItemHead = removed->GetNext();
        if (g_pItemHead == nullptr) g_pItemTail = nullptr;
        delete removed;
        return;
    }
    CTavrelItem* previous = ItemAt(position - 1);
    if (previous == nullptr || previous->GetNext() == nullptr) return;
    CTavrelItem* removed = previous->GetNext();
    previous->SetNext(removed->GetNext());
    if (removed == g_pItemTail) g_pItemTail = previous;
    delete removed;
}

void AdoptItemList(CTavrelItem* head) {
    g_pItemHead = head;
    g_pItemTail = nullptr;
    for (CTavrelItem* item = head; item != nullptr; item = item->GetNext()) g_pItemTail = item;
}

void ClearItemList() {
    while (g_pItemHead != nullptr) RemoveItemAt(0);
}

CTavrelItem* TakeItemList() {
    CTavrelItem* head = g_pItemHead;
    g_pItemHead = g_pItemTail = nullptr;
    return head;
}

void DestroyItems(CTavrelItem* head) {
    while (head != nullptr) {
        CTavrelItem* next = head->GetNext();
        delete head;
        head = next;
    }
}
