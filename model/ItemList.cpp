#include "model/ItemList.h"

#include <utility>

ItemList::ItemList(CTavrelItem* head) : m_head(head) {
    for (CTavrelItem* item = head; item != nullptr; item = item->GetNext()) m_tail = item;
}

ItemList::~ItemList() { Clear(); }

ItemList::ItemList(ItemList&& other) noexcept
    : m_head(std::exchange(other.m_head, nullptr)), m_tail(std::exchange(other.m_tail, nullptr)) {}

ItemList& ItemList::operator=(ItemList&& other) noexcept {
    if (this != &other) {
        Clear();
        m_head = std::exchange(other.m_head, nullptr);
        m_tail = std::exchange(other.m_tail, nullptr);
    }
    return *this;
}

ItemList ItemList::Copy() const {
    ItemList copy;
    CTavrelItem* last = nullptr;
    for (const CTavrelItem* item = m_head; item != nullptr; item = item->GetNext()) {
        CTavrelItem* added = ItemOf(TextOf(*item)).release();
        if (last == nullptr) {
            copy.m_head = added;
        } else {
            last->SetNext(added);
        }
        copy.m_tail = last = added;
    }
    return copy;
}

int ItemList::Count() const {
    int count = 0;
    for (const CTavrelItem* item = m_head; item != nullptr; item = item->GetNext()) ++count;
    return count;
}

CTavrelItem* ItemList::At(int position) const {
    if (position < 0) return nullptr;
    CTavrelItem* item = m_head;
    for (int i = 0; i < position && item != nullptr; ++i) item = item->GetNext();
    return item;
}

void ItemList::InsertAtHead(std::unique_ptr<CTavrelItem> item) {
    CTavrelItem* added = item.release();
    added->SetNext(m_head);
    if (m_head == nullptr) m_tail = added;
    m_head = added;
}

void ItemList::RemoveAt(int position) {
    if (position == 0 && m_head != nullptr) {
        CTavrelItem* removed = m_head;
        m_head = removed->GetNext();
        if (m_head == nullptr) m_tail = nullptr;
        delete removed;
        return;
    }
    CTavrelItem* previous = At(position - 1);
    if (previous == nullptr || previous->GetNext() == nullptr) return;
    CTavrelItem* removed = previous->GetNext();
    previous->SetNext(removed->GetNext());
    if (removed == m_tail) m_tail = previous;
    delete removed;
}

void ItemList::Clear() {
    while (m_head != nullptr) {
        CTavrelItem* next = m_head->GetNext();
        delete m_head;
        m_head = next;
    }
    m_tail = nullptr;
}

bool ItemList::SameEntries(const ItemList& other) const {
    const CTavrelItem* a = m_head;
    const CTavrelItem* b = other.m_head;
    for (; a != nullptr && b != nullptr; a = a->GetNext(), b = b->GetNext()) {
        if (!(TextOf(*a) == TextOf(*b))) return false;
    }
    return a == nullptr && b == nullptr;
}
