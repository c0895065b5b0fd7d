#include "meta_prescan.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "encoding_labels.h"
#include "text/ascii.h"

namespace htmlparse {

namespace {

constexpr std::size_t kPrescanLength = 1024;

// Cursor over the prescanned bytes.
struct Prescan {
    const char* p;
    const char* end;

    bool AtEnd() const { return p >= end; }
    std::string_view Rest() const { return {p, static_cast<std::size_t>(end - p)}; }
    void SkipSpaces() {
        while (p < end && ascii::IsSpace(*p)) ++p;
    }
    void SkipPast(std::string_view marker) {
        std::size_t at = Rest().find(marker);
        p = at == std::string_view::npos ? end : p + at + marker.size();
    }
};

struct PrescanAttribute {
    std::string_view name;  // as written; compared without letter case
    std::string_view value;
};

// Reads one attribute of a tag; false at the tag's end.
bool NextAttribute(Prescan& scan, PrescanAttribute& attribute) {
    while (!scan.AtEnd() && (ascii::IsSpace(*scan.p) || *scan.p == '/')) {
        ++scan.p;
    }
    if (scan.AtEnd() || *scan.p == '>') return false;
    const char* name = scan.p;
    ++scan.p;  // the first character may be anything, "=" included
    while (!scan.AtEnd() && *scan.p != '=' && *scan.p != '>' && *scan.p != '/' &&
           !ascii::IsSpace(*scan.p)) {
        ++scan.p;
    }
    attribute.name = {name, static_cast<std::size_t>(scan.p - name)};
    attribute.value = {};
    scan.SkipSpaces();
    if (scan.AtEnd() || *scan.p != '=') return true;
    ++scan.p;
    scan.SkipSpaces();
    if (scan.AtEnd()) return true;
    if (*scan.p == '"' || *scan.p == '\'') {
        char quote = *scan.p++;
        const char* value = scan.p;
        while (!scan.AtEnd() && *scan.p != quote) ++scan.p;
        attribute.value = {value, static_cast<std::size_t>(scan.p - value)};
        if (!scan.AtEnd()) ++scan.p;
        return true;
    }
    const char* value = scan.p;
    while (!scan.AtEnd() && *scan.p != '>' && !ascii::IsSpace(*scan.p)) {
        ++scan.p;
    }
    attribute.value = {value, static_cast<std::size_t>(scan.p - value)};
    return true;
}

// The charset named in a Content-Type value such as "text/html; charset=koi8-r".
std::string_view CharsetOfContentType(std::string_view content) {
    for (std::size_t i = 0; i + 7 <= content.size(); ++i) {
        if (!ascii::StartsWithIgnoringCase(content.substr(i), "charset")) continue;
        std::size_t at = i + 7;
        while (at < content.size() && ascii::IsSpace(content[at])) ++at;
        if (at >= content.size() || content[at] != '=') continue;
        ++at;
        while (at < content.size() && ascii::IsSpace(content[at])) ++at;
        if (at < content.size() && (content[at] == '"' || content[at] == '\'')) {
            char quote = content[at++];
            std::size_t close = content.find(quote, at);
            if (close == std::string_view::npos) return {};
            return content.substr(at, close - at);
        }
        std::size_t stop = at;
        while (stop < content.size() && content[stop] != ';' && !ascii::IsSpace(content[stop])) {
            ++stop;
        }
        return content.substr(at, stop - at);
    }
    return {};
}

// Reads the attributes of a <meta> tag; returns the charset it declares, if any.
std::string_view MetaCharset(Prescan& scan) {
    PrescanAttribute attribute;
    std::string_view charset;
    std::string_view content;
    bool content_type = false;
    while (NextAttribute(scan, attribute)) {
        if (ascii::EqualsIgnoringCase(attribute.name, "charset") && charset.empty()) {
            charset = attribute.value;
        } else if (ascii::EqualsIgnoringCase(attribute.name, "http-equiv")) {
            content_type =
                content_type || ascii::EqualsIgnoringCase(attribute.value, "content-type");
        } else if (ascii::EqualsIgnoringCase(attribute.name, "content") && content.empty()) {
            content = attribute.value;
        }
    }
    if (!charset.empty()) return charset;
    if (content_type) return CharsetOfContentType(content);
    return {};
}

void SkipTag(Prescan& scan) {
    while (!scan.AtEnd() && *scan.p != '>' && !ascii::IsSpace(*scan.p)) {
        ++scan.p;
    }
    PrescanAttribute attribute;
    while (NextAttribute(scan, attribute)) {
    }
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

bool FindDeclaredEncoding(const char* data, std::size_t size, char* out, std::size_t capacity) {
    Prescan scan{data, data + std::min(size, kPrescanLength)};
    while (!scan.AtEnd()) {
        if (*scan.p != '<') {
            ++scan.p;
            continue;
        }
        std::string_view rest = scan.Rest();
        if (rest.starts_with("<!--")) {
            scan.p += 4;
            scan.SkipPast("-->");
        } else if (ascii::StartsWithIgnoringCase(rest, "<meta") && rest.size() > 5 &&
                   (ascii::IsSpace(rest[5]) || rest[5] == '/')) {
            scan.p += 5;
            std::string_view charset = MetaCharset(scan);
            if (!charset.empty() &&
                ResolveEncodingLabel(charset.data(), charset.size(), out, capacity)) {
                return true;
            }
        } else if (rest.size() > 1 &&
                   (IsAsciiLetter(rest[1]) ||
                    (rest.size() > 2 && rest[1] == '/' && IsAsciiLetter(rest[2])))) {
            ++scan.p;
            SkipTag(scan);
        } else if (rest.size() > 1 && (rest[1] == '!' || rest[1] == '/' || rest[1] == '?')) {
            scan.SkipPast(">");
        } else {
            ++scan.p;
        }
    }
    return false;
}

}  // namespace htmlparse
