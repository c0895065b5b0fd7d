// The wizard's command line.
//
// The wizard sees its command line as one text, the way its start-up has
// always read it: the program name and each argument joined by single blanks,
// an argument holding a blank wrapped in double quotes. From that text come
// the command tail (everything after the program name), the tokens (pieces
// separated by blanks only, quotes meaning nothing), the remote-machine switch
// ("-r" or "/r", then the machine name) and the page path the editor opens.
//
// The state below lives for the whole process and starts empty. Tokens point
// into g_szCommandLine, whose separating blanks are overwritten with NULs.
#pragma once

#include <string>

inline constexpr int kCommandLineSize = 512;  // at most 511 characters and the NUL
inline constexpr int kMaxTokens = 32;
inline constexpr int kTokenCopySize = 256;  // at most 255 characters and the NUL

extern char g_szCommandLine[kCommandLineSize];
extern char* g_apszTokens[kMaxTokens];
extern int g_nTokens;
extern char g_szRemoteMachine[kTokenCopySize];
extern char* g_pszRemoteMachine;  // g_szRemoteMachine once a machine name was taken, else null
extern char g_szPathToken[kTokenCopySize];
extern char* g_pszPathToken;  // g_szPathToken once a plain token was seen, else null

// The process command line for `argc` and `argv` as main() receives them:
// argv[0] and each argument joined by single blanks; an argument holding a
// blank is wrapped in double quotes, anything else is taken verbatim.
std::string BuildProcessCommandLine(int argc, const char* const* argv);

// The command tail of `pszCommandLine`, pointing into it: the program name is
// cut off (a name opening with a double quote runs to the next double quote,
// or to the end; otherwise it is the run of characters above the blank), then
// every following character from 0x01 to 0x20 is skipped. The rest is
// returned verbatim.
const char* CommandTail(const char* pszCommandLine);

// Cuts the first 511 characters of `pszCommandLine` into at most 32 tokens:
// fills g_szCommandLine, g_apszTokens and g_nTokens. Only the blank (0x20)
// separates tokens; a run of blanks counts as one separator, a leading blank
// gives an empty token 0 and trailing blanks give no token.
void TokenizeCommandLine(const char* pszCommandLine);

// Looks at tokens 1 to nTokens - 1 of `apszTokens` (token 0, the program
// name, never). A token opening with "-r" or "/r" (letter case significant)
// is the switch and the token after it the machine name, copied into
// g_szRemoteMachine (cut to 255 characters) with g_pszRemoteMachine set; any
// other token is copied likewise into g_szPathToken with g_pszPathToken set.
// Later ones replace earlier ones. Returns false, leaving the process to the
// caller, when a switch is the last token and so has no machine name.
bool ParseSwitches(int nTokens, char* const* apszTokens);

// The page path the editor opens, given the command tail and whether a
// machine name was taken. Without a switch it is the tail; with one it is the
// last argument of the tail that is neither a switch nor a switch's value
// (arguments split at blanks outside double quotes), so that the switch
// never becomes part of a file name. One pair of double quotes enclosing the
// result is removed.
std::string PagePathFromTail(const char* pszTail, bool bRemoteSwitch);

// `path` made absolute against the current directory, so that a later change
// of the current directory cannot send the page elsewhere. An empty or
// already absolute path (on Windows also one with a drive, "C:\x", or opening
// with a backslash) is returned unchanged, and so is any path while the
// current directory cannot be found (it was removed).
std::string MakeAbsolutePath(const std::string& path);
