// A temporary folder for one test, removed with everything in it at the end.
#pragma once

#include <string>
#include <vector>

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    // `name` inside the folder.
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    // The names of what the folder holds, sorted.
    std::vector<std::string> Names() const;

  private:
    std::string m_path;
};

// The whole contents of a file, or "" when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Creates (or replaces) a file with exactly `bytes`.
void WriteFileBytes(const std::string& path, const std::string& bytes);

// True when something exists at `path` (a dangling link counts).
bool PathExists(const std::string& path);
