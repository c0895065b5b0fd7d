// Reading a page's file while hashing it: the hash depends on the bytes only,
// never on how the reads were split, and a failed read says so.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "page/HashingFileReader.h"
#include "support/TempDir.h"

namespace {

// A file holding `bytes`, open for reading, in a folder that goes with it.
struct PageFile {
    explicit PageFile(const std::string& bytes) {
        WriteFileBytes(dir / "page.html", bytes);
        fd = open((dir / "page.html").c_str(), O_RDONLY);
    }
    ~PageFile() { close(fd); }
    TempDir dir;
    int fd = -1;
};

// The hash of `bytes` read in pieces of `piece` bytes.
uint64_t HashInPieces(const std::string& bytes, size_t piece) {
    const PageFile file(bytes);
    HashingFileReader reader(file.fd);
    std::string buffer(piece, '\0');
    std::string read;
    ssize_t got = 0;
    while ((got = reader.Read(buffer.data(), piece)) > 0) read.append(buffer, 0, got);
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(reader.Error(), 0);
    return reader.Hash();
}

// The parser reads its stream twice: the second pass adds nothing to the
// hash, which is the one any split of the reads gives and no other bytes give.
TEST(HashingFileReaderTest, TheHashDependsOnTheBytesOnlyAndAFailedReadIsReported) {
    std::string page;
    for (int i = 0; i < 10000; ++i) page += "<p>" + std::to_string(i) + "</p>\n";
    const PageFile file(page);
    HashingFileReader reader(file.fd);
    FILE* stream = reader.OpenStream();
    ASSERT_NE(stream, nullptr);
    for (int pass = 0; pass < 2; ++pass) {
        std::string read(page.size() + 10, '\0');
        EXPECT_EQ(std::fread(read.data(), 1, read.size(), stream), page.size());
        EXPECT_EQ(read.substr(0, page.size()), page);
        EXPECT_EQ(std::fseek(stream, 0, SEEK_SET), 0);
    }
    std::fclose(stream);
    for (const size_t piece : {1, 7, 8, 9, 4096}) {
        EXPECT_EQ(HashInPieces(page, piece), reader.Hash()) << piece;
    }
    std::string changed = page;
    changed[20] = 'T';
    // A page that only grows by trailing NULs must not look unchanged.
    for (const std::string& other :
         {changed, page + std::string(1, '\0'), page + std::string(8, '\0'), page.substr(0, 50),
          std::string()}) {
        EXPECT_NE(HashInPieces(other, 4096), reader.Hash()) << other.size();
    }

    HashingFileReader broken(-1);
    char byte = 0;
    EXPECT_EQ(broken.Read(&byte, 1), -1);
    EXPECT_EQ(broken.Error(), EBADF);
}

}  // namespace
