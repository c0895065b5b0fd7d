#include "raw_source.h"

#include <algorithm>
#include <cerrno>

namespace htmlparse {

RawSource::RawSource(std::FILE* stream) : stream_(stream), start_(std::ftell(stream)) {
    seekable_ = start_ >= 0 && std::fseek(stream_, start_, SEEK_SET) == 0;
}

std::size_t RawSource::Read(char* buffer, std::size_t size) {
    size = static_cast<std::size_t>(std::min<std::uint64_t>(size, limit_ - at_));
    std::size_t got = 0;
    if (at_ < put_back_) {
        got = Serve(kept_, at_, buffer, std::min<std::uint64_t>(size, put_back_ - at_));
        at_ += got;
    }
    if (got == size) return got;
    std::size_t more = 0;
    if (replaying_) {
        more = Serve(kept_, at_, buffer + got, size - got);
    } else {
        more = ReadStream(buffer + got, size - got);
        if (!seekable_ && put_back_ == 0) kept_.append(buffer + got, more);
    }
    at_ += more;
    return got + more;
}

void RawSource::PutBack(const char* data, std::size_t size) {
    kept_.assign(data, size);
    put_back_ = size;
    at_ = 0;
}

bool RawSource::Rewind() {
    limit_ = at_;
    at_ = 0;
    if (!seekable_) {
        replaying_ = true;
        return true;
    }
    if (std::fseek(stream_, start_, SEEK_SET) == 0) return true;
    if (error_ == 0) error_ = errno != 0 ? errno : EIO;
    limit_ = 0;
    return false;
}

std::size_t RawSource::Serve(const std::string& bytes, std::uint64_t from, char* buffer,
                             std::size_t size) {
    if (from >= bytes.size()) return 0;
    return bytes.copy(buffer, size, static_cast<std::size_t>(from));
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

}  // namespace htmlparse
