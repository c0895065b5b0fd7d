// What `tavrel docmap` and `tavrel dirs` say on standard error about the
// settings they read: which hive file, and which of its directories cannot
// be listed and why, so that an empty listing is never left unexplained.
#pragma once

#include <string>
#include <vector>

class DocMapEntry;

// Says which hive file the settings of `machine` ("" for this machine) are
// read from, or that this machine has none yet (an empty map, not an error).
// False, said why, when the settings cannot be read at all: the registry
// folder does not exist, or `machine` has no hive in it.
bool ReportSettingsSource(const std::string& machine);

// Says when the map read from the hive of `machine` is empty, and names each
// mapped directory that does not exist or cannot be read, pointing out the
// rule that puts a value beginning with "/" below ServerRoot.
void ReportMappedDirectories(const std::string& machine, const DocMapEntry& head);

// Names the directories below the mapped ones that could not be entered, and
// so are listed without what lies below them.
void ReportUnreadable(const std::vector<std::string>& paths);
