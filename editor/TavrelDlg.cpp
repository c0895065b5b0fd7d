#include "editor/TavrelDlg.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QSettings>
#include <QShortcut>
#include <cstdio>
#include <limits>

#include "editor/GrowingLayout.h"
#include "feed/PageFeed.h"
#include "model/DateText.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "model/PagePath.h"
#include "model/WriteRefusal.h"
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

// What the user may type into a field, in characters. Text read from the
// page is not held to it.
constexpr int kFieldCharacters = 255;
constexpr std::size_t kWholeField = std::numeric_limits<std::size_t>::max();

constexpr int kEntryFields[] = {IDC_TITLE, IDC_HYPERLINK, IDC_DESCRIPTION, IDC_DATE};

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

// The settings the wizard remembers between runs: the dialog's size.
constexpr char kSizeSetting[] = "editor/size";

QSettings Settings() {
    return QSettings(QStringLiteral("tavrel-wizard"), QStringLiteral("tavrel-wizard"));
}

std::string FileName(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

// What Build It will refuse to write, known when the page opens; null when
// nothing is.
const char* UnwritableReason(const std::string& path, bool isNew) {
    if (!isNew) {
        // A page without any write bit is refused for every user, root too.
        struct stat page {};
        const bool protectedPage = stat(path.c_str(), &page) == 0 && (page.st_mode & 0222) == 0;
        return protectedPage || access(path.c_str(), W_OK) != 0 ? kMsgPageNotWritable : nullptr;
    }
    const std::string folder = QFileInfo(QString::fromStdString(path)).absolutePath().toStdString();
    if (access(folder.c_str(), F_OK) != 0) return kMsgFolderMissing;
    return access(folder.c_str(), W_OK | X_OK) == 0 ? nullptr : kMsgFolderNotWritable;
}

}  // namespace

CTavrelDlg::CTavrelDlg() : QDialog(nullptr), m_hIcon(LoadIconResource(IDR_MAINFRAME)) {
    BuildDialog(this, *FindDialogTemplate(IDD_TAVREL_DIALOG));
    m_editHyperlink = qobject_cast<QLineEdit*>(DialogItem(this, IDC_HYPERLINK));
    m_listItems = qobject_cast<QListWidget*>(DialogItem(this, IDC_ITEM_LIST));
    for (const int id : kEntryFields) LimitDlgItemText(this, id, kFieldCharacters);
    setWindowIcon(m_hIcon);
    MakeResizable();
    ConnectSignals();
}

// The template size is the smallest; the size the user left last time is
// taken again.
void CTavrelDlg::MakeResizable() {
    m_layout = std::make_unique<GrowingLayout>(this, m_listItems, DialogItem(this, IDC_DESCRIPTION),
                                               findChild<QGroupBox*>());
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, false);
    setMinimumSize(m_layout->MinimumSize());
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setSizeGripEnabled(true);
    resize(Settings().value(kSizeSetting).toSize().expandedTo(m_layout->MinimumSize()));
}

void CTavrelDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    m_layout->Apply(event->size());
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
    // F1 opens the help, as desktop users expect, beside Alt+H and the button.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &CTavrelDlg::OnHelpButton);
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
        EndDialog(IDCANCEL);
        return true;
    }
    if (!ReadPageFile()) {
        EndDialog(IDCANCEL);
        return true;
    }
    ShowPageInTitle();
    ShowList();
    WarnIfUnwritable();
    return true;
}

void CTavrelDlg::ShowPageInTitle() {
    std::string title = FileName(m_strPagePath);
    if (g_bNewPage) {
        title += kTitleNewPage;
    } else if (g_bNoSection) {
        title += kTitleNoList;
    }
    setWindowTitle(QString::fromStdString(title + kTitleSeparator + kAppCaption));
}

// The user can still look at the page; Build It refuses as it always does.
void CTavrelDlg::WarnIfUnwritable() {
    if (const char* reason = UnwritableReason(m_strPagePath, g_bNewPage != 0)) {
        ShowMessage(reason, m_strPagePath);
    }
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
        InsertRow(m_listItems->count(), item->GetTitle());
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
    SetField(IDC_TITLE, "");
    SetField(IDC_DESCRIPTION, "");
    SetField(IDC_HYPERLINK, "");
    ProposeDate();
    EnableButtons(true, false, false);
    SetCurSel(-1);
    DialogItem(this, IDC_TITLE)->setFocus();
}

