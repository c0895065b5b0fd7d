// Arena: the memory of one parsed tree.
//
// The parser takes its records from an arena, and each window of page text
// (text_window.h) the few strings that do not fit in the window from one of
// its own: large zero-filled chunks, released in one sweep with the tree or
// the window.
// Fresh memory is the expensive resource here (page faults), so chunks grow
// geometrically and nothing is ever released before the whole arena. A parse
// that hands settled parts of its tree back while it runs (see htmlparse.h)
// recycles their records: records of one size are kept on a free list and
// handed out again, so such a parse needs memory for the unsettled part only.
#ifndef HTMLPARSE_ARENA_H
#define HTMLPARSE_ARENA_H

#include <cstddef>

namespace htmlparse {

class Arena {
  public:
    Arena() = default;
    // Releases every chunk.
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

    // Whether `record` lies in memory this arena handed out.
    bool Owns(const void* record) const;

    // Takes back a record of `size` bytes that Allocate handed out, to hand
    // it out again (zero-filled) for the next request of the same size. Only
    // the sizes of parsed nodes and `AttrRec` are kept; others stay where they are.
    void Recycle(void* record, std::size_t size);

  private:
    struct Chunk {
        Chunk* next;
        std::size_t size;
    };
    struct FreeRecord {
        FreeRecord* next;
    };
    // The free list of records of `size` bytes, or null for other sizes.
    FreeRecord** FreeListFor(std::size_t size);
    void AddChunk(std::size_t minimum);

    Chunk* chunks_ = nullptr;
    char* cursor_ = nullptr;
    char* limit_ = nullptr;
    std::size_t next_chunk_size_ = std::size_t{64} * 1024;
    FreeRecord* free_nodes_ = nullptr;
    FreeRecord* free_attributes_ = nullptr;
};

}  // namespace htmlparse

#endif
