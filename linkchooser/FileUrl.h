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