void CTavrelDlg::OnAdd() { AddFields(); }

bool CTavrelDlg::AddFields() {
    m_strHyperlink = ReadField(IDC_HYPERLINK);
    if (m_strHyperlink.empty()) {
        ShowMessage(kMsgHyperlinkRequired, kAppCaption);
        m_editHyperlink->setFocus();
        return false;
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
    m_bListEdited = true;
    MarkFieldsShown();

    SetCurSel(0);
    EnableButtons(false, true, true);
    return true;
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
        m_bListEdited = true;
    }
    MarkFieldsShown();
    SetCurSel(row);
}

void CTavrelDlg::OnDelete() {
    const int row = GetCurSel();
    if (row < 0) return;
    DeleteRow(row);
    for (const int id : kEntryFields) SetField(id, "");
    if (const CTavrelItem* item = ItemAt(row)) m_journal.RecordDelete(*item);
    m_bListEdited = true;
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
    if (!TakeTypedEntry()) return;
    UpdateData(true);
    if (!ConfirmDrops() || !LockForWriting()) {
        m_session->Unlock();
        return;
    }
    // A failed write keeps the dialog and all that was typed, so the user can mend the cause and
    // press Build It again. The feed the page links follows the page, under the same lock; the page
    // stays written when only the feed fails.
    const SessionFailure failure = m_session->Write();
    const FeedResult feed = failure ? FeedResult{} : WriteLinkedFeed(*m_session, {});
    m_session->Unlock();
    if (failure) {
        ShowFailure(failure);
        return;
    }
    if (feed.outcome == FeedOutcome::kFailed) {
        ShowFailure({kMsgFeedNotWritten, feed.error, feed.detail});
    }
    if (feed.outcome == FeedOutcome::kNoUrl) ShowFailure({kMsgFeedHasNoPlace, 0});
    if (feed.outcome == FeedOutcome::kOutside) ShowFailure({kMsgFeedOutside, 0});
    EndDialog(IDOK);
}

