// The file dialog that asks for the Tavrel page when the wizard was started
// without one (from the desktop menu, say).
#pragma once

#include <string>

// The folder the dialog starts in: the directory the server's document map
// gives the URL path "/", or the current directory when the map has none or
// cannot be read.
std::string PageChooserStartFolder();

// Asks for an HTML page (*.htm, *.html) with a modal file dialog that
// starts in PageChooserStartFolder(). The page need not exist
// yet. Returns its absolute path, or "" when the user cancelled.
std::string AskForPagePath();
