// The URL the link chooser composes for a file of the document tree.
#pragma once

#include <optional>
#include <string>

class DocMapEntry;

// The hyperlink the chooser puts in the field for the file `name` of the
// directory listed as `directoryUrl`: the two joined by one slash.
std::string ChooserLink(const std::string& directoryUrl, const std::string& name);

// The hyperlink the chooser composes for the file at `path` (made absolute
// against the current directory): under the mapped directory of `head`
// that holds the file's folder most closely, as the walk lists that folder.
// Paths are compared as written first, then with their links resolved.
// Nothing when no mapped directory holds it, or when it lies in a folder the
// walk leaves out (a name starting with '.').
std::optional<std::string> ChooserUrlOfFile(const DocMapEntry& head, const std::string& path);

// The directory that the URL path `urlPath` lies in through the map at
// `head`: the directory of the longest URL prefix that holds it, with the
// rest of the path below it, in the system's form. Nothing when no prefix
// holds it.
std::optional<std::string> FolderOfUrl(const DocMapEntry& head, const std::string& urlPath);

// The folder the server's document root "/" maps to, read from the
// document map of this run; nothing when the map cannot be read or has no
// such entry.
std::optional<std::string> DocumentRootFolder();
