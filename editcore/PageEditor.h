// The wizard's editing core: one page, the user's own list of its entries,
// and the record of the user's edits, from opening the page to Build It.
// Every front end is a view of it: it shows the core's state, forwards the
// user's actions and answers the core's questions (editcore/EditorView.h).
//
// Opening reads the page through its page session (page/PageSession.h),
// holding the page's lock for the read only; the user's list starts as a
// copy of the page's entries. Add, Change and Delete edit that list and are
// recorded. Build It then:
//   1. asks whether fields typed but never added or changed are to be
//      (Yes, No, Cancel);
//   2. takes the lock for writing; when the page on disk is no longer what
//      was read, asks whether to apply the user's edits to the page as it is
//      now (they are made again on its entries: model/EditJournal.h), to
//      overwrite its list with the user's, or to go back. An edit that finds
//      no entry is reported and the merged list shown, nothing written;
//   3. writes the list: the page's section rebuilt (a fresh page when the
//      page is missing), after asking, about the page as it is now under the
//      lock, whether to drop what its list holds beyond its entries;
//   4. writes the feed the page links, still under the lock.
// Whatever fails is told and leaves the page as it was and the editor as it
// was, list and record of edits included: the record is forgotten only once
// a write of it succeeded, or when the user discards it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editcore/EditorView.h"
#include "model/EditJournal.h"
#include "model/ItemList.h"
#include "model/TavrelItem.h"
#include "page/SessionFailure.h"

class PageSession;

// What the fields of a front end hold at Build It.
struct TypedEntry {
    EntryText fields;
    bool edited = false;  // they differ from what was last shown or stored
    int selected = -1;    // the entry they show, or -1 for a new one
};

// How Build It ended.
enum class BuildOutcome {
    kWritten,          // the page was written: the editor's work is done
    kStayed,           // nothing was written; the user goes on editing
    kHyperlinkMissing  // the typed entry was to be added but has no hyperlink
};

class PageEditor {
  public:
    // How long the editor waits for another program to finish with the page.
    static constexpr double kLockWaitSeconds = 5;

    // An editor of the page at `path` (UTF-8) with the front end `view`,
    // which must outlive it.
    PageEditor(std::string path, EditorView* view, double lockWaitSeconds = kLockWaitSeconds);
    ~PageEditor();
    PageEditor(const PageEditor&) = delete;
    PageEditor& operator=(const PageEditor&) = delete;

    // Refuses a path that is not HTML, reads the page and tells what its
    // list holds beyond its entries, and why Build It will not be able to
    // write it. False when the page cannot be edited, having told why.
    bool Open();

    const std::string& Path() const { return m_path; }
    // The user's list, as the view shows it.
    const ItemList& Entries() const { return m_entries; }
    // The window title: "news.html (new page) — Tavrel Wizard".
    std::string Title() const;

    // Adds `fields` as a new entry on top; false, having told why, when the
    // hyperlink is empty.
    bool Add(const EntryText& fields);
    // Gives the entry at `position` the four `fields`; a position the list
    // does not have changes nothing.
    void Change(int position, const EntryText& fields);
    // Removes the entry at `position`; a position the list does not have
    // changes nothing.
    void Delete(int position);
    // Whether the list holds edits that are not written.
    bool HasUnwrittenEdits() const { return m_listEdited; }

    // Build It, as described above. The view is told to show the list anew
    // whenever Build It changed it.
    BuildOutcome BuildIt(const TypedEntry& typed);

    // Whether the editor may close: nothing is unwritten (`fieldsEdited`:
    // the fields hold typing never added or changed), or the user chose to
    // discard it.
    bool MayClose(bool fieldsEdited);

  private:
    bool TakeTypedEntry(const TypedEntry& typed, BuildOutcome* outcome);
    bool LockForWriting();
    bool ApplyMyChanges();
    bool MayDrop(const std::vector<std::string>& unread);
    bool WritePage();
    void TellFailure(const SessionFailure& failure);

    std::string m_path;
    EditorView* m_view;
    double m_lockWaitSeconds;
    std::unique_ptr<PageSession> m_session;
    ItemList m_entries;
    EditJournal m_journal;
    bool m_listEdited = false;
    bool m_newPage = false;     // the page was missing at the last read
    bool m_pageHasList = true;  // the page had a generated section at the last read
};
