// The editor of the Win32 front end: template 102 as a native dialog, a view
// of the editing core (editcore/PageEditor.h) as the Qt editor is. It shows
// the core's list, forwards New Item, Add, Change, Delete, Build It and
// Cancel, and answers the core's questions in the program's question boxes.
//
// The states are the Qt editor's (editor/TavrelDlg.h): entry state (no row,
// Add on), item state (a row, Delete and Change on), empty state (all three
// off). Typed text is held to 255 characters per field; text read from the
// page is kept whole. Enter in the description is a new line; elsewhere it
// is Build It, the default button.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "editcore/EditorView.h"
#include "editcore/PageEditor.h"
#include "platform/win32/dialog_window.h"

class CTavrelWinDlg : public DialogWindow, private EditorView {
  public:
    explicit CTavrelWinDlg(std::string pagePath);
    ~CTavrelWinDlg() override;

    // Opens the page through the core and runs the dialog. Returns IDOK
    // after Build It wrote the page, IDCANCEL after Cancel, or when the page
    // was refused (the core told why; no dialog is shown).
    int DoModal();

  protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int notification) override;
    // F1 opens the help, as the Help button does.
    void OnHelpKey() override { OnHelp(); }

  private:
    Answer Ask(const Question& question) override;
    void Tell(const std::string& text, const std::string& caption) override;
    void ShowEntries(int row) override;

    void OnSelchangeItemList();
    void OnNewItem();
    void OnAdd();
    void OnChange();
    void OnDelete();
    void OnBuildIt();
    void OnBrowse();
    void OnHelp();
    void OnCancel();

    // Fills the list from the core and shows the entry at `row`, or the
    // first; the placeholders of the entry state when the list is empty.
    void ShowList(int row);
    void ShowItem(int position);
    void ShowPlaceholders();
    void ProposeDate();
    // The four fields as typed.
    EntryText Fields() const;
    // True when a field differs from what the dialog last showed or stored.
    bool FieldsEdited() const;
    // Puts `text` into field `id` and remembers it as shown.
    void SetField(int id, const std::string& text);
    void MarkFieldsShown();
    void EnableButtons(bool add, bool del, bool change);

    int GetCurSel() const;
    // Selects `row` (-1: none); false when the list has no such row.
    bool SetCurSel(int row);
    void InsertRow(int row, const std::string& title);
    void DeleteRow(int row);

    std::string m_strPagePath;
    std::unique_ptr<PageEditor> m_editor;
    std::map<int, std::string> m_shownFields;
};
