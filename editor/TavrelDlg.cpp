#include "editor/TavrelDlg.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cstdio>

#include "model/DateText.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "model/PagePath.h"
#include "page/NewPageWriter.h"
#include "page/PageReader.h"
#include "page/SectionBuilder.h"
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

std::string RowText(const std::string& title) { return title.empty() ? kNoTitleRow : title; }

// Only a regular file can be a page: a folder opens but reads nothing, and a
// pipe or device would hang or hand over something else.
bool IsRegularFile(FILE* stream) {
    struct stat info {};
    return fstat(fileno(stream), &info) == 0 && S_ISREG(info.st_mode);
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
    if (access(m_strPagePath.c_str(), F_OK) == -1) {
        g_bNewPage = 1;
        ProposeDate();
        ShowPlaceholders();
        EnableButtons(true, false, false);
        return true;
    }
    g_bNewPage = 0;
    if (!ReadExistingPage()) {
        OnCancel();
        return true;
    }
    if (SetCurSel(0)) {
        ShowItem(0);
    } else {
        ProposeDate();
        ShowPlaceholders();
        EnableButtons(true, false, false);
    }
    return true;
}

bool CTavrelDlg::ReadExistingPage() {
    FILE* stream = std::fopen(m_strPagePath.c_str(), "r");
    if (stream == nullptr || !IsRegularFile(stream)) {
        if (stream != nullptr) std::fclose(stream);
        ShowMessage(kMsgCannotRead, m_strPagePath);
        return false;
    }
    CTavrelItem* head = ReadPage(stream);
    // A page read only in part must never be written back: the rest of it
    // would be lost. So a read error refuses the page like a failed open.
    const bool readFailed = std::ferror(stream) != 0;
    std::fclose(stream);
    AdoptItemList(head);
    if (readFailed) {
        ClearItemList();
        ShowMessage(kMsgCannotRead, m_strPagePath);
        return false;
    }
    for (const CTavrelItem* item = g_pItemHead; item != nullptr; item = item->GetNext()) {
        m_listItems->addItem(QString::fromStdString(item->GetTitle()));
    }
    return true;
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
        item->SetDate(m_strDate);
        item->SetDescription(m_strDescription);
        item->SetTitle(m_strTitle);
        item->SetHyperlink(m_strHyperlink);
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
    bool written = false;
    const char* failure = kMsgCouldNotCreate;
    if (g_bNewPage) {
        written = WriteNewPage(m_strPagePath, g_pItemHead);
    } else {
        // Without BODY the list has no place in the page; the writer then
        // leaves the file alone, and the user is told why.
        if (g_pBody == nullptr) failure = kMsgNoBody;
        written = WriteUpdatedPage(m_strPagePath);
    }
    if (!written) ShowMessage(failure, m_strPagePath);
    EndDialog(IDOK);
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

void CTavrelDlg::ShowMessage(const char* text, const std::string& caption) {
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
