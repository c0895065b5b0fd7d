#include "text_window.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace htmlparse {

char* TextWindow::Reserve(std::size_t length) {
    const std::size_t needed = size + length + 1;
    if (needed > capacity) {
        std::size_t grown = capacity * 2;
        if (grown < needed) grown = needed;
        auto* bigger = static_cast<char*>(std::realloc(text, grown));
        if (bigger == nullptr) throw std::bad_alloc();
        text = bigger;
        capacity = grown;
    }
    return text + size;
}

void TextWindow::Append(const char* bytes, std::size_t length) {
    std::memcpy(Reserve(length), bytes, length);
    size += length;
}

WindowSet::~WindowSet() {
    while (first_ != nullptr) Free(first_);
    std::free(spare_);
}

TextWindow* WindowSet::Add(std::size_t capacity) {
    auto* window = new TextWindow;
    if (spare_ != nullptr && spare_capacity_ > capacity) {
        window->text = spare_;
        window->capacity = spare_capacity_;
        spare_ = nullptr;
    } else {
        window->text = static_cast<char*>(std::malloc(capacity + 1));
        window->capacity = capacity + 1;
    }
    if (window->text == nullptr) {
        delete window;
        throw std::bad_alloc();
    }
    window->text[0] = '\0';
    window->owner = this;
    window->next = first_;
    if (first_ != nullptr) first_->previous = window;
    first_ = window;
    return window;
}

void WindowSet::Release(TextWindow* window) {
    if (window != nullptr && --window->references == 0) window->owner->Free(window);
}

void WindowSet::Free(TextWindow* window) {
    if (window->previous != nullptr) window->previous->next = window->next;
    if (window->next != nullptr) window->next->previous = window->previous;
    if (first_ == window) first_ = window->next;
    if (spare_ == nullptr && window->capacity <= kLargestSpare) {
        spare_ = window->text;
        spare_capacity_ = window->capacity;
    } else {
        std::free(window->text);
    }
    delete window;
}

}  // namespace htmlparse
