#include "editor/TavrelDlg.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cstdio>

#include "feed/PageFeed.h"
#include "model/DateText.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "model/PagePath.h"
#include "page/PageReader.h"
#include "page/PageSession.h"
#include "platform/dialog_builder.h"
#include "platform/dialog_items.h"
#include "platform/help_window.h"
#include "platform/icon_resource.h"
#include "platform/message_box.h"
#include "res/dialog_templates.h"
#include "res/resource.h"

int g_bNewPage = 0;

namespace {

// Fields are read as the platform's edit fields were: through a 256-byte
// buffer, so at most 255 bytes (here never splitting a UTF-8 character).
constexpr std::size_t kFieldBytes = 255;

// What the fields show while the list is empty; ordinary text to the program.
constexpr char kTitlePlaceholder[] = "*** Add Tavrel Item here ***";
constexpr char kDescriptionPlaceholder[] = "*** Add the item description here ***";
constexpr char kHyperlinkPlaceholder[] = "*** Add hyperlink here ***";

// The row shown for an entry that Add or Change left without a title.
constexpr char kNoTitleRow[] = "[none]";

// How long the dialog waits for another program to finish with the page.
constexpr double kLockWaitSeconds = 5;

std::string RowText(const std::string& title) { return title.empty() ? kNoTitleRow : title; }

// `heading` followed by one "- " line per entry of `lines`.
std::string ListText(const char* heading, const std::vector<std::string>& lines) {
    std::string text = heading;
    for (const std::string& line : lines) text += "\n- " + line;
    return text;
}

}  // namespace

CTavrelDlg::CTavrelDlg() : QDialog(nullptr), m_hIcon(LoadIconResource(IDR_MAINFRAME)) {
    BuildDialog(this, *FindDialogTemplate(IDD_TAVREL_DIALOG));
    m_editHyperlink = qobject_cast<QLineEdit*>(DialogItem(this, IDC_HYPERLINK));
    m_listItems = qobject_cast<QListWidget*>(DialogItem(this, IDC_ITEM_LIST));
    setWindowIcon(m_hIcon);
    ConnectSignals();
}

CTavrelDlg::~CTavrelDlg() = default;

void CTavrelDlg::ConnectSignals() {
    const auto onClick = [this](int id, void (CTavrelDlg::*handler)()) {
        connect(qobject_cast<QPushButton*>(DialogItem(this, id)), &QPushButton::clicked, this,
                handler);
    };
    connect(m_listItems, &QListWidget::itemSelectionChanged, this,
            &CTavrelDlg::OnSelchangeItemList);
    onClick(IDC_DELETE, &CTavrelDlg::OnDelete);
    onClick(IDC_CHANGE, &CTavrelDlg::OnChange);
    onClick(IDC_ADD, &CTavrelDlg::OnAdd);
    onClick(IDC_BUILD_IT, &CTavrelDlg::OnBuildIt);
    onClick(IDC_HELP_BUTTON, &CTavrelDlg::OnHelpButton);
    onClick(IDC_NEW_ITEM, &CTavrelDlg::OnNewItem);
    onClick(IDC_BROWSE, &CTavrelDlg::OnBrowse);
    onClick(IDCANCEL, &CTavrelDlg::OnCancel);
}

int CTavrelDlg::DoModal() {
    m_nModalResult = 0;
    OnInitDialog();
    if (m_nModalResult == 0) exec();
    return m_nModalResult != 0 ? m_nModalResult : IDCANCEL;
}

bool CTavrelDlg::OnInitDialog() {
    UpdateData(false);
    CenterWindow(this);
    EnableButton(IDC_ADD, false);
    if (!IsHtmlPath(m_strPagePath)) {
        ShowMessage(kMsgNotHtml, m_strPagePath);
        OnCancel();
        return true;
    }
    if (!ReadPageFile()) {
        OnCancel();
        return true;
    }
    ShowList();
    return true;
}

bool CTavrelDlg::ReadPageFile() {
    m_session = std::make_unique<PageSession>(m_strPagePath);
    if (const SessionFailure failure = m_session->Open(kLockWaitSeconds, false)) {
        ShowFailure(failure);
        return false;
    }
    g_bNewPage = m_session->IsNew() ? 1 : 0;
    if (!g_unreadContent.empty()) {
        ShowMessage(ListText(kMsgUnreadContent, g_unreadContent), m_strPagePath);
    }
    return true;
}

void CTavrelDlg::ShowList() {
    m_listItems->clear();
    for (const CTavrelItem* item = g_pItemHead; item != nullptr; item = item->GetNext()) {
        m_listItems->addItem(QString::fromStdString(item->GetTitle()));
    }
    if (SetCurSel(0)) {
        ShowItem(0);
        EnableButtons(false, true, true);
        return;
    }
    ProposeDate();
    ShowPlaceholders();
    EnableButtons(true, false, false);
}

