// The edits of one wizard session that are not yet written, kept so that
// they can be made again on a page that another program changed meanwhile.
//
// Add, Change and Delete are recorded with the four fields of the entry as
// they were. Replay makes them again, in order, on a list as it is now: an
// added entry goes on top; a changed or deleted entry is found by the four
// fields it had before the edit (the first entry from the top that has all
// four). An edit whose entry is not found is not made, and is reported.
#pragma once

#include <string>
#include <vector>

#include "model/ItemList.h"
#include "model/TavrelItem.h"

class EditJournal {
  public:
    void RecordAdd(const CTavrelItem& added);
    void RecordChange(const EntryText& before, const CTavrelItem& after);
    void RecordDelete(const CTavrelItem& deleted);

    // Makes the recorded edits on `list`. Returns one line for each edit that
    // found no entry (empty when all were made). Such an edit has then been
    // reported and is forgotten; the edits that were made stay recorded, as
    // they are not written yet.
    std::vector<std::string> Replay(ItemList* list);

    // Whether no edit is recorded.
    bool Empty() const { return m_edits.empty(); }

    // Forgets every recorded edit: once they are written, or discarded.
    void Clear() { m_edits.clear(); }

  private:
    enum class Kind { kAdd, kChange, kDelete };
    struct Edit {
        Kind kind;
        EntryText before;  // change, delete: the entry to find
        EntryText after;   // add, change: the fields to give it
    };

    std::vector<Edit> m_edits;
};
