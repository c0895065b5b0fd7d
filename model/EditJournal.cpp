#include "model/EditJournal.h"

namespace {

// The position of the first entry of `list` with exactly `text`, or -1.
int PositionOf(const ItemList& list, const EntryText& text) {
    int position = 0;
    for (const CTavrelItem* item = list.Head(); item != nullptr;
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

void EditJournal::RecordAdd(const CTavrelItem& added) {
    m_edits.push_back({Kind::kAdd, {}, TextOf(added)});
}

void EditJournal::RecordChange(const EntryText& before, const CTavrelItem& after) {
    m_edits.push_back({Kind::kChange, before, TextOf(after)});
}

void EditJournal::RecordDelete(const CTavrelItem& deleted) {
    m_edits.push_back({Kind::kDelete, TextOf(deleted), {}});
}

std::vector<std::string> EditJournal::Replay(ItemList* list) {
    std::vector<std::string> unfound;
    std::vector<Edit> made;  // copies: the record stays whole should memory run out
    for (const Edit& edit : m_edits) {
        if (edit.kind == Kind::kAdd) {
            list->InsertAtHead(ItemOf(edit.after));
            made.push_back(edit);
            continue;
        }
        const int position = PositionOf(*list, edit.before);
        if (position < 0) {
            unfound.push_back(
                Unfound(edit.kind == Kind::kChange ? "Change of" : "Delete of", edit.before));
            continue;
        }
        if (edit.kind == Kind::kChange) {
            SetText(list->At(position), edit.after);
        } else {
            list->RemoveAt(position);
        }
        made.push_back(edit);
    }
    m_edits = std::move(made);
    return unfound;
}
