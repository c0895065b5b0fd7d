// Text windows: the parse text of a page, held a stretch at a time.
//
// The tokenizer reads the page's parse text (text_decoder.h) from one window
// at a time: a malloc'd block holding a stretch of it, NUL-terminated, with
// the map from its positions to the page's bytes and an arena for the few
// strings of its tokens that do not fit in place. A token cut by a window's
// end is read again from the next window, which begins with it
// (text_feed.h). The strings of a parsed node point into the window it was
// made from, so each window counts the nodes made from it, plus one while
// the tokenizer reads it, and is freed when that count falls to zero: a page
// whose settled part is released as it is parsed (HTMLParseDoInParts) holds
// only the windows its unsettled nodes still point into.
#ifndef HTMLPARSE_TEXT_WINDOW_H
#define HTMLPARSE_TEXT_WINDOW_H

#include <cstddef>
#include <cstdint>

#include "arena.h"
#include "source_offsets.h"

namespace htmlparse {

class WindowSet;

struct TextWindow {
    char* text = nullptr;  // malloc'd; text[size] is a writable byte
    std::size_t size = 0;
    std::size_t capacity = 0;       // bytes of `text`, the one after `size` included
    std::uint64_t text_offset = 0;  // where text[0] stands in the page's whole parse text
    OffsetMap map;                  // position in `text` -> byte offset in the page
    Arena strings;                  // strings of its tokens that need room of their own
    std::size_t references = 1;     // nodes made from it, plus its reader
    WindowSet* owner = nullptr;
    TextWindow* previous = nullptr;
    TextWindow* next = nullptr;

    // Room for `length` more bytes (and the NUL after them) at text + size.
    // Throws std::bad_alloc. Only while no token points into the window.
    char* Reserve(std::size_t length);
    void Append(const char* bytes, std::size_t length);
};

// The windows of one parsed tree, freed with it. The text block of a freed
// window of ordinary size is kept for the next window: a page is read into
// the same memory over and over, not into fresh memory each time.
class WindowSet {
  public:
    WindowSet() = default;
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    // A new window with room for `capacity` bytes, held by its reader (one
    // reference). Throws std::bad_alloc.
    TextWindow* Add(std::size_t capacity);

    // Adds a reference to `window` (null: none).
    static void Hold(TextWindow* window) {
        if (window != nullptr) ++window->references;
    }
    // Drops a reference to `window` (null: none), freeing it at the last.
    static void Release(TextWindow* window);

  private:
    void Free(TextWindow* window);

    // Text blocks larger than this are not kept for reuse.
    static constexpr std::size_t kLargestSpare = std::size_t{1} << 20;

    TextWindow* first_ = nullptr;
    char* spare_ = nullptr;  // a freed window's text block, or null
    std::size_t spare_capacity_ = 0;
};

}  // namespace htmlparse

#endif
