#include "linkchooser/LocalHrefDlg.h"

#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>

#include "model/Messages.h"
#include "platform/dialog_builder.h"
#include "platform/list_box.h"
#include "platform/message_box.h"
#include "platform/simple_combo_box.h"
#include "res/dialog_templates.h"
#include "res/resource.h"

namespace {

// Shows the wait cursor for as long as it lives.
class WaitCursor {
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// File names are bytes; the file list shows them as the system's names decode.
QString FileNameText(const std::string& name) { return QFile::decodeName(name.c_str()); }

}  // namespace

CLocalHrefDlg::CLocalHrefDlg(QWidget* pParent) : QDialog(pParent) {
    BuildDialog(this, *FindDialogTemplate(IDD_LOCAL_HREF_DIALOG));
    m_comboFiles = qobject_cast<SimpleComboBox*>(DialogItem(this, IDC_FILE_COMBO));
    m_listDirs = qobject_cast<ListBox*>(DialogItem(this, IDC_DIR_LIST));
    // Every row is one line of text; this keeps a list of many thousand
    // directories quick to fill and to scroll.
    m_listDirs->setUniformItemSizes(true);

    auto* pOk = qobject_cast<QPushButton*>(DialogItem(this, IDOK));
    auto* pCancel = qobject_cast<QPushButton*>(DialogItem(this, IDCANCEL));
    connect(pOk, &QPushButton::clicked, this, &CLocalHrefDlg::OnOK);
    connect(pCancel, &QPushButton::clicked, this, &CLocalHrefDlg::OnCancel);
    connect(m_listDirs, &QListWidget::itemSelectionChanged, this,
            &CLocalHrefDlg::OnSelchangeDirList);
    connect(m_listDirs, &QListWidget::itemDoubleClicked, this, &CLocalHrefDlg::OnDblclkDirList);
    connect(m_comboFiles, &SimpleComboBox::RowDoubleClicked, this,
            &CLocalHrefDlg::OnDblclkFileCombo);
}

int CLocalHrefDlg::DoModal() {
    if (!OnInitDialog()) return IDCANCEL;
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CLocalHrefDlg::reject() { OnCancel(); }

bool CLocalHrefDlg::OnInitDialog() {
    CenterWindow(this);
    PlaceClearOf(this, m_keepClear);
    WaitCursor waitCursor;
    std::string failure;
    if (!m_listing.Load(&failure)) {
        ShowMessageBox(parentWidget(), failure, kAppCaption);
        return false;
    }
    FillDirectoryList();
    return true;
}

// The listing is in list order already, so the list box puts every row at
// the end instead of moving the rows after it, which keeps a tree of a
// hundred thousand directories quick to list.
void CLocalHrefDlg::FillDirectoryList() {
    m_listDirs->clear();
    const std::vector<DirectoryItem>& directories = m_listing.Directories();
    for (std::size_t index = 0; index < directories.size(); ++index) {
        const int row = m_listDirs->AddString(QString::fromStdString(directories[index].url));
        m_listDirs->item(row)->setData(Qt::UserRole, QVariant::fromValue(index));
    }
}

QListWidgetItem* CLocalHrefDlg::SelectedDirectory() const {
    const QList<QListWidgetItem*> selected = m_listDirs->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void CLocalHrefDlg::OnSelchangeDirList() {
    m_comboFiles->ResetContent();
    const QListWidgetItem* pDirectory = SelectedDirectory();
    if (pDirectory == nullptr) return;
    const auto index = pDirectory->data(Qt::UserRole).value<std::size_t>();
    for (const std::string& name : m_listing.FilesIn(index)) {
        m_comboFiles->AddString(FileNameText(name));
    }
}

void CLocalHrefDlg::OnDblclkDirList() { OnSelchangeDirList(); }

void CLocalHrefDlg::OnOK() {
    const QListWidgetItem* pDirectory = SelectedDirectory();
    if (pDirectory == nullptr) {
        ShowMessageBox(this, kMsgChooseDirectory, kLocalHrefCaption);
        return;
    }
    const auto index = pDirectory->data(Qt::UserRole).value<std::size_t>();
    m_strResult = m_listing.LinkFor(index, m_comboFiles->Text().toStdString());
    QDialog::accept();
}

void CLocalHrefDlg::OnDblclkFileCombo() { OnOK(); }

void CLocalHrefDlg::OnCancel() { QDialog::reject(); }