void CTavrelDlg::OnSelchangeItemList() {
    const int row = GetCurSel();
    if (row < 0) return;
    ShowItem(row);
    EnableButtons(false, true, true);
}

void CTavrelDlg::OnNewItem() {
    SetDlgItemText(this, IDC_TITLE, "");
    SetDlgItemText(this, IDC_DESCRIPTION, "");
    SetDlgItemText(this, IDC_HYPERLINK, "");
    ProposeDate();
    EnableButtons(true, false, false);
    SetCurSel(-1);
}

void CTavrelDlg::OnAdd() {
    m_strHyperlink = ReadField(IDC_HYPERLINK);
    if (m_strHyperlink.empty()) {
        ShowMessage(kMsgHyperlinkRequired, kAppCaption);
        return;
    }
    m_strTitle = ReadField(IDC_TITLE);
    InsertRow(0, RowText(m_strTitle));
    m_strDescription = ReadField(IDC_DESCRIPTION);
    m_strDate = ReadField(IDC_DATE);

    auto* item = new CTavrelItem;
    item->SetDate(m_strDate);
    item->SetDescription(m_strDescription);
    item->SetTitle(m_strTitle);
    item->SetHyperlink(m_strHyperlink);
    InsertItemAtHead(item);
    m_journal.RecordAdd(*item);

    SetCurSel(0);
    EnableButtons(false, true, true);
}

void CTavrelDlg::OnChange() {
    m_strTitle = ReadField(IDC_TITLE);
    m_strDescription = ReadField(IDC_DESCRIPTION);
    m_strDate = ReadField(IDC_DATE);
    m_strHyperlink = ReadField(IDC_HYPERLINK);
    const int row = GetCurSel();
    if (row < 0) return;
    DeleteRow(row);
    InsertRow(row, RowText(m_strTitle));
    CTavrelItem* item = ItemAt(row);
    if (item != nullptr) {
        const EntryText before = TextOf(*item);
        item->SetDate(m_strDate);
        item->SetDescription(m_strDescription);
        item->SetTitle(m_strTitle);
        item->SetHyperlink(m_strHyperlink);
        m_journal.RecordChange(before, *item);
    }
    SetCurSel(row);
}

void CTavrelDlg::OnDelete() {
    const int row = GetCurSel();
    if (row < 0) return;
    DeleteRow(row);
    for (const int id : {IDC_DATE, IDC_TITLE, IDC_DESCRIPTION, IDC_HYPERLINK}) {
        SetDlgItemText(this, id, "");
    }
    if (const CTavrelItem* item = ItemAt(row)) m_journal.RecordDelete(*item);
    RemoveItemAt(row);
    // The entry before the removed one, or the one that followed the first.
    const int next = row > 0 ? row - 1 : 0;
    if (SetCurSel(next)) {
        OnSelchangeItemList();
    } else {
        EnableButton(IDC_CHANGE, false);
        EnableButton(IDC_DELETE, false);
    }
}

void CTavrelDlg::OnBuildIt() {
    UpdateData(true);
    if (!ConfirmDrops() || !LockForWriting()) {
        m_session->Unlock();
        return;
    }
    // Without BODY the list has no place in the page; the session then
    // leaves the file alone, and the user is told why.
    if (const SessionFailure failure = m_session->Write()) {
        ShowFailure(failure);
    } else if (const FeedResult feed = WriteLinkedFeed(*m_session, {});
               feed.outcome == FeedOutcome::kFailed) {
        ShowFailure({kMsgFeedNotWritten, feed.error});
    }
    m_session->Unlock();
    EndDialog(IDOK);
}

bool CTavrelDlg::ConfirmDrops() {
    if (g_bNewPage || g_unreadContent.empty()) return true;
    const std::string question =
        ListText(kMsgUnreadContent, g_unreadContent) + "\n\n" + kMsgBuildAnyway;
    return AskChoice(this, question, m_strPagePath, {kBtnBuildAnyway, kBtnGoBack}, 1) == 0;
}

// A page that another program holds stays in the editor: nothing typed is
// lost, and Build It can be pressed again.
bool CTavrelDlg::LockForWriting() {
    bool changed = false;
    if (const SessionFailure failure = m_session->Lock(kLockWaitSeconds, &changed)) {
        ShowFailure(failure);
        return false;
    }
    if (changed) {
        const int choice = AskChoice(this, kMsgChangedOnDisk, m_strPagePath,
                                     {kBtnApplyMyChanges, kBtnOverwrite, kBtnGoBack}, 2);
        if (choice == 2) return false;
        if (choice == 0) return ApplyMyChanges();
    }
    return true;
}

