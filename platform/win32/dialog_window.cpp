#include "platform/win32/dialog_window.h"

#include <vector>

#include "platform/win32/dialog_memory.h"
#include "platform/win32/wide_path.h"

INT_PTR DialogWindow::RunModal(HWND owner, const DialogTemplate& dialogTemplate) {
    const std::vector<DWORD> memory = DialogMemory(dialogTemplate);
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(memory.data()), owner,
        &DialogWindow::Procedure, reinterpret_cast<LPARAM>(this));
    m_window = nullptr;
    return result;
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->m_window = window;
        return dialog->OnInitDialog() ? TRUE : FALSE;
    }
    auto* dialog = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    if (message == WM_COMMAND) {
        dialog->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    if (message == WM_HELP) {
        dialog->OnHelpKey();
        return TRUE;
    }
    return FALSE;
}

void DialogWindow::End(int result) { EndDialog(m_window, result); }

HWND DialogWindow::Item(int id) const { return GetDlgItem(m_window, id); }

std::string DialogWindow::ItemText(int id) const {
    const HWND item = Item(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return ProgramText(text);
}

void DialogWindow::SetItemText(int id, const std::string& text) {
    SetWindowTextW(Item(id), SystemText(text).c_str());
}

void DialogWindow::EnableItem(int id, bool enable) {
    EnableWindow(Item(id), enable ? TRUE : FALSE);
}

void DialogWindow::FocusItem(int id) {
    SendMessageW(m_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

std::wstring SystemText(const std::string& text) {
    std::wstring wide;
    for (const wchar_t unit : Wide(text)) {
        if (unit == L'\n' && (wide.empty() || wide.back() != L'\r')) wide.push_back(L'\r');
        wide.push_back(unit);
    }
    return wide;
}

std::string ProgramText(const std::wstring& text) {
    std::wstring lines;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == L'\r' && at + 1 < text.size() && text[at + 1] == L'\n') continue;
        lines.push_back(text[at]);
    }
    return Utf8(lines);
}
