// The link chooser: the modal dialog "Choose Local HREF" that composes a
// hyperlink to a file of the web server's own document tree. It is a view of
// the listing (linkchooser/LinkListing.h): when it opens it lists every
// directory under its URL path; selecting a directory lists the files in it;
// OK returns the hyperlink the listing composes. Both lists are sorted lists
// of the dialog template, which keep their rows in order without regard to
// letter case.
//
// The directory list's horizontal extent follows its widest item by itself
// (the list has no horizontal scroll bar), so nothing here measures it.
#pragma once

#include <QDialog>
#include <QRect>
#include <string>
#include <vector>

#include "linkchooser/LinkListing.h"

class ListBox;
class QListWidgetItem;
class SimpleComboBox;

class CLocalHrefDlg : public QDialog {
    Q_OBJECT
  public:
    // Builds the dialog on template 130, empty; `pParent` (may be null) owns
    // it while it runs.
    explicit CLocalHrefDlg(QWidget* pParent);

    // Fills the directory list (OnInitDialog) and runs the dialog modally.
    // Returns IDOK after OK or a double click in the file list, IDCANCEL
    // after Cancel, Esc or the close box. When the server's registry cannot
    // be read, a message box over the parent says why, and IDCANCEL is
    // returned without showing the dialog.
    int DoModal();

    // Where the dialog must not cover, in global coordinates (the field that
    // receives the hyperlink); set before DoModal. Empty: centred on screen.
    QRect m_keepClear;

    // The composed hyperlink (UTF-8); set by OK, empty before. Read it after
    // DoModal returned IDOK.
    std::string m_strResult;

    // Esc and the close box cancel, as the Cancel button does.
    void reject() override;

  private:
    // Loads the listing under a wait cursor and lists its directories.
    // Nothing is selected and the file list is empty afterwards. False, with
    // the reason shown, when the document map cannot be read.
    bool OnInitDialog();
    // Puts the listing's directories into the list, which keeps them sorted.
    void FillDirectoryList();

    // The user selected a directory: the file list shows its files.
    void OnSelchangeDirList();
    // A double click on a directory does what selecting it does.
    void OnDblclkDirList();
    // OK: composes the hyperlink from the selected directory's URL path and
    // the file field, and ends the dialog. With no directory selected there
    // is nothing to compose from: a message says so and the dialog stays open.
    void OnOK();
    // A double click on a file name does what OK does.
    void OnDblclkFileCombo();
    // Cancel: ends the dialog without a result.
    void OnCancel();

    // The selected directory's item, or null.
    QListWidgetItem* SelectedDirectory() const;

    SimpleComboBox* m_comboFiles;
    ListBox* m_listDirs;
    LinkListing m_listing;
};
