// The editor dialog: the wizard's only main window.
//
// It opens the page named by m_strPagePath: a page that does not exist yet
// starts with an empty list and placeholder fields; an existing page's entries
// fill the list box. The user edits the list through the four fields and New
// Item, Add, Change and Delete; Build It
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
// The dialog is a view of the editing core (editcore/PageEditor.h), which
// opens, edits and writes the page and asks its questions through the
// dialog's message boxes: the dialog shows the core's list, forwards the
// buttons and answers.
//
// Row i of the list box always shows the entry at position i of the core's list.
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

#include "editcore/EditorView.h"
#include "editcore/PageEditor.h"

class GrowingLayout;
class QLineEdit;
class QListWidget;

class CTavrelDlg : public QDialog, private EditorView {
    Q_OBJECT
  public:
    // Builds the window from dialog template 102, without a parent.
    CTavrelDlg();
    ~CTavrelDlg() override;

    // Runs the dialog modally: OnInitDialog, then, unless that already ended
    // the dialog, the user's editing. Returns IDOK after Build It and IDCANCEL
    // after Cancel (or when the page was refused at the start).
    int DoModal();

    // Opens m_strPagePath as DoModal does before the dialog shows, through the
    // editing core. A refused path or an unreadable page ends the dialog at
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
    // The core's questions and messages, as message boxes over the dialog,
    // and its list, in the list box.
    Answer Ask(const Question& question) override;
    void Tell(const std::string& text, const std::string& caption) override;
    void ShowEntries(int row) override;
    // True when a field differs from what the dialog last showed or stored.
    bool FieldsEdited() const;
    // The four fields as typed.
    EntryText Fields() const;
    // Adds the fields as a new entry on top; false when the core refused.
    bool AddFields();

    void EndDialog(int result);

    // Fills the list box from the core's list and shows the entry at `row`,
    // or, for -1 or a row the list lacks, the first entry; the placeholders
    // of the entry state when the list is empty.
    void ShowList(int row = 0);
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
    std::unique_ptr<PageEditor> m_editor;
    std::unique_ptr<GrowingLayout> m_layout;
};
