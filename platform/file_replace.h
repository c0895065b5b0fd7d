// Replacing a file safely: the one way this program writes a page.
//
// The new contents go into a temporary file in the target's own folder; only
// Commit, after every write, the flush, the sync to disk and the close have
// succeeded, renames it over the target. Whatever fails before that, the
// temporary file is removed and the target (or its absence) stays exactly as
// it was. An existing target keeps its permission bits (and owner, where the
// process may set it); a target that is a symbolic link is replaced at the
// link's destination, so the link stays a link.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

class FileReplacement {
  public:
    explicit FileReplacement(std::string path);
    ~FileReplacement();  // rolls back unless committed
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Creates the temporary file. False (with nothing created) when the
    // target's folder cannot take it.
    bool Open();

    // The temporary file, open for writing in binary mode; valid after Open.
    FILE* Stream() const { return m_stream; }

    // Makes the written contents the target's. False, with the target
    // untouched and the temporary file gone, when anything fails.
    bool Commit();

    // Drops the temporary file; the target stays as it was.
    void Rollback();

  private:
    std::string m_target;
    std::string m_tempPath;
    FILE* m_stream = nullptr;
};

// Replaces the file at `path` with what `write` puts into the stream. `write`
// returns false to abandon the replacement. True only when the file now holds
// exactly what was written.
bool ReplaceFile(const std::string& path, const std::function<bool(FILE*)>& write);
