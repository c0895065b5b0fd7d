#include "page/LinkText.h"

std::string AttributeSafeLink(const std::string& link) {
    std::string safe;
    safe.reserve(link.size());
    for (char c : link) {
        if (c == '"') {
            safe += "%22";
        } else {
            safe += c;
        }
    }
    return safe;
}
