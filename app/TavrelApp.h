// The application object: start-up of the wizard.
//
// CTavrelApp runs the program once: it cuts the process command line into
// tokens, takes the remote-machine switch, fixes the registry root
// g_hkeyServer that the document map is read from, and runs the editor dialog
// modally on the page named on the command line, or, without one, on the page
// the user picks in a file dialog. One run edits one page.
#pragma once

#include <string>

class CTavrelApp {
  public:
    // `commandLine` is the process command line (BuildProcessCommandLine);
    // the command tail m_lpCmdLine is cut from it here, as the process's
    // start-up code does before the application runs.
    explicit CTavrelApp(std::string commandLine);
    CTavrelApp(const CTavrelApp&) = delete;
    CTavrelApp& operator=(const CTavrelApp&) = delete;

    // Runs the whole program and returns false: there is no message loop to
    // enter afterwards. A switch without its machine name ("Fatal Error" box,
    // no owner) and an unreachable remote registry (no message) end the run
    // before any dialog, with ExitCode() 1. Without a page on the command
    // line a file dialog asks for one; Cancel there ends the run (exit code
    // 0) with no editor shown. Needs a QApplication.
    bool InitInstance();

    // The process's exit code after InitInstance: 0, or 1 after an early end.
    int ExitCode() const { return m_nExitCode; }

    // Everything after the program name, verbatim; points into the command line.
    const char* m_lpCmdLine;

  private:
    // Connects g_hkeyServer to the -r machine's registry, or to this
    // machine's when no machine was named. False when the machine is
    // unreachable; when its hive is damaged, the reason goes to standard error.
    static bool ConnectServerRegistry();
    // The page path for the editor: the command tail, or the last plain
    // argument when a machine was named, unquoted and made absolute.
    std::string PagePath() const;

    std::string m_strCommandLine;
    int m_nExitCode = 0;
};
