// What keeps this user from writing a file: the facts the system can tell
// about the file or its folder (who owns it, its mode, who this user is), for
// a refusal that names the obstacle and its fix.
#pragma once

#include <string>

enum class WriteObstacleKind {
    kNone,               // nothing these checks see stands in the way
    kFolderMissing,      // the file's folder does not exist
    kFolderNotWritable,  // the file is missing and its folder may not be written
    kFileNotWritable,    // the file exists and may not be written
    kReadOnlyFileSystem  // the file or its folder lies on a read-only file system
};

struct WriteObstacle {
    WriteObstacleKind kind = WriteObstacleKind::kNone;
    std::string path;   // the file or folder in the way, absolute
    std::string owner;  // its owner's user name (the number when it has none)
    unsigned mode = 0;  // its permission bits (07777)
    std::string user;   // this process's user name (the number when it has none)
    bool ownedByUser = false;
};

// The first obstacle to writing the file `path`: an existing file must be
// writable by this user and have a write bit at all (a file without any is
// write-protected even for root); a missing one needs an existing folder
// this user may write and enter. Only looks; nothing is created or changed.
WriteObstacle FindWriteObstacle(const std::string& path);
