// Points the registry layer at a temporary hive folder for one test.
#pragma once

#include <string>

#include "support/TempDir.h"

class ScopedHiveFolder {
  public:
    ScopedHiveFolder();
    ~ScopedHiveFolder();
    ScopedHiveFolder(const ScopedHiveFolder&) = delete;
    ScopedHiveFolder& operator=(const ScopedHiveFolder&) = delete;

    // Writes MACHINE.reg ("local" for this machine) with `text` after the
    // version-5 header line.
    void Write(const std::string& machine, const std::string& text) const;
    const TempDir& folder() const { return m_folder; }

  private:
    TempDir m_folder;
    std::string m_previous;
    bool m_hadPrevious = false;
};
