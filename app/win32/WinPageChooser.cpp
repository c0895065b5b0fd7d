#include "app/win32/WinPageChooser.h"

// <windows.h> first: the header after it needs its types.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include "linkchooser/FileUrl.h"
#include "model/Messages.h"
#include "platform/win32/wide_path.h"

std::string AskForPagePathW32() {
    std::wstring file(32768, L'\0');
    const std::wstring caption = Wide(kAppCaption);
    const std::wstring folder = Wide(DocumentRootFolder().value_or(""));
    static constexpr wchar_t kFilter[] = L"HTML pages (*.htm, *.html)\0*.htm;*.html\0";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.lpstrFilter = kFilter;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = caption.c_str();
    dialog.lpstrDefExt = L"html";
    // A page that does not exist yet may be named too: Build It creates it.
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&dialog) == FALSE) return {};
    return Utf8(file.c_str());
}