// Reads the page as it is now and makes this session's edits on it. When an
// edit finds no entry, the merged list is shown for the user to check, and
// nothing is written yet.
bool CTavrelDlg::ApplyMyChanges() {
    if (const SessionFailure failure = m_session->Reread()) {
        ShowList();  // the list box shows what is left: nothing
        ShowFailure(failure);
        return false;
    }
    g_bNewPage = m_session->IsNew() ? 1 : 0;
    const std::vector<std::string> unfound = m_journal.Replay();
    m_journal.Clear();
    if (unfound.empty()) return true;
    ShowList();
    ShowMessage(ListText(kMsgNotReplayed, unfound) + "\n\n" + kMsgReplayShown, m_strPagePath);
    return false;
}

void CTavrelDlg::ShowFailure(const SessionFailure& failure) {
    ShowMessage(failure.Text("\n"), m_strPagePath);
}

void CTavrelDlg::OnHelpButton() { OpenHelp(this, QStringLiteral("Contents")); }

void CTavrelDlg::OnCancel() { EndDialog(IDCANCEL); }

void CTavrelDlg::reject() { OnCancel(); }

void CTavrelDlg::EndDialog(int result) {
    m_nModalResult = result;
    done(result == IDOK ? QDialog::Accepted : QDialog::Rejected);
}

void CTavrelDlg::UpdateData(bool save) {
    if (save) {
        m_strDate = GetDlgItemText(this, IDC_DATE, kFieldBytes);
        m_strTitle = GetDlgItemText(this, IDC_TITLE, kFieldBytes);
        m_strDescription = GetDlgItemText(this, IDC_DESCRIPTION, kFieldBytes);
        m_strHyperlink = GetDlgItemText(this, IDC_HYPERLINK, kFieldBytes);
        return;
    }
    SetDlgItemText(this, IDC_DATE, m_strDate);
    SetDlgItemText(this, IDC_TITLE, m_strTitle);
    SetDlgItemText(this, IDC_DESCRIPTION, m_strDescription);
    SetDlgItemText(this, IDC_HYPERLINK, m_strHyperlink);
}

std::string CTavrelDlg::ReadField(int id) const { return GetDlgItemText(this, id, kFieldBytes); }

void CTavrelDlg::ShowPlaceholders() {
    SetDlgItemText(this, IDC_TITLE, kTitlePlaceholder);
    SetDlgItemText(this, IDC_DESCRIPTION, kDescriptionPlaceholder);
    SetDlgItemText(this, IDC_HYPERLINK, kHyperlinkPlaceholder);
}

void CTavrelDlg::ProposeDate() {
    m_strDate = DateText();
    SetDlgItemText(this, IDC_DATE, m_strDate);
}

void CTavrelDlg::ShowItem(int position) {
    const CTavrelItem* item = ItemAt(position);
    if (item == nullptr) return;
    SetDlgItemText(this, IDC_TITLE, item->GetTitle());
    SetDlgItemText(this, IDC_DESCRIPTION, item->GetDescription());
    SetDlgItemText(this, IDC_DATE, item->GetDate());
    SetDlgItemText(this, IDC_HYPERLINK, item->GetHyperlink());
}

void CTavrelDlg::EnableButtons(bool add, bool del, bool change) {
    EnableButton(IDC_ADD, add);
    EnableButton(IDC_DELETE, del);
    EnableButton(IDC_CHANGE, change);
}

void CTavrelDlg::EnableButton(int id, bool enable) { EnableDlgItem(this, id, enable); }

void CTavrelDlg::ShowMessage(const std::string& text, const std::string& caption) {
    ShowMessageBox(this, text, caption);
}

int CTavrelDlg::GetCurSel() const {
    const QModelIndexList rows = m_listItems->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

bool CTavrelDlg::SetCurSel(int row) {
    const QSignalBlocker blocker(m_listItems);
    if (row < 0 || row >= m_listItems->count()) {
        m_listItems->clearSelection();
        m_listItems->setCurrentRow(-1);
        return false;
    }
    m_listItems->setCurrentRow(row);
    m_listItems->scrollToItem(m_listItems->item(row));
    return true;
}

void CTavrelDlg::InsertRow(int row, const std::string& title) {
    const QSignalBlocker blocker(m_listItems);
    m_listItems->insertItem(row, QString::fromStdString(title));
}

void CTavrelDlg::DeleteRow(int row) {
    const QSignalBlocker blocker(m_listItems);
    delete m_listItems->takeItem(row);
}

// The meta-object code lives with the class, so programs that never use the
// dialog do not link it (and the page modules it needs).
#include "moc_TavrelDlg.cpp"  // NOLINT(bugprone-suspicious-include)
