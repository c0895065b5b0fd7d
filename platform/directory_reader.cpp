// What every system's DirectoryReader shares: owning its handle. Opening,
// reading and closing are the backend's (posix/, win32/file_system.cpp).
#include <utility>

#include "platform/file_system.h"

DirectoryReader::~DirectoryReader() { Close(); }

DirectoryReader::DirectoryReader(DirectoryReader&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_id(other.m_id) {}

DirectoryReader& DirectoryReader::operator=(DirectoryReader&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_id = other.m_id;
    }
    return *this;
}
