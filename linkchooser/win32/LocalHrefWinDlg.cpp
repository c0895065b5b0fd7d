#include "linkchooser/win32/LocalHrefWinDlg.h"

#include "model/Messages.h"
#include "platform/win32/choice_box.h"
#include "res/dialog_templates.h"
#include "res/resource.h"

int CLocalHrefWinDlg::DoModal(HWND owner) {
    std::string failure;
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const bool loaded = m_listing.Load(&failure);
    SetCursor(previous);
    if (!loaded) {
        ShowMessageBoxW32(owner, failure, kAppCaption);
        return IDCANCEL;
    }
    return static_cast<int>(RunModal(owner, *FindDialogTemplate(IDD_LOCAL_HREF_DIALOG)));
}

// The list sorts what it is given; each row keeps its listing index.
bool CLocalHrefWinDlg::OnInitDialog() {
    const HWND list = Item(IDC_DIR_LIST);
    const std::vector<DirectoryItem>& directories = m_listing.Directories();
    for (std::size_t index = 0; index < directories.size(); ++index) {
        const LRESULT row =
            SendMessageW(list, LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(SystemText(directories[index].url).c_str()));
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(index));
    }
    return true;
}

void CLocalHrefWinDlg::OnCommand(int id, int notification) {
    if (id == IDC_DIR_LIST && (notification == LBN_SELCHANGE || notification == LBN_DBLCLK)) {
        OnSelchangeDirList();
    } else if (id == IDC_FILE_COMBO && notification == CBN_DBLCLK) {
        OnOK();
    } else if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        End(IDCANCEL);
    }
}

int CLocalHrefWinDlg::SelectedDirectory() const {
    const HWND list = Item(IDC_DIR_LIST);
    const LRESULT row = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (row == LB_ERR) return -1;
    return static_cast<int>(SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(row), 0));
}

void CLocalHrefWinDlg::OnSelchangeDirList() {
    const HWND files = Item(IDC_FILE_COMBO);
    SendMessageW(files, CB_RESETCONTENT, 0, 0);
    const int index = SelectedDirectory();
    if (index < 0) return;
    for (const std::string& name : m_listing.FilesIn(static_cast<std::size_t>(index))) {
        SendMessageW(files, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(SystemText(name).c_str()));
    }
}

void CLocalHrefWinDlg::OnOK() {
    const int index = SelectedDirectory();
    if (index < 0) {
        ShowMessageBoxW32(Handle(), kMsgChooseDirectory, kLocalHrefCaption);
        return;
    }
    m_strResult = m_listing.LinkFor(static_cast<std::size_t>(index), ItemText(IDC_FILE_COMBO));
    End(IDOK);
}
