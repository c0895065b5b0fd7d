#include "editcore/PageEditor.h"

#include <utility>

#include "feed/PageFeed.h"
#include "model/Messages.h"
#include "model/PagePath.h"
#include "model/WriteRefusal.h"
#include "page/PageSession.h"
#include "platform/file_system.h"

namespace {

// `heading` followed by one "- " line per entry of `lines`.
std::string ListText(const char* heading, const std::vector<std::string>& lines) {
    std::string text = heading;
    for (const std::string& line : lines) text += "\n- " + line;
    return text;
}

}  // namespace

PageEditor::PageEditor(std::string path, EditorView* view, double lockWaitSeconds)
    : m_path(std::move(path)),
      m_view(view),
      m_lockWaitSeconds(lockWaitSeconds),
      m_session(std::make_unique<PageSession>(m_path)) {}

PageEditor::~PageEditor() = default;

bool PageEditor::Open() {
    if (!IsHtmlPath(m_path)) {
        m_view->Tell(kMsgNotHtml, m_path);
        return false;
    }
    if (const SessionFailure failure = m_session->Open(m_lockWaitSeconds, false)) {
        TellFailure(failure);
        return false;
    }
    const PageScan& page = m_session->Page();
    m_entries = page.entries.Copy();
    m_newPage = m_session->IsNew();
    m_pageHasList = page.hasSection;
    if (!page.unreadContent.empty()) {
        m_view->Tell(ListText(kMsgUnreadContent, page.unreadContent), m_path);
    }
    if (const std::string warning = UnwritablePageWarning(m_path); !warning.empty()) {
        m_view->Tell(warning, m_path);
    }
    return true;
}

std::string PageEditor::Title() const {
    std::string title = NameOf(m_path);
    if (m_newPage) {
        title += kTitleNewPage;
    } else if (!m_pageHasList) {
        title += kTitleNoList;
    }
    return title + kTitleSeparator + kAppCaption;
}

bool PageEditor::Add(const EntryText& fields) {
    if (fields.hyperlink.empty()) {
        m_view->Tell(kMsgHyperlinkRequired, kAppCaption);
        return false;
    }
    m_entries.InsertAtHead(ItemOf(fields));
    m_journal.RecordAdd(*m_entries.Head());
    m_listEdited = true;
    return true;
}

void PageEditor::Change(int position, const EntryText& fields) {
    CTavrelItem* item = m_entries.At(position);
    if (item == nullptr) return;
    const EntryText before = TextOf(*item);
    SetText(item, fields);
    m_journal.RecordChange(before, *item);
    m_listEdited = true;
}

void PageEditor::Delete(int position) {
    const CTavrelItem* item = m_entries.At(position);
    if (item == nullptr) return;
    m_journal.RecordDelete(*item);
    m_entries.RemoveAt(position);
    m_listEdited = true;
}

BuildOutcome PageEditor::BuildIt(const TypedEntry& typed) {
    BuildOutcome outcome = BuildOutcome::kStayed;
    if (!TakeTypedEntry(typed, &outcome)) return outcome;
    const bool written = LockForWriting() && WritePage();
    m_session->Unlock();
    return written ? BuildOutcome::kWritten : BuildOutcome::kStayed;
}

bool PageEditor::TakeTypedEntry(const TypedEntry& typed, BuildOutcome* outcome) {
    if (!typed.edited) return true;
    const bool selected = typed.selected >= 0;
    const Answer answer = m_view->Ask({selected ? kMsgChangeBeforeBuilding : kMsgAddBeforeBuilding,
                                       m_path,
                                       {Answer::kYes, Answer::kNo, Answer::kCancel},
                                       Answer::kCancel});
    if (answer == Answer::kCancel) return false;
    if (answer == Answer::kNo) return true;
    if (selected) {
        Change(typed.selected, typed.fields);
        m_view->ShowEntries(typed.selected);
        return true;
    }
    if (!Add(typed.fields)) {
        *outcome = BuildOutcome::kHyperlinkMissing;
        return false;
    }
    m_view->ShowEntries(0);
    return true;
}

