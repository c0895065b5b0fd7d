// The web server's document map, read from the registry.
//
// The server keeps its root directory in the value "ServerRoot" of
// SOFTWARE\Ostrim\WebServer\CurrentVersion and its document map in the subkey
// DocMap: each value maps one URL prefix (the value's name) to one directory
// (its data). ReadDocMap reads both through g_hkeyServer and builds the map as
// a singly linked list of DocMapEntry records in registry enumeration order,
// each carrying its directory resolved to a full path. Nothing is written.
// Values and keys that cannot be read give a shorter or an empty list; only a
// registry that cannot be read at all (a damaged hive file) is reported.
//
// When this run reads the web server's own configuration instead
// (model/ServerSource.h), the list holds the chosen host's mapped folders,
// the document root first, each with the file and line it was read from.
//
// Values are enumerated with rooms of 260 characters for the name and 260
// bytes for the data; the first value that does not fit ends the list, as any
// failed enumeration does. The server root is read whatever its length, and a
// resolved directory is kept whole however long its joined parts make it.
#pragma once

#include <memory>
#include <string>

#include "platform/registry.h"

class DocMapEntry {
  public:
    // A record with all four fields null: an empty map until ReadDocMap runs.
    DocMapEntry();
    // Releases this record's texts and every record behind it.
    ~DocMapEntry();
    DocMapEntry(const DocMapEntry&) = delete;
    DocMapEntry& operator=(const DocMapEntry&) = delete;

    // The next mapping, or null at the end of the list.
    DocMapEntry* GetNext() const { return m_pNext.get(); }

    // Called on the first record of a list: fills it from the first value of
    // the DocMap key and links one more record per further value, in
    // enumeration order. Whatever the record held before is dropped. A null
    // m_pszResolvedDir in this record afterwards means the map is empty.
    // g_hkeyServer must have been set. Returns ERROR_SUCCESS, also for a
    // missing key or an empty map, or ERROR_BADDB with the list empty when
    // the registry behind g_hkeyServer is damaged or the server
    // configuration cannot be read (DocMapFailure says why).
    LONG ReadDocMap();

    // The URL prefix: the value's name (at most 259 characters).
    std::unique_ptr<char[]> m_pszUrlPrefix;
    // The directory as stored: the value's data up to its first NUL.
    std::unique_ptr<char[]> m_pszStoredDir;
    std::unique_ptr<DocMapEntry> m_pNext;
    // The directory resolved against the server root and the root mapping.
    std::unique_ptr<char[]> m_pszResolvedDir;
    // How the row was made: "FILE:LINE DIRECTIVE" from a configuration,
    // "hive value DocMap" from the registry.
    std::string m_strDerivation;
};

// Why the last ReadDocMap of this thread that returned ERROR_BADDB failed:
// the damaged hive's or the configuration's "FILE:LINE: reason".
std::string DocMapFailure();
