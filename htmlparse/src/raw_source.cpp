#include "raw_source.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

namespace htmlparse {

namespace {

// Whether the stream can be set back to `position` (it is there already).
bool CanSeek(std::FILE* stream, long position) {
    return position >= 0 && std::fseek(stream, position, SEEK_SET) == 0;
}

}  // namespace

RawSource::RawSource(std::FILE* stream) : stream_(stream), start_(std::ftell(stream)) {
    if (!CanSeek(stream_, start_)) ReadWholeIntoMemory();
}

RawSource::~RawSource() { std::free(memory_); }

std::size_t RawSource::Read(char* buffer, std::size_t size) {
    size = static_cast<std::size_t>(std::min<std::uint64_t>(size, limit_ - at_));
    std::size_t got = 0;
    if (in_memory_) {
        got = size;
        if (got != 0) std::memcpy(buffer, memory_ + at_, got);
    } else {
        got = ReadStream(buffer, size);
    }
    at_ += got;
    return got;
}

bool RawSource::Rewind() {
    limit_ = at_;
    at_ = 0;
    if (in_memory_ || std::fseek(stream_, start_, SEEK_SET) == 0) return true;
    if (error_ == 0) error_ = errno != 0 ? errno : EIO;
    limit_ = 0;
    return false;
}

// Reads until `size` bytes are in or the stream ends; a failed read is the
// end of the page.
std::size_t RawSource::ReadStream(char* buffer, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t got = std::fread(buffer, 1, size, stream_);
    if (got < size && std::ferror(stream_) != 0) {
        // Taken at once, before anything else can change errno.
        if (error_ == 0) error_ = errno != 0 ? errno : EIO;
        limit_ = at_ + got;
    }
    return got;
}

void RawSource::ReadWholeIntoMemory() {
    std::size_t capacity = 1 << 16;
    std::size_t used = 0;
    memory_ = static_cast<char*>(std::malloc(capacity));
    if (memory_ == nullptr) throw std::bad_alloc();
    while (true) {
        used += ReadStream(memory_ + used, capacity - used);
        if (used < capacity) break;
        auto* grown = static_cast<char*>(std::realloc(memory_, capacity * 2));
        if (grown == nullptr) throw std::bad_alloc();
        memory_ = grown;
        capacity *= 2;
    }
    in_memory_ = true;
    limit_ = used;
}

}  // namespace htmlparse
