// What the link chooser lists, without the dialog: every directory of the
// web server's document tree under its URL path, the files of one of them,
// and the hyperlink a file gets. The chooser dialog is a view of it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "linkchooser/DirectoryWalk.h"

class LinkListing {
  public:
    // Reads the document map and walks every mapped directory with all
    // directories below it (linkchooser/DirectoryWalk.h), sorted as the
    // chooser lists them (linkchooser/ListOrder.h). False, with the message
    // for the user in `*failure`, when the document map cannot be read.
    bool Load(std::string* failure);

    // The directories, in list order.
    const std::vector<DirectoryItem>& Directories() const { return m_directories; }

    // The names of the files in directory `index`, in list order; none for an
    // index the list does not have or a directory that cannot be read.
    std::vector<std::string> FilesIn(std::size_t index) const;

    // The hyperlink of the file `name` in directory `index`: the directory's
    // URL path and the name joined by one "/".
    std::string LinkFor(std::size_t index, const std::string& name) const;

  private:
    std::vector<DirectoryItem> m_directories;
};
