#include "page/HashingFileReader.h"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/file_ops.h"

namespace {

// The stream's own buffer; larger requests go straight to the caller's.
constexpr size_t kStreamBuffer = 1 << 16;

uint64_t MixWord(uint64_t hash, uint64_t word) {
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ULL;
    return hash ^ (hash >> 29);
}

// Eight bytes as a little-endian word, whatever the machine's byte order.
uint64_t LoadWord(const char* bytes) {
    if constexpr (std::endian::native == std::endian::little) {
        uint64_t word;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    }
    uint64_t word = 0;
    for (int i = 7; i >= 0; --i) word = (word << 8) | static_cast<unsigned char>(bytes[i]);
    return word;
}

ssize_t ReadForStream(void* reader, char* buffer, size_t size, uint64_t offset) {
    return static_cast<HashingFileReader*>(reader)->ReadAt(buffer, size, offset);
}

}  // namespace

ssize_t HashingFileReader::Read(char* buffer, size_t size) {
    return ReadAt(buffer, size, static_cast<uint64_t>(m_offset));
}

// Only bytes that continue the hashed run are hashed: a read that starts
// after it (never made by a stream read from the start) adds nothing.
ssize_t HashingFileReader::ReadAt(char* buffer, size_t size, uint64_t offset) {
    const ssize_t got = FilePread(m_fd, buffer, size, static_cast<off_t>(offset));
    if (got < 0) {
        m_error = errno;
        return -1;
    }
    const uint64_t end = offset + static_cast<uint64_t>(got);
    if (offset <= m_hashedTo && end > m_hashedTo) {
        Mix(buffer + (m_hashedTo - offset), static_cast<size_t>(end - m_hashedTo));
        m_hashedTo = end;
    }
    m_offset = static_cast<off_t>(end);
    return got;
}

uint64_t HashingFileReader::Hash() const {
    return MixWord(m_hash, m_word ^ (uint64_t{m_wordBytes} << 56));
}

// Whole 8-byte words are mixed in one step each (a byte at a time would cost
// a multiplication per byte); bytes that do not fill a word wait for the next
// read, so the split of the reads does not change the hash.
void HashingFileReader::Mix(const char* bytes, size_t size) {
    while (size > 0 && m_wordBytes != 0) {
        m_word |= uint64_t{static_cast<unsigned char>(*bytes++)} << (8 * m_wordBytes);
        --size;
        if (++m_wordBytes == 8) {
            m_hash = MixWord(m_hash, m_word);
            m_word = m_wordBytes = 0;
        }
    }
    for (; size >= 8; bytes += 8, size -= 8) m_hash = MixWord(m_hash, LoadWord(bytes));
    for (; size > 0; --size) {
        m_word |= uint64_t{static_cast<unsigned char>(*bytes++)} << (8 * m_wordBytes++);
    }
}

FILE* HashingFileReader::OpenStream() {
    return OpenSourceStream(this, ReadForStream, kStreamBuffer);
}
