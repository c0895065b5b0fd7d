#include "arena.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "htmlparse.h"
#include "records.h"

namespace htmlparse {

namespace {

// Records hold pointers and 32-bit fields: pointer alignment suffices, and an
// AttrRec (40 bytes on 64-bit builds) then wastes nothing.
constexpr std::size_t kAlignment = alignof(void*);
constexpr std::size_t kMaxChunkSize = std::size_t{16} * 1024 * 1024;

std::size_t RoundUp(std::size_t size) { return (size + kAlignment - 1) & ~(kAlignment - 1); }

}  // namespace

Arena::~Arena() {
    while (chunks_ != nullptr) {
        Chunk* next = chunks_->next;
        std::free(chunks_);
        chunks_ = next;
    }
}

void* Arena::Allocate(std::size_t size) {
    size = RoundUp(size == 0 ? 1 : size);
    if (FreeRecord** list = FreeListFor(size); list != nullptr && *list != nullptr) {
        FreeRecord* record = *list;
        *list = record->next;
        std::memset(record, 0, size);
        return record;
    }
    if (static_cast<std::size_t>(limit_ - cursor_) < size) {
        AddChunk(size);
    }
    void* result = cursor_;
    cursor_ += size;
    return result;
}

char* Arena::CopyString(const char* text, std::size_t length) {
    auto* copy = static_cast<char*>(Allocate(length + 1));
    if (length != 0) {
        std::memcpy(copy, text, length);
    }
    copy[length] = '\0';
    return copy;
}

bool Arena::Owns(const void* record) const {
    const auto* address = static_cast<const char*>(record);
    for (const Chunk* chunk = chunks_; chunk != nullptr; chunk = chunk->next) {
        const auto* start = reinterpret_cast<const char*>(chunk);
        if (address >= start && address < start + chunk->size) return true;
    }
    return false;
}

void Arena::Recycle(void* record, std::size_t size) {
    FreeRecord** list = FreeListFor(RoundUp(size));
    if (list == nullptr) return;
    auto* freed = static_cast<FreeRecord*>(record);
    freed->next = *list;
    *list = freed;
}

Arena::FreeRecord** Arena::FreeListFor(std::size_t size) {
    if (size == RoundUp(sizeof(NodeRecord))) return &free_nodes_;
    if (size == RoundUp(sizeof(AttrRec))) return &free_attributes_;
    return nullptr;
}

// calloc of a large block maps fresh zero pages, so zero-filling costs nothing
// until the memory is touched and untouched tails of a chunk stay free.
void Arena::AddChunk(std::size_t minimum) {
    std::size_t header = RoundUp(sizeof(Chunk));
    std::size_t size = next_chunk_size_;
    while (size < minimum + header) {
        size *= 2;
    }
    auto* chunk = static_cast<Chunk*>(std::calloc(1, size));
    if (chunk == nullptr) {
        throw std::bad_alloc();
    }
    chunk->next = chunks_;
    chunk->size = size;
    chunks_ = chunk;
    cursor_ = reinterpret_cast<char*>(chunk) + header;
    limit_ = reinterpret_cast<char*>(chunk) + size;
    if (next_chunk_size_ < kMaxChunkSize) {
        next_chunk_size_ *= 2;
    }
}

}  // namespace htmlparse
