// tavrel-wizard: opens the Tavrel page editor on the page named on the
// command line. "--help" and "--version" answer without a display; every
// other command line belongs to the wizard's own start-up.
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/CommandLine.h"
#include "app/TavrelApp.h"

namespace {

constexpr const char kUsage[] =
    "Usage: tavrel-wizard [-r MACHINE] PAGE.htm\n"
    "\n"
    "Opens the Tavrel page PAGE.htm (created on Build It when it does not exist)\n"
    "in the Tavrel Wizard dialog.\n"
    "\n"
    "  -r MACHINE  read the web server's document map, for Browse, from the\n"
    "              registry of MACHINE (MACHINE.reg in the registry folder)\n"
    "              instead of this machine's (local.reg)\n"
    "  --help      show this text\n"
    "  --version   show the version\n"
    "\n"
    "The registry folder is $TAVREL_REGISTRY_DIR, or /etc/tavrel-wizard/registry.\n"
    "Without a display, use `tavrel` to edit pages from scripts.\n";

bool IsOnly(int argc, char** argv, const char* option) {
    return argc == 2 && std::strcmp(argv[1], option) == 0;
}

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// True when the toolkit has somewhere to show windows; without one it would
// abort the process while starting.
bool HasDisplay() {
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

// A session without XDG_RUNTIME_DIR (su, ssh, a container) gets the private
// folder the toolkit would fall back to, made here, so that it has nothing
// to warn about. One that exists but is not this user's alone is left to the
// toolkit's own warning.
void ProvideRuntimeFolder() {
    if (IsSet("XDG_RUNTIME_DIR")) return;
    const char* tmp = std::getenv("TMPDIR");
    const std::string folder = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                               "/runtime-" + (IsSet("USER") ? std::getenv("USER") : "tavrel");
    mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
        (info.st_mode & 07777) == 0700) {
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // A write past a file-size limit must fail with EFBIG and be reported,
    // not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    if (IsOnly(argc, argv, "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (IsOnly(argc, argv, "--version")) {
        std::printf("tavrel-wizard %s\n", TAVREL_VERSION);
        return 0;
    }
    if (!HasDisplay()) {
        std::fputs(
            "tavrel-wizard: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset); "
            "`tavrel` edits pages headless\n",
            stderr);
        return 1;
    }

    ProvideRuntimeFolder();
    CTavrelApp theApp(BuildProcessCommandLine(argc, argv));
    // The toolkit sees the program name only, so that no page path or switch
    // is taken for one of its own options.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName("tavrel-wizard");
    QApplication::setApplicationVersion(TAVREL_VERSION);
    theApp.InitInstance();
    return theApp.ExitCode();
}
