#include "app/CommandLine.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/file_system.h"

char g_szCommandLine[kCommandLineSize];
char* g_apszTokens[kMaxTokens];
int g_nTokens;
char g_szRemoteMachine[kTokenCopySize];
char* g_pszRemoteMachine;
char g_szPathToken[kTokenCopySize];
char* g_pszPathToken;

namespace {

bool IsSwitch(const char* psz) { return (psz[0] == '-' || psz[0] == '/') && psz[1] == 'r'; }

// Copies `pszSource` into a 256-byte room, cutting what does not fit.
void CopyToken(char (&szTarget)[kTokenCopySize], const char* pszSource) {
    std::strncpy(szTarget, pszSource, kTokenCopySize - 1);
    szTarget[kTokenCopySize - 1] = '\0';
}

// The tail's arguments as BuildProcessCommandLine joined them: split at
// blanks outside double quotes, the quotes kept in the text.
std::vector<std::string> SplitArguments(const char* pszTail) {
    std::vector<std::string> arguments;
    const char* p = pszTail;
    while (*p != '\0') {
        while (*p == ' ') ++p;
        if (*p == '\0') break;
        std::string argument;
        bool bQuoted = false;
        for (; *p != '\0' && (bQuoted || *p != ' '); ++p) {
            if (*p == '"') bQuoted = !bQuoted;
            argument += *p;
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string WithoutEnclosingQuotes(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

}  // namespace

std::string BuildProcessCommandLine(int argc, const char* const* argv) {
    std::string line;
    for (int i = 0; i < argc; ++i) {
        if (i > 0) line += ' ';
        const bool bHasBlank = std::strchr(argv[i], ' ') != nullptr;
        if (bHasBlank) line += '"';
        line += argv[i];
        if (bHasBlank) line += '"';
    }
    return line;
}

const char* CommandTail(const char* pszCommandLine) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(pszCommandLine);
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p > ' ') ++p;
    }
    while (*p != '\0' && *p <= ' ') ++p;
    return reinterpret_cast<const char*>(p);
}

void TokenizeCommandLine(const char* pszCommandLine) {
    const std::size_t nLength =
        std::min<std::size_t>(std::strlen(pszCommandLine), kCommandLineSize - 1);
    std::memcpy(g_szCommandLine, pszCommandLine, nLength);
    g_szCommandLine[nLength] = '\0';

    g_nTokens = 0;
    char* p = g_szCommandLine;
    while (*p != '\0') {
        g_apszTokens[g_nTokens] = p;
        char* pBlank = std::strchr(p, ' ');
        if (pBlank != nullptr) {
            *pBlank = '\0';
            p = pBlank + 1;
            while (*p == ' ') ++p;
        } else {
            p += std::strlen(p);
        }
        if (++g_nTokens == kMaxTokens) break;
    }
}

bool ParseSwitches(int nTokens, char* const* apszTokens) {
    g_pszRemoteMachine = nullptr;
    g_pszPathToken = nullptr;
    for (int i = 1; i < nTokens; ++i) {
        if (IsSwitch(apszTokens[i])) {
            if (i + 1 >= nTokens) return false;
            CopyToken(g_szRemoteMachine, apszTokens[++i]);
            g_pszRemoteMachine = g_szRemoteMachine;
        } else {
            CopyToken(g_szPathToken, apszTokens[i]);
            g_pszPathToken = g_szPathToken;
        }
    }
    return true;
}

std::string PagePathFromTail(const char* pszTail, bool bRemoteSwitch) {
    if (!bRemoteSwitch) return WithoutEnclosingQuotes(pszTail);
    const std::vector<std::string> arguments = SplitArguments(pszTail);
    std::string lastPlain;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (IsSwitch(arguments[i].c_str())) {
            ++i;  // the machine name
        } else {
            lastPlain = arguments[i];
        }
    }
    return WithoutEnclosingQuotes(lastPlain);
}

std::string MakeAbsolutePath(const std::string& path) {
    if (path.empty() || IsAbsolutePathText(path)) return path;
    std::string absolute = CurrentDirectoryPath();
    if (absolute.empty()) return path;
    if (absolute.back() != '/') absolute += '/';
    return absolute + path;
}