// A page that another program holds stays in the editor: nothing typed is
// lost, and Build It can be pressed again.
bool PageEditor::LockForWriting() {
    bool changed = false;
    if (const SessionFailure failure = m_session->Lock(m_lockWaitSeconds, &changed)) {
        TellFailure(failure);
        return false;
    }
    if (!changed) return true;
    const Answer answer =
        m_view->Ask({kMsgChangedOnDisk,
                     m_path,
                     {Answer::kApplyMyChanges, Answer::kOverwrite, Answer::kGoBack},
                     Answer::kGoBack});
    if (answer == Answer::kGoBack) return false;
    return answer == Answer::kOverwrite || ApplyMyChanges();
}

// Reads the page as it is now and makes the recorded edits on its entries.
// When an edit finds no entry, the merged list is shown for the user to
// check, and nothing is written yet. When the page cannot be read, the
// user's list stays as it was.
bool PageEditor::ApplyMyChanges() {
    if (const SessionFailure failure = m_session->Reread()) {
        TellFailure(failure);
        return false;
    }
    const PageScan& page = m_session->Page();
    ItemList merged = page.entries.Copy();
    const std::vector<std::string> unfound = m_journal.Replay(&merged);
    m_entries = std::move(merged);
    m_newPage = m_session->IsNew();
    m_pageHasList = page.hasSection;
    m_view->ShowEntries(0);
    if (unfound.empty()) return true;
    m_view->Tell(ListText(kMsgNotReplayed, unfound) + "\n\n" + kMsgReplayShown, m_path);
    return false;
}

bool PageEditor::MayDrop(const std::vector<std::string>& unread) {
    const Answer answer =
        m_view->Ask({ListText(kMsgUnreadContent, unread) + "\n\n" + kMsgBuildAnyway,
                     m_path,
                     {Answer::kBuildAnyway, Answer::kGoBack},
                     Answer::kGoBack});
    return answer == Answer::kBuildAnyway;
}

// Writes the list, then the feed the page links, under the lock held. The
// page stays written when only the feed fails.
bool PageEditor::WritePage() {
    const SessionFailure failure = m_session->Write(
        m_entries, [this](const std::vector<std::string>& unread) { return MayDrop(unread); });
    if (failure) {
        if (failure.code != FailureCode::kEditRefused) TellFailure(failure);
        return false;
    }
    m_journal.Clear();
    m_listEdited = false;
    const FeedResult feed = WriteLinkedFeed(*m_session, {});
    if (feed.outcome == FeedOutcome::kFailed) {
        TellFailure({FailureCode::kFeedNotWritten, feed.error, feed.detail});
    } else if (feed.outcome == FeedOutcome::kNoUrl) {
        TellFailure({FailureCode::kFeedHasNoPlace, 0});
    } else if (feed.outcome == FeedOutcome::kOutside) {
        TellFailure({FailureCode::kFeedOutside, 0});
    }
    return true;
}

// A failed write keeps its fixed first line; what stands in the way, and
// the fix, is the second.
void PageEditor::TellFailure(const SessionFailure& failure) {
    const std::string reason = failure.code == FailureCode::kCouldNotCreate
                                   ? WriteRefusalReason(m_path, failure.error)
                                   : std::string();
    m_view->Tell(reason.empty() ? failure.Text("\n") : std::string(failure.message) + "\n" + reason,
                 m_path);
}

bool PageEditor::MayClose(bool fieldsEdited) {
    if (!m_listEdited && !fieldsEdited) return true;
    const Answer answer = m_view->Ask({kMsgDiscardChangesTo + NameOf(m_path) + "?",
                                       m_path,
                                       {Answer::kDiscard, Answer::kCancel},
                                       Answer::kCancel});
    if (answer != Answer::kDiscard) return false;
    m_journal.Clear();
    return true;
}
