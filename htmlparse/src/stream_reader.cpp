#include "stream_reader.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <new>

namespace htmlparse {

namespace {

// Bytes left in a regular file from the stream's position; 0 when unknown.
std::size_t RemainingHint(std::FILE* stream) {
    struct stat info;
    if (fstat(fileno(stream), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    long position = std::ftell(stream);
    if (position < 0 || info.st_size < position) return 0;
    return static_cast<std::size_t>(info.st_size - position);
}

}  // namespace

char* ReadWholeStream(std::FILE* stream, std::size_t* size, int* error) {
    *error = 0;
    std::size_t capacity = RemainingHint(stream) + 1;  // +1: end of file seen without growing
    if (capacity < 4096) capacity = 4096;
    auto* buffer = static_cast<char*>(std::malloc(capacity + 1));
    if (buffer == nullptr) throw std::bad_alloc();
    std::size_t used = 0;
    while (true) {
        used += std::fread(buffer + used, 1, capacity - used, stream);
        if (used < capacity) {  // end of file or error
            // Taken at once, before anything else can change errno.
            if (std::ferror(stream) != 0) *error = errno != 0 ? errno : EIO;
            break;
        }
        std::size_t grown_capacity = capacity * 2;
        auto* grown = static_cast<char*>(std::realloc(buffer, grown_capacity + 1));
        if (grown == nullptr) {
            std::free(buffer);
            throw std::bad_alloc();
        }
        buffer = grown;
        capacity = grown_capacity;
    }
    buffer[used] = '\0';
    *size = used;
    return buffer;
}

}  // namespace htmlparse
