#include "encoding_labels.h"

#include <cstring>

#include "text/charset_labels.h"

namespace htmlparse {

bool ResolveEncodingLabel(const char* label, std::size_t length, char* out, std::size_t capacity) {
    const char* name = charset::NameOfLabel({label, length});
    if (name == nullptr) return false;
    const std::size_t name_length = std::strlen(name);
    if (name_length + 1 > capacity) return false;
    std::memcpy(out, name, name_length + 1);
    return true;
}

}  // namespace htmlparse
