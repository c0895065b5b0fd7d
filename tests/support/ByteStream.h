// A stdio read stream over bytes a test holds, for code that reads a FILE*.
// The bytes are written to a file in a temporary folder of the stream's own,
// which works alike on every system and for no bytes at all; tmpfile() may
// fail under wine when two test programs ask for one at the same moment.
#pragma once

#include <cstdio>
#include <string_view>

#include "support/TempDir.h"

class ByteStream {
  public:
    // Opens a stream that reads `bytes` from their start; fails the test
    // when the file cannot be written or opened.
    explicit ByteStream(std::string_view bytes);
    ~ByteStream();
    ByteStream(const ByteStream&) = delete;
    ByteStream& operator=(const ByteStream&) = delete;

    std::FILE* get() const { return m_stream; }

  private:
    TempDir m_dir;
    std::FILE* m_stream = nullptr;
};