bool CTavrelDlg::TakeTypedEntry() {
    if (!FieldsEdited()) return true;
    const bool selected = GetCurSel() >= 0;
    const int choice = AskChoice(this, selected ? kMsgChangeBeforeBuilding : kMsgAddBeforeBuilding,
                                 m_strPagePath, {kBtnYes, kBtnNo, kBtnCancel}, 2);
    if (choice == 2) return false;
    if (choice == 1) return true;
    if (!selected) return AddFields();
    OnChange();
    return true;
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
// nothing is written yet. When the page cannot be read, the user's own list
// stays, and with it the record of the edits, to be applied at the next try.
bool CTavrelDlg::ApplyMyChanges() {
    CTavrelItem* mine = TakeItemList();
    if (const SessionFailure failure = m_session->Reread()) {
        ClearItemList();
        AdoptItemList(mine);
        ShowFailure(failure);
        return false;
    }
    DestroyItems(mine);
    g_bNewPage = m_session->IsNew() ? 1 : 0;
    const std::vector<std::string> unfound = m_journal.Replay();
    m_journal.Clear();
    if (unfound.empty()) return true;
    ShowList();
    ShowMessage(ListText(kMsgNotReplayed, unfound) + "\n\n" + kMsgReplayShown, m_strPagePath);
    return false;
}

// A failed write keeps its fixed first line; what stands in the way, and
// the fix, is the second.
void CTavrelDlg::ShowFailure(const SessionFailure& failure) {
    const std::string reason = failure.message == kMsgCouldNotCreate
                                   ? WriteRefusalReason(m_strPagePath, failure.error)
                                   : std::string();
    ShowMessage(reason.empty() ? failure.Text("\n") : std::string(failure.message) + "\n" + reason,
                m_strPagePath);
}

void CTavrelDlg::OnHelpButton() { OpenHelp(this, QStringLiteral("Contents")); }

void CTavrelDlg::OnCancel() {
    if (ConfirmDiscard()) EndDialog(IDCANCEL);
}

bool CTavrelDlg::ConfirmDiscard() {
    if (!m_bListEdited && !FieldsEdited()) return true;
    const std::string question = kMsgDiscardChangesTo + FileName(m_strPagePath) + "?";
    return AskChoice(this, question, m_strPagePath, {kBtnDiscard, kBtnCancel}, 1) == 0;
}

bool CTavrelDlg::FieldsEdited() const {
    for (const int id : kEntryFields) {
        const auto shown = m_shownFields.find(id);
        const std::string text = GetDlgItemText(this, id, kWholeField);
        if (shown == m_shownFields.end() ? !text.empty() : text != shown->second) return true;
    }
    return false;
}

void CTavrelDlg::reject() { OnCancel(); }

void CTavrelDlg::EndDialog(int result) {
    if (isVisible()) Settings().setValue(kSizeSetting, size());
    m_nModalResult = result;
    done(result == IDOK ? QDialog::Accepted : QDialog::Rejected);
}

void CTavrelDlg::UpdateData(bool save) {
    if (save) {
        m_strDate = ReadField(IDC_DATE);
        m_strTitle = ReadField(IDC_TITLE);
        m_strDescription = ReadField(IDC_DESCRIPTION);
        m_strHyperlink = ReadField(IDC_HYPERLINK);
        return;
    }
    SetField(IDC_DATE, m_strDate);
    SetField(IDC_TITLE, m_strTitle);
    SetField(IDC_DESCRIPTION, m_strDescription);
    SetField(IDC_HYPERLINK, m_strHyperlink);
}

std::string CTavrelDlg::ReadField(int id) const { return GetDlgItemText(this, id, kWholeField); }

void CTavrelDlg::SetField(int id, const std::string& text) {
    SetDlgItemText(this, id, text);
    m_shownFields[id] = GetDlgItemText(this, id, kWholeField);
}

void CTavrelDlg::MarkFieldsShown() {
    for (const int id : kEntryFields) m_shownFields[id] = GetDlgItemText(this, id, kWholeField);
}

void CTavrelDlg::ShowPlaceholders() {
    SetField(IDC_TITLE, kTitlePlaceholder);
    SetField(IDC_DESCRIPTION, kDescriptionPlaceholder);
    SetField(IDC_HYPERLINK, kHyperlinkPlaceholder);
}

void CTavrelDlg::ProposeDate() {
    m_strDate = DateText();
    SetField(IDC_DATE, m_strDate);
}

void CTavrelDlg::ShowItem(int position) {
    const CTavrelItem* item = ItemAt(position);
    if (item == nullptr) return;
    SetField(IDC_TITLE, item->GetTitle());
    SetField(IDC_DESCRIPTION, item->GetDescription());
    SetField(IDC_DATE, item->GetDate());
    SetField(IDC_HYPERLINK, item->GetHyperlink());
}

void CTavrelDlg::EnableButtons(bool add, bool del, bool change) {
    EnableButton(IDC_ADD, add);
    EnableButton(IDC_DELETE, del);
    EnableButton(IDC_CHANGE, change);
}

void CTavrelDlg::EnableButton(int id, bool enable) { EnableDlgItem(this, id, enable); }

void CTavrelDlg::ShowMessage(const std::string& text, const std::string& caption) {
    QWidget* focused = focusWidget();
    ShowMessageBox(this, text, caption);
    if (focused != nullptr) focused->setFocus();
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
    const QString text = QString::fromStdString(title);
    m_listItems->insertItem(row, text);
    // A title wider than the list shows whole when the pointer rests on it.
    m_listItems->item(row)->setToolTip(text);
}

void CTavrelDlg::DeleteRow(int row) {
    const QSignalBlocker blocker(m_listItems);
    delete m_listItems->takeItem(row);
}

// The meta-object code lives with the class, so programs that never use the
// dialog do not link it (and the page modules it needs).
#include "moc_TavrelDlg.cpp"  // NOLINT(bugprone-suspicious-include)
