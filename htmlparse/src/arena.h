// Arena: the memory of one parsed tree.
//
// The parser takes its records and the few strings that do not fit in the page
// buffer from large zero-filled chunks, and the page buffer itself is handed to
// the arena, so a whole tree is released in one sweep when its root is freed.
// Fresh memory is the expensive resource here (page faults), so chunks grow
// geometrically and nothing is ever released before the whole arena.
#ifndef HTMLPARSE_ARENA_H
#define HTMLPARSE_ARENA_H

#include <cstddef>

namespace htmlparse {

class Arena {
  public:
    Arena() = default;
    // Releases every chunk and every adopted buffer.
    ~Arena();
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    // Returns `size` zero-filled bytes aligned for a pointer. Throws
    // std::bad_alloc when memory runs out; never returns null.
    void* Allocate(std::size_t size);

    // Returns a zero-filled T (a C record: no constructor runs).
    template <typename T>
    T* New() {
        return static_cast<T*>(Allocate(sizeof(T)));
    }

    // Copies `length` bytes and adds a NUL terminator.
    char* CopyString(const char* text, std::size_t length);

    // Takes ownership of a buffer from malloc; it is freed with the arena.
    // Throws std::bad_alloc (after freeing `buffer`) when bookkeeping fails.
    void Adopt(void* buffer);

  private:
    struct Chunk {
        Chunk* next;
    };
    struct Adoption {
        Adoption* next;
        void* buffer;
    };
    void AddChunk(std::size_t minimum);

    Chunk* chunks_ = nullptr;
    char* cursor_ = nullptr;
    char* limit_ = nullptr;
    std::size_t next_chunk_size_ = std::size_t{64} * 1024;
    Adoption* adopted_ = nullptr;
};

}  // namespace htmlparse

#endif
