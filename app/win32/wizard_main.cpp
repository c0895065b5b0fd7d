// tavrel-wizard.exe: the wizard as a native Windows program. Start-up follows
// the rules of the Linux wizard: the command line is cut into tokens, "-r" or
// "/r" names the machine whose registry holds the document map (a switch
// without its machine is the "Fatal Error" box and exit code 1), and without
// a page on the command line a file dialog asks for one. "--version" alone
// prints the version.

// <windows.h> first: the header after it needs its types.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <string>

#include "app/CommandLine.h"
#include "app/win32/WinPageChooser.h"
#include "editor/win32/TavrelWinDlg.h"
#include "model/Messages.h"
#include "model/ServerRegistry.h"
#include "model/ServerSource.h"
#include "platform/registry.h"
#include "platform/win32/choice_box.h"
#include "platform/win32/wide_path.h"

namespace {

bool ConnectServerRegistry() {
    if (g_pszRemoteMachine == nullptr) {
        g_hkeyServer = HKEY_LOCAL_MACHINE;
        return true;
    }
    return RegConnectRegistryA(g_pszRemoteMachine, HKEY_LOCAL_MACHINE, &g_hkeyServer) ==
           ERROR_SUCCESS;
}

// "--version" alone prints the version to the caller's output, as the Linux
// wizard does, and shows no window.
bool PrintedVersion(const char* tail) {
    if (std::string(tail) != "--version") return false;
    const std::string text = std::string("tavrel-wizard ") + TAVREL_VERSION + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*tail*/, int /*show*/) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const std::string commandLine = Utf8(GetCommandLineW());
    if (PrintedVersion(CommandTail(commandLine.c_str()))) return 0;
    TokenizeCommandLine(commandLine.c_str());
    if (!ParseSwitches(g_nTokens, g_apszTokens)) {
        ShowMessageBoxW32(nullptr, kMsgNoRemoteRegistry, kFatalErrorCaption, true);
        return 1;
    }
    if (!ConnectServerRegistry()) return 1;

    std::string pagePath = MakeAbsolutePath(
        PagePathFromTail(CommandTail(commandLine.c_str()), g_pszRemoteMachine != nullptr));
    if (pagePath.empty()) pagePath = AskForPagePathW32();
    if (pagePath.empty()) return 0;
    g_serverChoice.page = pagePath;
    CTavrelWinDlg(pagePath).DoModal();
    return 0;
}
