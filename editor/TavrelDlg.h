// The editor dialog: the wizard's only main window.
//
// It opens the page named by m_strPagePath: a page that does not exist yet
// starts with an empty list and placeholder fields; an existing page is read
// through its page session and its entries fill the list box. The user edits the item list
// through the four fields and New Item, Add, Change and Delete; Build It
// writes the page, fresh or updated, and ends the dialog; Cancel, Esc and the
// close box end it without writing anything.
//
// Typed work is never dropped unasked: Build It with fields edited since they
// were last shown or stored asks whether to Add (or Change) them first, and
// Cancel with such fields or with list edits not yet written asks before
// discarding them. A failed write leaves the dialog open with everything in
// it. The fields hold what the user types to 255 characters, refusing more
// as it is typed, so nothing shown is dropped; text read from the page is
// kept whole. The window title names the page.
//
// The page is read and written through a page session (page/PageSession.h).
// The dialog holds the page's lock only to read it and at Build It, never
// while the user edits. At Build It a page that another program changed
// since it was read is not overwritten unasked: the user chooses to apply
// this session's edits to the page as it is now, to overwrite it, or to go
// back to the editor. A page whose list holds content the entries cannot
// keep is named as such when it opens, and Build It asks before dropping it.
//
// Row i of the list box always shows the item at position i of the item list.
// While editing, the dialog is in one of three states:
//   entry state -- no row selected; Add on, Delete and Change off;
//   item state  -- a row selected; Add off, Delete and Change on;
//   empty state -- no row, empty fields, all three off (after deleting the
//                  last entry; New Item leads back to the entry state).
// New Item, Browse, Build It, Cancel and Help are never disabled.
#pragma once

#include <QDialog>
#include <QIcon>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/EditJournal.h"

class GrowingLayout;
class QLineEdit;
class QListWidget;
class PageSession;
struct SessionFailure;

// Whether the page file was missing when the dialog opened (1) or existed (0).
// Fixed by OnInitDialog; Build It writes a fresh page when set and updates the
// page through its tree otherwise.
extern int g_bNewPage;

class CTavrelDlg : public QDialog {
    Q_OBJECT
  public:
    // Builds the window from dialog template 102, without a parent.
    CTavrelDlg();
    ~CTavrelDlg() override;

    // Runs the dialog modally: OnInitDialog, then, unless that already ended
    // the dialog, the user's editing. Returns IDOK after Build It and IDCANCEL
    // after Cancel (or when the page was refused at the start).
    int DoModal();

    // Opens m_strPagePath as DoModal does before the dialog shows: refuses a
    // path that is not HTML, prepares a new page, or reads the existing one
    // into the list. A refused path or an unreadable page ends the dialog at
    // once (ModalResult IDCANCEL) with nothing written. Returns true.
    bool OnInitDialog();

    // 0 while the dialog runs; IDOK or IDCANCEL once it ended.
    int ModalResult() const { return m_nModalResult; }

    // Path of the page file (UTF-8), set before the dialog runs; never changed here.
    std::string m_strPagePath;

  public slots:
    // The Browse button: lets the user pick a file of the server's document
    // tree and puts its hyperlink into the hyperlink field.
    void OnBrowse();

  protected:
    // Esc and the close box end the dialog as Cancel does.
    void reject() override;
    // Places the controls for the new size (see editor/GrowingLayout.h).
    void resizeEvent(QResizeEvent* event) override;

  private slots:
    void OnSelchangeItemList();
    void OnNewItem();
    void OnAdd();
    void OnChange();
    void OnDelete();
    void OnBuildIt();
    void OnHelpButton();

  private:
    void ConnectSignals();
    void MakeResizable();
    void OnCancel();
    // Names the page in the window title: "news.html (new page) — Tavrel Wizard".
    void ShowPageInTitle();
    // Says, when the page opens, why Build It will not be able to write it.
    void WarnIfUnwritable();
    // Build It's question about fields typed but never Added or Changed;
    // false when the user went back to the dialog (or the Add was refused).
    bool TakeTypedEntry();
    // Cancel's question when edits would be lost; true to discard them.
    bool ConfirmDiscard();
    // True when a field differs from what the dialog last showed or stored.
    bool FieldsEdited() const;
    // Adds the fields as a new entry on top; false (with the message shown)
    // when the hyperlink is missing.
    bool AddFields();

    void EndDialog(int result);

    // Reads the page file into the item list and the list box, and tells of
    // content the list cannot keep; false when the page could not be read,
    // with the message shown and the list left empty.
    bool ReadPageFile();
    // Fills the list box from the item list and shows the first entry, or the
    // placeholders of the entry state when the list is empty.
    void ShowList();
    // Build It's steps: true when the page may be written now (the lock is
    // then held and the list is what is to be written).
    bool ConfirmDrops();
    bool LockForWriting();
    bool ApplyMyChanges();
    void ShowFailure(const SessionFailure& failure);
    // Copies the four fields into the string members, or the members into
    // the fields when `save` is false.
    void UpdateData(bool save);
    // The whole text of field `id`.
    std::string ReadField(int id) const;
    // Puts `text` into field `id` and remembers it as shown (not an edit).
    void SetField(int id, const std::string& text);
    // Remembers every field's text as shown, after Add or Change stored it.
    void MarkFieldsShown();
    void ShowPlaceholders();
    void ProposeDate();
    void ShowItem(int position);
    void EnableButtons(bool add, bool del, bool change);
    void EnableButton(int id, bool enable);
    // Shows a message box; the focus goes back where it was afterwards.
    void ShowMessage(const std::string& text, const std::string& caption);

    // The selected row, or -1 when none is.
    int GetCurSel() const;
    // Selects `row` (-1: none) without notifying OnSelchangeItemList; false
    // when the list box has no such row (the selection is then removed).
    bool SetCurSel(int row);
    void InsertRow(int row, const std::string& title);
    void DeleteRow(int row);

    QLineEdit* m_editHyperlink;
    QListWidget* m_listItems;
    std::string m_strDate;
    std::string m_strTitle;
    std::string m_strDescription;
    std::string m_strHyperlink;
    QIcon m_hIcon;
    int m_nModalResult = 0;
    // The text each field held when the dialog last filled it or stored it.
    std::map<int, std::string> m_shownFields;
    // Set by Add, Change and Delete: the list holds edits not yet written.
    bool m_bListEdited = false;
    std::unique_ptr<PageSession> m_session;
    std::unique_ptr<GrowingLayout> m_layout;
    EditJournal m_journal;
};
