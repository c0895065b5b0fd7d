// Helpers for the page tests: entries as plain values, to make a list and
// compare what a page gives back.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "model/ItemList.h"
#include "model/TavrelItem.h"

using Entry = EntryText;

inline std::ostream& operator<<(std::ostream& out, const Entry& e) {
    return out << "{" << e.date << "|" << e.title << "|" << e.hyperlink << "|" << e.description
               << "}";
}

// A list of `entries`, in their order.
inline ItemList ListOf(const std::vector<Entry>& entries) {
    ItemList list;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        list.InsertAtHead(ItemOf(*entry));
    }
    return list;
}

// The entries of `list`.
inline std::vector<Entry> EntriesOf(const ItemList& list) {
    std::vector<Entry> entries;
    for (const CTavrelItem* item = list.Head(); item != nullptr; item = item->GetNext()) {
        entries.push_back(TextOf(*item));
    }
    return entries;
}
