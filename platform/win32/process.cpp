#include "platform/process.h"

#include <windows.h>
// after <windows.h>, which it needs
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "platform/win32/wide_path.h"

void PrepareProcess(int* argc, char*** argv) {
    SetConsoleOutputCP(CP_UTF8);
    // The output is the same bytes as on other systems: lines end in LF,
    // which consoles and JSON readers take as they are.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return;
    // Kept for the life of the process, as main's own arguments are.
    static std::vector<std::string> arguments;
    static std::vector<char*> pointers;
    for (int i = 0; i < count; ++i) arguments.push_back(Utf8(wide[i]));
    LocalFree(wide);
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    *argc = count;
    *argv = pointers.data();
}

std::string HostName() {
    wchar_t name[256];
    DWORD length = 256;
    if (!GetComputerNameExW(ComputerNameDnsHostname, name, &length) || length == 0) {
        return "localhost";
    }
    return Utf8(std::wstring_view(name, length));
}
