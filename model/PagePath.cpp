#include "model/PagePath.h"

#include <strings.h>

bool IsHtmlPath(const std::string& path) {
    const std::string::size_type dot = path.rfind('.');
    if (dot == std::string::npos) return false;
    return strncasecmp(path.c_str() + dot, ".htm", 4) == 0;
}
