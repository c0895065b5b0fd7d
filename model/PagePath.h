// Tests on the page path shared by the wizard and the tavrel command.
#pragma once

#include <string>

// True when `path` names an HTML document: the text from its last "." on
// begins, letter case ignored, with ".htm" (so ".html", ".HTM" and ".htmx"
// pass too). An empty path, or one without ".", is not HTML.
bool IsHtmlPath(const std::string& path);
