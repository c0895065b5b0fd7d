// Helpers for the page tests: entries as plain values, to fill the item list
// and compare what a page gives back, and opening a page as the wizard does.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "model/ItemList.h"
#include "page/PageReader.h"

struct Entry {
    std::string date, title, hyperlink, description;
    bool operator==(const Entry&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Entry& e) {
    return out << "{" << e.date << "|" << e.title << "|" << e.hyperlink << "|" << e.description
               << "}";
}

// Replaces the item list with `entries`, in their order.
inline void SetList(const std::vector<Entry>& entries) {
    ClearItemList();
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        auto* item = new CTavrelItem;
        item->SetDate(entry->date);
        item->SetTitle(entry->title);
        item->SetHyperlink(entry->hyperlink);
        item->SetDescription(entry->description);
        InsertItemAtHead(item);
    }
}

// The entries of the item list.
inline std::vector<Entry> ListEntries() {
    std::vector<Entry> entries;
    for (const CTavrelItem* item = g_pItemHead; item != nullptr; item = item->GetNext()) {
        entries.push_back(
            {item->GetDate(), item->GetTitle(), item->GetHyperlink(), item->GetDescription()});
    }
    return entries;
}
