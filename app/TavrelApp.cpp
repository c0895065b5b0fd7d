#include "app/TavrelApp.h"

#include <iostream>
#include <utility>

#include "app/CommandLine.h"
#include "editor/PageChooser.h"
#include "editor/TavrelDlg.h"
#include "model/Messages.h"
#include "model/ServerRegistry.h"
#include "model/ServerSource.h"
#include "platform/message_box.h"
#include "platform/registry.h"

CTavrelApp::CTavrelApp(std::string commandLine)
    : m_lpCmdLine(nullptr), m_strCommandLine(std::move(commandLine)) {
    m_lpCmdLine = CommandTail(m_strCommandLine.c_str());
}

bool CTavrelApp::InitInstance() {
    TokenizeCommandLine(m_strCommandLine.c_str());
    if (!ParseSwitches(g_nTokens, g_apszTokens)) {
        // No main window exists yet, so the box has no owner.
        ShowMessageBox(nullptr, kMsgNoRemoteRegistry, kFatalErrorCaption, MessageBoxIcon::Stop);
        m_nExitCode = 1;
        return false;
    }
    if (!ConnectServerRegistry()) {
        m_nExitCode = 1;
        return false;
    }

    // Started without a page (from the desktop menu), the wizard asks for
    // one; cancelling that question ends the program.
    std::string pagePath = PagePath();
    if (pagePath.empty()) pagePath = AskForPagePath();
    if (pagePath.empty()) return false;
    // A server configuration's host is the one whose document root holds the page.
    g_serverChoice.page = pagePath;

    CTavrelDlg dlg;
    dlg.m_strPagePath = pagePath;
    dlg.DoModal();
    return false;
}

bool CTavrelApp::ConnectServerRegistry() {
    if (g_pszRemoteMachine == nullptr) {
        g_hkeyServer = HKEY_LOCAL_MACHINE;
        return true;
    }
    const LONG result = RegConnectRegistryA(g_pszRemoteMachine, HKEY_LOCAL_MACHINE, &g_hkeyServer);
    // No box: the reason goes to standard error, where the one who typed -r sees it.
    if (result == ERROR_BADDB) {
        std::cerr << "tavrel-wizard: " << RegGetLastFailure() << '\n';
    } else if (!RegIsMachineName(g_pszRemoteMachine)) {
        std::cerr << "tavrel-wizard: \"" << g_pszRemoteMachine
                  << "\" is no machine name: letters, digits, \".\", \"_\" and \"-\" only.\n";
    } else if (result != ERROR_SUCCESS) {
        std::cerr << "tavrel-wizard: cannot reach the registry of machine \"" << g_pszRemoteMachine
                  << "\": " << RegHiveFile(g_pszRemoteMachine) << " does not exist.\n";
    }
    return result == ERROR_SUCCESS;
}

std::string CTavrelApp::PagePath() const {
    return MakeAbsolutePath(PagePathFromTail(m_lpCmdLine, g_pszRemoteMachine != nullptr));
}
