#include "support/ByteStream.h"

#include <gtest/gtest.h>

#include <string>

ByteStream::ByteStream(std::string_view bytes) {
    const std::string path = m_dir / "bytes";
    WriteFileBytes(path, std::string(bytes));
    m_stream = std::fopen(path.c_str(), "rb");
    if (m_stream == nullptr) ADD_FAILURE() << "cannot open " << path;
}

ByteStream::~ByteStream() {
    if (m_stream != nullptr) std::fclose(m_stream);
}
