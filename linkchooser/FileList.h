// The file list of the link chooser: the names a hyperlink can point at in
// one directory of the document tree.
#pragma once

#include <string>
#include <vector>

// Replaces `names` with the names in `directory` that do not begin with '.'
// and are not directories (symbolic links followed; a name that cannot be
// examined, such as a dangling link, counts as a file), in the order the
// system lists them. Backslashes in `directory` are separators. False, with
// `names` empty, when the directory cannot be opened.
bool ListFileNames(const std::string& directory, std::vector<std::string>* names);
