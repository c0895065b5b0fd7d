#include "platform/write_access.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_system.h"

namespace {

std::string UserName(uid_t uid) {
    const passwd* entry = getpwuid(uid);
    return entry != nullptr ? entry->pw_name : std::to_string(uid);
}

bool OnReadOnlyFileSystem(const std::string& path) {
    struct statvfs info {};
    return statvfs(path.c_str(), &info) == 0 && (info.f_flag & ST_RDONLY) != 0;
}

WriteObstacle Describe(WriteObstacleKind kind, const std::string& path, const struct stat& info) {
    WriteObstacle obstacle;
    obstacle.kind = kind;
    obstacle.path = path;
    obstacle.owner = UserName(info.st_uid);
    obstacle.mode = info.st_mode & 07777;
    obstacle.user = UserName(geteuid());
    obstacle.ownedByUser = info.st_uid == geteuid();
    return obstacle;
}

}  // namespace

WriteObstacle FindWriteObstacle(const std::string& path) {
    const std::string file = AbsoluteSystemPath(path);
    struct stat info {};
    if (stat(file.c_str(), &info) == 0) {
        if (OnReadOnlyFileSystem(file))
            return Describe(WriteObstacleKind::kReadOnlyFileSystem, file, info);
        const bool writable = access(file.c_str(), W_OK) == 0 && (info.st_mode & 0222) != 0;
        return writable ? WriteObstacle{}
                        : Describe(WriteObstacleKind::kFileNotWritable, file, info);
    }
    const std::string folder = FolderOf(file);
    if (stat(folder.c_str(), &info) != 0) {
        WriteObstacle missing;
        missing.kind = WriteObstacleKind::kFolderMissing;
        missing.path = folder;
        return missing;
    }
    if (OnReadOnlyFileSystem(folder))
        return Describe(WriteObstacleKind::kReadOnlyFileSystem, folder, info);
    if (access(folder.c_str(), W_OK | X_OK) == 0) return {};
    return Describe(WriteObstacleKind::kFolderNotWritable, folder, info);
}
