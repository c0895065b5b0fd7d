// Ownership of the malloc'd blocks a page's text is prepared in.
#ifndef HTMLPARSE_MALLOC_BLOCK_H
#define HTMLPARSE_MALLOC_BLOCK_H

#include <cstddef>
#include <cstdlib>
#include <new>

namespace htmlparse {

// malloc that throws std::bad_alloc instead of returning null.
inline char* AllocateOrThrow(std::size_t size) {
    auto* block = static_cast<char*>(std::malloc(size));
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

// Owns a malloc'd block until released.
class MallocBlock {
  public:
    explicit MallocBlock(char* block) : block_(block) {}
    ~MallocBlock() { std::free(block_); }
    MallocBlock(const MallocBlock&) = delete;
    MallocBlock& operator=(const MallocBlock&) = delete;
    char* get() const { return block_; }
    char* release() {
        char* block = block_;
        block_ = nullptr;
        return block;
    }
    void reset(char* block) {
        std::free(block_);
        block_ = block;
    }

  private:
    char* block_;
};

}  // namespace htmlparse

#endif
