#include "model/EditJournal.h"

#include "model/ItemList.h"

namespace {

void SetText(CTavrelItem* item, const EntryText& text) {
    item->SetDate(text.date);
    item->SetTitle(text.title);
    item->SetHyperlink(text.hyperlink);
    item->SetDescription(text.description);
}

// The position of the first entry with exactly `text`, or -1.
int PositionOf(const EntryText& text) {
    int position = 0;
    for (const CTavrelItem* item = g_pItemHead; item != nullptr;
         item = item->GetNext(), ++position) {
        if (TextOf(*item) == text) return position;
    }
    return -1;
}

std::string Unfound(const char* edit, const EntryText& text) {
    return std::string(edit) + " \"" + text.title + "\" (" + text.hyperlink +
           "): the entry is no longer on the page";
}

}  // namespace

EntryText TextOf(const CTavrelItem& item) {
    return {item.GetDate(), item.GetTitle(), item.GetHyperlink(), item.GetDescription()};
}

void EditJournal::RecordAdd(const CTavrelItem& added) {
    m_edits.push_back({Kind::kAdd, {}, TextOf(added)});
}

void EditJournal::RecordChange(const EntryText& before, const CTavrelItem& after) {
    m_edits.push_back({Kind::kChange, before, TextOf(after)});
}

void EditJournal::RecordDelete(const CTavrelItem& deleted) {
    m_edits.push_back({Kind::kDelete, TextOf(deleted), {}});
}

std::vector<std::string> EditJournal::Replay() const {
    std::vector<std::string> unfound;
    for (const Edit& edit : m_edits) {
        if (edit.kind == Kind::kAdd) {
            auto* item = new CTavrelItem;
            SetText(item, edit.after);
            InsertItemAtHead(item);
            continue;
        }
        const int position = PositionOf(edit.before);
        if (position < 0) {
            unfound.push_back(
                Unfound(edit.kind == Kind::kChange ? "Change of" : "Delete of", edit.before));
        } else if (edit.kind == Kind::kChange) {
            SetText(ItemAt(position), edit.after);
        } else {
            RemoveItemAt(position);
        }
    }
    return unfound;
}
