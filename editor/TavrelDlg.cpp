#include "editor/TavrelDlg.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QSettings>
#include <QShortcut>
#include <limits>

#include "editor/GrowingLayout.h"
#include "model/DateText.h"
#include "platform/dialog_builder.h"
#include "platform/dialog_items.h"
#include "platform/help_window.h"
#include "platform/icon_resource.h"
#include "platform/message_box.h"
#include "res/dialog_templates.h"
#include "res/resource.h"

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

std::string RowText(const std::string& title) { return title.empty() ? kNoTitleRow : title; }

// The settings the wizard remembers between runs: the dialog's size.
constexpr char kSizeSetting[] = "editor/size";

QSettings Settings() {
    return QSettings(QStringLiteral("tavrel-wizard"), QStringLiteral("tavrel-wizard"));
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
    m_editor = std::make_unique<PageEditor>(m_strPagePath, static_cast<EditorView*>(this));
    if (!m_editor->Open()) {
        EndDialog(IDCANCEL);
        return true;
    }
    setWindowTitle(QString::fromStdString(m_editor->Title()));
    ShowList();
    return true;
}

void CTavrelDlg::ShowList(int row) {
    m_listItems->clear();
    for (const CTavrelItem* item = m_editor->Entries().Head(); item != nullptr;
         item = item->GetNext()) {
        InsertRow(m_listItems->count(), item->GetTitle());
    }
    if (SetCurSel(row) || SetCurSel(0)) {
        ShowItem(GetCurSel());
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
    UpdateData(true);
    if (!m_editor->Add(Fields())) {
        m_editHyperlink->setFocus();
        return false;
    }
    InsertRow(0, RowText(m_strTitle));
    MarkFieldsShown();
    SetCurSel(0);
    EnableButtons(false, true, true);
    return true;
}

void CTavrelDlg::OnChange() {
    UpdateData(true);
    const int row = GetCurSel();
    if (row < 0) return;
    m_editor->Change(row, Fields());
    DeleteRow(row);
    InsertRow(row, RowText(m_strTitle));
    MarkFieldsShown();
    SetCurSel(row);
}

void CTavrelDlg::OnDelete() {
    const int row = GetCurSel();
    if (row < 0) return;
    DeleteRow(row);
    for (const int id : kEntryFields) SetField(id, "");
    m_editor->Delete(row);
    // The entry before the removed one, or the one that followed the first.
    const int next = row > 0 ? row - 1 : 0;
    if (SetCurSel(next)) {
        OnSelchangeItemList();
    } else {
        EnableButton(IDC_CHANGE, false);
        EnableButton(IDC_DELETE, false);
    }
}

// A Build It that wrote nothing keeps the dialog and all that was typed, so
// the user can mend the cause and press Build It again.
void CTavrelDlg::OnBuildIt() {
    UpdateData(true);
    const BuildOutcome outcome = m_editor->BuildIt({Fields(), FieldsEdited(), GetCurSel()});
    if (outcome == BuildOutcome::kWritten) EndDialog(IDOK);
    if (outcome == BuildOutcome::kHyperlinkMissing) m_editHyperlink->setFocus();
}

EntryText CTavrelDlg::Fields() const {
    return {m_strDate, m_strTitle, m_strHyperlink, m_strDescription};
}

Answer CTavrelDlg::Ask(const Question& question) {
    return AnswerAt(question, AskChoice(this, question.text, question.caption, LabelsOf(question),
                                        EscapeIndexOf(question)));
}

void CTavrelDlg::Tell(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption);
}

void CTavrelDlg::ShowEntries(int row) { ShowList(row); }

void CTavrelDlg::OnHelpButton() { OpenHelp(this, QStringLiteral("Contents")); }

void CTavrelDlg::OnCancel() {
    if (m_editor == nullptr || m_editor->MayClose(FieldsEdited())) EndDialog(IDCANCEL);
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
    const CTavrelItem* item = m_editor->Entries().At(position);
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
