#include "editor/win32/TavrelWinDlg.h"

#include <shellapi.h>

#include <utility>

#include "linkchooser/win32/LocalHrefWinDlg.h"
#include "model/DateText.h"
#include "platform/win32/choice_box.h"
#include "platform/win32/wide_path.h"
#include "res/dialog_templates.h"
#include "res/resource.h"

namespace {

// What the user may type into a field, in characters.
constexpr int kFieldCharacters = 255;

constexpr int kEntryFields[] = {IDC_TITLE, IDC_HYPERLINK, IDC_DESCRIPTION, IDC_DATE};

// What the fields show while the list is empty; ordinary text to the program.
constexpr char kTitlePlaceholder[] = "*** Add Tavrel Item here ***";
constexpr char kDescriptionPlaceholder[] = "*** Add the item description here ***";
constexpr char kHyperlinkPlaceholder[] = "*** Add hyperlink here ***";

// The row shown for an entry that Add or Change left without a title.
constexpr char kNoTitleRow[] = "[none]";

// The help page, installed beside the program.
constexpr wchar_t kHelpFile[] = L"tavrel-wizard.html";

std::string RowText(const std::string& title) { return title.empty() ? kNoTitleRow : title; }

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

}  // namespace

CTavrelWinDlg::CTavrelWinDlg(std::string pagePath) : m_strPagePath(std::move(pagePath)) {}

CTavrelWinDlg::~CTavrelWinDlg() = default;

int CTavrelWinDlg::DoModal() {
    m_editor = std::make_unique<PageEditor>(m_strPagePath, static_cast<EditorView*>(this));
    if (!m_editor->Open()) return IDCANCEL;
    const INT_PTR result = RunModal(nullptr, *FindDialogTemplate(IDD_TAVREL_DIALOG));
    return result == IDOK ? IDOK : IDCANCEL;
}

bool CTavrelWinDlg::OnInitDialog() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto icon =
        reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME)));
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, icon);
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, icon);
    for (const int id : kEntryFields) SendMessageW(Item(id), EM_LIMITTEXT, kFieldCharacters, 0);
    SetWindowTextW(Handle(), Wide(m_editor->Title()).c_str());
    ShowList(0);
    return true;
}

void CTavrelWinDlg::OnCommand(int id, int notification) {
    if (id == IDC_ITEM_LIST) {
        if (notification == LBN_SELCHANGE) OnSelchangeItemList();
        return;
    }
    if (notification != BN_CLICKED) return;
    switch (id) {
        case IDC_NEW_ITEM:
            OnNewItem();
            break;
        case IDC_ADD:
            OnAdd();
            break;
        case IDC_CHANGE:
            OnChange();
            break;
        case IDC_DELETE:
            OnDelete();
            break;
        case IDC_BUILD_IT:
            OnBuildIt();
            break;
        case IDC_BROWSE:
            OnBrowse();
            break;
        case IDC_HELP_BUTTON:
            OnHelp();
            break;
        case IDCANCEL:
            OnCancel();
            break;
        // Enter outside the description presses the default button.
        case IDOK:
            OnBuildIt();
            break;
        default:
            break;
    }
}

