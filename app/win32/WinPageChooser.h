// The Win32 file dialog that asks for the Tavrel page when the wizard was
// started without one.
#pragma once

#include <string>

// Asks for an HTML page (*.htm, *.html), which need not exist yet, starting
// in the folder the document map gives "/" (else the current one). Returns
// its path (UTF-8), or "" when the user cancelled.
std::string AskForPagePathW32();
