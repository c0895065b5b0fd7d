#include "model/PagePath.h"

#include "text/ascii.h"

bool IsHtmlPath(const std::string& path) {
    const std::string::size_type dot = path.rfind('.');
    if (dot == std::string::npos) return false;
    return ascii::StartsWithIgnoringCase(std::string_view(path).substr(dot), ".htm");
}
