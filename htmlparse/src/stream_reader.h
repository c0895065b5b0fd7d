// Stream reader: the whole of a stdio stream in one malloc'd buffer.
//
// The parser works in place on one copy of the page, so the stream is read
// once into a buffer sized from the file when the stream is a regular file.
#ifndef HTMLPARSE_STREAM_READER_H
#define HTMLPARSE_STREAM_READER_H

#include <cstddef>
#include <cstdio>

namespace htmlparse {

// Reads `stream` from its current position to its end. Returns a malloc'd
// buffer of `*size` bytes followed by one spare byte (set to '\0'); a read
// error ends the data early and sets `*error` to its errno value (0 when
// none). Throws std::bad_alloc when memory runs out.
char* ReadWholeStream(std::FILE* stream, std::size_t* size, int* error);

}  // namespace htmlparse

#endif
