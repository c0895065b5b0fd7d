// The link chooser of the Win32 front end: template 130 as a native dialog,
// a view of the listing (linkchooser/LinkListing.h) as the Qt chooser is.
// The directory list and the file list are the template's sorted lists;
// selecting (or double-clicking) a directory lists its files, OK (or a
// double click on a file) composes the hyperlink.
#pragma once

#include <string>

#include "linkchooser/LinkListing.h"
#include "platform/win32/dialog_window.h"

class CLocalHrefWinDlg : public DialogWindow {
  public:
    // Loads the listing and runs the dialog over `owner`. Returns IDOK after
    // OK, IDCANCEL after Cancel, Escape or the close box; when the document
    // map cannot be read, a message box over `owner` says why and IDCANCEL is
    // returned without showing the dialog.
    int DoModal(HWND owner);

    // The composed hyperlink (UTF-8), set by OK.
    std::string m_strResult;

  protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int notification) override;

  private:
    void OnSelchangeDirList();
    // With no directory selected a message says so and the dialog stays open.
    void OnOK();
    // The listing index of the selected directory, or -1.
    int SelectedDirectory() const;

    LinkListing m_listing;
};
