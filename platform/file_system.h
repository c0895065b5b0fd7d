// Reading directories, with paths as the server's settings write them.
//
// Paths that come from the registry may use '\' or '/' as separator, as the
// file API of the server's platform accepts both; this layer turns every '\'
// into '/' before a path reaches the system. On POSIX systems directories are
// read through open handles and children are opened relative to their
// parent's handle, so a walk needs no path buffers, is bound by no path
// length limit below its first directory, and neither uses nor changes the
// current directory. On Windows every path reaches the wide calls in its
// long form ("\?\C:\..."), which no length limit binds either; a junction
// or a symbolic link is a link, as a symbolic link is elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The identity of a file: the same device and inode (on Windows: volume
// serial number and file index) is the same file, by whatever path or link
// it was reached.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

struct FileIdHash {
    std::size_t operator()(const FileId& id) const {
        return std::hash<std::uint64_t>()(id.inode) ^ (std::hash<std::uint64_t>()(id.device) << 1);
    }
};

// `path` in the system's form: every backslash becomes a slash.
std::string SystemPath(std::string_view path);

// `path` in the system's form with runs of separators reduced to one and no
// trailing separator (except for the root itself), as the system reads it.
// Relative paths stay relative; links and ".." stay as written.
std::string TidySystemPath(std::string_view path);

// Follows symbolic links from `path` to the file they finally name, which
// need not exist yet: a dangling link gives its target. False (errno ELOOP)
// when the links never end.
bool ResolveLinks(std::string* path);

// The folder of the file at `path` (a slash-separated path; on Windows
// either separator): "." for a bare name, "/" for a file in the root (on
// Windows also "C:/" and "//host/share/").
std::string FolderOf(const std::string& path);

// The name of the file at `path`: what follows its last slash (on Windows
// its last separator).
std::string NameOf(const std::string& path);

// `path` in the system's form, made absolute when relative and the current
// directory (read, never changed) can be named, with runs of slashes reduced
// to one; on Windows "/x" is taken on the current drive and "C:x" at the root
// of drive C. Nothing else is resolved: links and ".." stay as written.
std::string AbsoluteSystemPath(std::string_view path);

// Whether `path` names its place without the current directory: it starts
// at the root, or, on Windows, with a drive ("C:\x", "C:/x") or a backslash.
bool IsAbsolutePathText(std::string_view path);

// The current directory as the system names it, however long; "" when it
// cannot be read.
std::string CurrentDirectoryPath();

// True when `path` itself (not followed) is a symbolic link; on Windows
// also a junction or another name surrogate, which lead elsewhere as links do.
bool IsSymbolicLink(const std::string& path);

// What is at `path` (any separators), following links.
enum class PathKind { kMissing, kDirectory, kOther };
PathKind KindOfPath(const std::string& path);

// One name read from a directory.
struct DirectoryEntry {
    // Valid until the next read from the same directory.
    std::string_view name;
    // False only when the name is neither a directory nor a symbolic link
    // (which might lead to one) nor of a kind the system cannot tell.
    bool mayBeDirectory = false;
    // True when the name itself is a symbolic link.
    bool isLink = false;
};

// An open directory, read name by name in the order the system gives them.
class DirectoryReader {
  public:
    // A reader that is not open.
    DirectoryReader() = default;
    // Opens the directory at `path` (any separators), following links. Paths
    // longer than the system accepts whole are opened component by component.
    // Not open when the path does not lead to a readable directory.
    static DirectoryReader Open(const std::string& path);

    ~DirectoryReader();
    DirectoryReader(DirectoryReader&& other) noexcept;
    DirectoryReader& operator=(DirectoryReader&& other) noexcept;
    DirectoryReader(const DirectoryReader&) = delete;
    DirectoryReader& operator=(const DirectoryReader&) = delete;

    bool IsOpen() const { return m_handle != nullptr; }

    // The directory's identity; valid when open.
    FileId Id() const { return m_id; }

    // Opens the entry `name` of this directory as a directory, following
    // links. Not open when it is no directory or cannot be read.
    DirectoryReader OpenChild(std::string_view name) const;

    // True when the entry `name` is a directory, following links; false when
    // it is not or cannot be examined.
    bool ChildIsDirectory(std::string_view name) const;

    // Reads the next name ("." and ".." included). False at the end of the
    // directory and on any read failure, which both end the reading. A name
    // whose kind the directory listing leaves open is examined (without
    // following it) to tell a link from a directory.
    bool Next(DirectoryEntry* entry);

  private:
    struct Handle;  // the backend's open directory
    DirectoryReader(Handle* handle, FileId id) : m_handle(handle), m_id(id) {}
    void Close();

    Handle* m_handle = nullptr;
    FileId m_id;
};