void CTavrelWinDlg::ShowList(int row) {
    SendMessageW(Item(IDC_ITEM_LIST), LB_RESETCONTENT, 0, 0);
    int count = 0;
    for (const CTavrelItem* item = m_editor->Entries().Head(); item != nullptr;
         item = item->GetNext()) {
        InsertRow(count++, item->GetTitle());
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

void CTavrelWinDlg::OnSelchangeItemList() {
    const int row = GetCurSel();
    if (row < 0) return;
    ShowItem(row);
    EnableButtons(false, true, true);
}

void CTavrelWinDlg::OnNewItem() {
    SetField(IDC_TITLE, "");
    SetField(IDC_DESCRIPTION, "");
    SetField(IDC_HYPERLINK, "");
    ProposeDate();
    EnableButtons(true, false, false);
    SetCurSel(-1);
    FocusItem(IDC_TITLE);
}

void CTavrelWinDlg::OnAdd() {
    const EntryText fields = Fields();
    if (!m_editor->Add(fields)) {
        FocusItem(IDC_HYPERLINK);
        return;
    }
    InsertRow(0, RowText(fields.title));
    MarkFieldsShown();
    SetCurSel(0);
    EnableButtons(false, true, true);
}

void CTavrelWinDlg::OnChange() {
    const int row = GetCurSel();
    if (row < 0) return;
    const EntryText fields = Fields();
    m_editor->Change(row, fields);
    DeleteRow(row);
    InsertRow(row, RowText(fields.title));
    MarkFieldsShown();
    SetCurSel(row);
}

void CTavrelWinDlg::OnDelete() {
    const int row = GetCurSel();
    if (row < 0) return;
    DeleteRow(row);
    for (const int id : kEntryFields) SetField(id, "");
    m_editor->Delete(row);
    // The entry before the removed one, or the one that followed the first.
    if (SetCurSel(row > 0 ? row - 1 : 0)) {
        OnSelchangeItemList();
    } else {
        EnableItem(IDC_CHANGE, false);
        EnableItem(IDC_DELETE, false);
    }
}

// A Build It that wrote nothing keeps the dialog and all that was typed.
void CTavrelWinDlg::OnBuildIt() {
    const BuildOutcome outcome = m_editor->BuildIt({Fields(), FieldsEdited(), GetCurSel()});
    if (outcome == BuildOutcome::kWritten) End(IDOK);
    if (outcome == BuildOutcome::kHyperlinkMissing) FocusItem(IDC_HYPERLINK);
}

void CTavrelWinDlg::OnBrowse() {
    CLocalHrefWinDlg chooser;
    if (chooser.DoModal(Handle()) == IDOK) SetItemText(IDC_HYPERLINK, chooser.m_strResult);
}

void CTavrelWinDlg::OnHelp() {
    const std::wstring help = ProgramFolder() + kHelpFile;
    ShellExecuteW(Handle(), L"open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CTavrelWinDlg::OnCancel() {
    if (m_editor->MayClose(FieldsEdited())) End(IDCANCEL);
}

Answer CTavrelWinDlg::Ask(const Question& question) {
    return AnswerAt(question, AskChoiceW32(Handle(), question.text, question.caption,
                                           LabelsOf(question), EscapeIndexOf(question)));
}

// The focus goes back where it was once the box is read.
void CTavrelWinDlg::Tell(const std::string& text, const std::string& caption) {
    const HWND focused = GetFocus();
    ShowMessageBoxW32(Handle(), text, caption);
    if (focused != nullptr) SetFocus(focused);
}

void CTavrelWinDlg::ShowEntries(int row) { ShowList(row); }

EntryText CTavrelWinDlg::Fields() const {
    return {ItemText(IDC_DATE), ItemText(IDC_TITLE), ItemText(IDC_HYPERLINK),
            ItemText(IDC_DESCRIPTION)};
}

bool CTavrelWinDlg::FieldsEdited() const {
    for (const int id : kEntryFields) {
        const auto shown = m_shownFields.find(id);
        const std::string text = ItemText(id);
        if (shown == m_shownFields.end() ? !text.empty() : text != shown->second) return true;
    }
    return false;
}

void CTavrelWinDlg::SetField(int id, const std::string& text) {
    SetItemText(id, text);
    m_shownFields[id] = ItemText(id);
}

void CTavrelWinDlg::MarkFieldsShown() {
    for (const int id : kEntryFields) m_shownFields[id] = ItemText(id);
}

void CTavrelWinDlg::ShowPlaceholders() {
    SetField(IDC_TITLE, kTitlePlaceholder);
    SetField(IDC_DESCRIPTION, kDescriptionPlaceholder);
    SetField(IDC_HYPERLINK, kHyperlinkPlaceholder);
}

void CTavrelWinDlg::ProposeDate() { SetField(IDC_DATE, DateText()); }

void CTavrelWinDlg::ShowItem(int position) {
    const CTavrelItem* item = m_editor->Entries().At(position);
    if (item == nullptr) return;
    SetField(IDC_TITLE, item->GetTitle());
    SetField(IDC_DESCRIPTION, item->GetDescription());
    SetField(IDC_DATE, item->GetDate());
    SetField(IDC_HYPERLINK, item->GetHyperlink());
}

void CTavrelWinDlg::EnableButtons(bool add, bool del, bool change) {
    EnableItem(IDC_ADD, add);
    EnableItem(IDC_DELETE, del);
    EnableItem(IDC_CHANGE, change);
}

int CTavrelWinDlg::GetCurSel() const {
    const LRESULT row = SendMessageW(Item(IDC_ITEM_LIST), LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? -1 : static_cast<int>(row);
}

bool CTavrelWinDlg::SetCurSel(int row) {
    const LRESULT result =
        SendMessageW(Item(IDC_ITEM_LIST), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    return row >= 0 && result != LB_ERR;
}

void CTavrelWinDlg::InsertRow(int row, const std::string& title) {
    SendMessageW(Item(IDC_ITEM_LIST), LB_INSERTSTRING, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(SystemText(title).c_str()));
}

void CTavrelWinDlg::DeleteRow(int row) {
    SendMessageW(Item(IDC_ITEM_LIST), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
}
