#include "model/WriteRefusal.h"

#include <cerrno>
#include <cstdio>
#include <utility>

#include "model/Messages.h"
#include "platform/write_access.h"

namespace {

// `text` with every "{name}" of the obstacle's fields filled in.
std::string Fill(std::string text, const WriteObstacle& obstacle) {
    char mode[8];
    std::snprintf(mode, sizeof mode, obstacle.mode > 0777 ? "%04o" : "%03o", obstacle.mode);
    const std::pair<const char*, std::string> fields[] = {{"{path}", obstacle.path},
                                                          {"{owner}", obstacle.owner},
                                                          {"{mode}", mode},
                                                          {"{user}", obstacle.user}};
    for (const auto& [name, value] : fields) {
        const std::string key = name;
        for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
            text.replace(at, key.size(), value);
            at += value.size();
        }
    }
    return text;
}

const char* Template(const WriteObstacle& obstacle) {
    switch (obstacle.kind) {
        case WriteObstacleKind::kNone:
            return nullptr;
        case WriteObstacleKind::kFolderMissing:
            return kMsgFolderDoesNotExist;
        case WriteObstacleKind::kFolderNotWritable:
            return obstacle.ownedByUser ? kMsgOwnFolderNotWritable : kMsgFolderNotWritableBy;
        case WriteObstacleKind::kFileNotWritable:
            return obstacle.ownedByUser ? kMsgOwnPageWriteProtected : kMsgPageNotWritableBy;
        case WriteObstacleKind::kReadOnlyFileSystem:
            return kMsgReadOnlyFileSystem;
    }
    return nullptr;
}

}  // namespace

std::string WriteRefusalReason(const std::string& page, int error) {
    if (error != EACCES && error != EPERM && error != EROFS && error != ENOENT) return {};
    const WriteObstacle obstacle = FindWriteObstacle(page);
    const char* text = Template(obstacle);
    return text != nullptr ? Fill(text, obstacle) : std::string();
}

std::string UnwritablePageWarning(const std::string& page) {
    const WriteObstacle obstacle = FindWriteObstacle(page);
    switch (obstacle.kind) {
        case WriteObstacleKind::kNone:
            return {};
        case WriteObstacleKind::kFolderMissing:
            return kMsgFolderMissing;
        case WriteObstacleKind::kFolderNotWritable:
            return kMsgFolderNotWritable;
        case WriteObstacleKind::kFileNotWritable:
            return kMsgPageNotWritable;
        case WriteObstacleKind::kReadOnlyFileSystem:
            return Fill(kMsgReadOnlyFileSystem, obstacle);
    }
    return {};
}
