// Cutting UTF-8 text to a byte limit.
#pragma once

#include <cstddef>
#include <string>

// The longest start of `text` that has at most `maxBytes` bytes and does not
// end inside a multi-byte UTF-8 character.
std::string Utf8Prefix(const std::string& text, std::size_t maxBytes);
