// A modal dialog of the Win32 front end: built from a dialog template
// (platform/dialog_template.h) through DialogBoxIndirectParamW, its messages
// handed to the derived class, its items read and written as UTF-8. Texts
// cross in the program's form: a line break is "\n" to the program and
// "\r\n" to the system's edit controls.
#pragma once

#include <windows.h>

#include <string>

#include "platform/dialog_template.h"

class DialogWindow {
  public:
    DialogWindow() = default;
    virtual ~DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Runs `dialogTemplate` modally over `owner` (may be null) and returns
    // the result End was given; -1 when the system could not make the dialog.
    // Icons named by the template come from the program's own resources.
    INT_PTR RunModal(HWND owner, const DialogTemplate& dialogTemplate);

    // The dialog's window while it runs, else null.
    HWND Handle() const { return m_window; }

  protected:
    // The dialog and its items exist and are not yet shown. True: the
    // system puts the focus on the first control that takes it; false: the
    // handler placed the focus itself.
    virtual bool OnInitDialog() = 0;
    // A command from item `id` (a button, or a list's or edit's
    // notification `notification`). Escape and the close box come as IDCANCEL.
    virtual void OnCommand(int id, int notification) = 0;

    // F1 was pressed in the dialog; nothing happens unless a dialog has help.
    virtual void OnHelpKey() {}

    // Ends the dialog; RunModal returns `result`.
    void End(int result);
    HWND Item(int id) const;
    // The whole text of item `id`, line breaks as "\n".
    std::string ItemText(int id) const;
    // Puts `text` into item `id`, "\n" shown as a line break.
    void SetItemText(int id, const std::string& text);
    void EnableItem(int id, bool enable);
    void FocusItem(int id);

  private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
};

// `text` (UTF-8) as the system shows it: UTF-16, "\n" as "\r\n".
std::wstring SystemText(const std::string& text);

// `text` from the system as the program keeps it: UTF-8, "\r\n" as "\n".
std::string ProgramText(const std::wstring& text);
