#include "platform/reg_hive.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/file_ops.h"
#include "text/ascii.h"
#include "text/utf8.h"

namespace {

constexpr char kRootName[] = "hkey_local_machine";

// `size` bytes of UTF-16LE text at `data` as UTF-8; a lone surrogate becomes
// U+FFFD and an odd last byte is dropped.
std::string Utf16LeToUtf8(const unsigned char* data, std::size_t size) {
    std::string out;
    auto unit = [data](std::size_t i) {
        return static_cast<std::uint32_t>(data[i] | (data[i + 1] << 8));
    };
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code < 0xDC00 && i + 3 < size && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        utf8::Append(out, code);
    }
    return out;
}

std::string DecodeText(const std::string& bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        return Utf16LeToUtf8(reinterpret_cast<const unsigned char*>(bytes.data()) + 2,
                             bytes.size() - 2);
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
    return bytes;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Reads a quoted string with \\ and \" escapes starting at text[pos] == '"';
// on success `pos` is just past the closing quote.
bool ReadQuoted(const std::string& text, std::size_t& pos, std::string* out) {
    out->clear();
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\' && pos + 1 < text.size()) ++pos;
        *out += text[pos];
    }
    return false;
}

// Appends the byte written as up to two hex `digits` (none: nothing) and
// empties `digits`; false when there are more than two.
bool FlushByte(std::string& digits, std::vector<std::uint8_t>* out) {
    if (digits.size() > 2) return false;
    if (!digits.empty()) out->push_back(static_cast<std::uint8_t>(std::stoul(digits, nullptr, 16)));
    digits.clear();
    return true;
}

bool ParseHexBytes(const std::string& text, std::vector<std::uint8_t>* out) {
    std::string digits;
    for (char c : text) {
        if (c == ',' || c == ' ' || c == '\t') {
            if (!FlushByte(digits, out)) return false;
        } else if (std::isxdigit(static_cast<unsigned char>(c))) {
            digits += c;
        } else {
            return false;
        }
    }
    return FlushByte(digits, out);
}

bool IsStringType(std::uint32_t type) { return type == 1 || type == 2 || type == 7; }

// Hex bytes of a string type in a version-5 file are UTF-16LE text; they are
// kept as UTF-8 like quoted string data. False for an odd number of bytes.
bool DecodeHexText(std::vector<std::uint8_t>* data) {
    if (data->size() % 2 != 0) return false;
    const std::string text = Utf16LeToUtf8(data->data(), data->size());
    data->assign(text.begin(), text.end());
    return true;
}

// Parses the data after '=' into `value`; false with `error` set. `unicode`
// tells a version-5 file from a REGEDIT4 one.
bool ParseData(const std::string& data, bool unicode, RegValue* value, std::string* error) {
    if (!data.empty() && data[0] == '"') {
        std::size_t pos = 0;
        std::string text;
        if (!ReadQuoted(data, pos, &text) || !Trim(data.substr(pos)).empty()) {
            *error = "unterminated or malformed string data";
            return false;
        }
        value->type = 1;
        value->data.assign(text.begin(), text.end());
        value->data.push_back(0);
        return true;
    }
    const std::string lower = ascii::Lowercase(data);
    if (lower.rfind("dword:", 0) == 0) {
        const std::string digits = Trim(data.substr(6));
        if (digits.empty() || digits.size() > 8 ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            *error = "dword data must be up to 8 hex digits";
            return false;
        }
        const auto number = static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
        value->type = 4;
        value->data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                       static_cast<std::uint8_t>(number >> 16),
                       static_cast<std::uint8_t>(number >> 24)};
        return true;
    }
    std::size_t colon = std::string::npos;
    if (lower.rfind("hex:", 0) == 0) {
        value->type = 3;
        colon = 3;
    } else if (lower.rfind("hex(", 0) == 0) {
        const auto close = lower.find("):", 4);
        const std::string type = close == std::string::npos ? "" : lower.substr(4, close - 4);
        if (type.empty() || type.size() > 8 ||
            type.find_first_not_of("0123456789abcdef") != std::string::npos) {
            *error = "malformed hex(N) type";
            return false;
        }
        value->type = static_cast<std::uint32_t>(std::stoul(type, nullptr, 16));
        colon = close + 1;
    } else {
        *error = "unknown value data (expected \"string\", dword:, hex: or hex(N):)";
        return false;
    }
    if (!ParseHexBytes(data.substr(colon + 1), &value->data)) {
        *error = "malformed hex bytes";
        return false;
    }
    if (unicode && IsStringType(value->type) && !DecodeHexText(&value->data)) {
        *error = "UTF-16 text data with an odd number of bytes";
        return false;
    }
    return true;
}

// The physical lines of `text`, each ended by CR LF, LF or CR alone.
std::vector<std::string> PhysicalLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// Splits text into lines and joins hex data continued with a trailing '\'.
// Each logical line keeps the number of its first physical line.
std::vector<std::pair<int, std::string>> LogicalLines(const std::string& text) {
    std::vector<std::pair<int, std::string>> lines;
    int number = 0;
    bool continuing = false;
    for (const std::string& physical : PhysicalLines(text)) {
        ++number;
        std::string line = Trim(physical);
        if (continuing) {
            lines.back().second += line;
        } else {
            lines.emplace_back(number, line);
        }
        std::string& current = lines.back().second;
        const bool isHex = ascii::Lowercase(current).find("=hex") != std::string::npos;
        continuing = isHex && !current.empty() && current.back() == '\\';
        if (continuing) current.pop_back();
    }
    return lines;
}

// The value of `key` named `name` (letter case ignored), or end().
std::vector<RegValue>::iterator FindNamed(RegKey* key, const std::string& name) {
    return std::find_if(key->values.begin(), key->values.end(), [&name](const RegValue& value) {
        return ascii::EqualsIgnoringCase(value.name, name);
    });
}

// Stores `value` in `key`: a name given again replaces the earlier value in
// its place, as importing the file into a registry would.
void StoreValue(RegKey* key, RegValue value) {
    const auto earlier = FindNamed(key, value.name);
    if (earlier != key->values.end()) {
        *earlier = std::move(value);
    } else {
        key->values.push_back(std::move(value));
    }
}

// One value line of `key`: stores or deletes the value. `unicode` tells a
// version-5 file. False with `error` set when it is malformed.
bool ParseValueLine(const std::string& text, bool unicode, RegKey* key, std::string* error) {
    RegValue value;
    std::size_t pos = 0;
    if (text[0] == '@') {
        pos = 1;
    } else if (text[0] != '"' || !ReadQuoted(text, pos, &value.name)) {
        *error = "malformed value name";
        return false;
    }
    const std::string rest = Trim(text.substr(pos));
    if (rest.empty() || rest[0] != '=') {
        *error = "expected '=' after the value name";
        return false;
    }
    const std::string data = Trim(rest.substr(1));
    if (data == "-") {
        const auto earlier = FindNamed(key, value.name);
        if (earlier != key->values.end()) key->values.erase(earlier);
        return true;
    }
    if (!ParseData(data, unicode, &value, error)) return false;
    StoreValue(key, std::move(value));
    return true;
}

// Appends everything left to read from `fd` to `bytes`; false with
// `problem` set when a read fails.
bool ReadAll(int fd, std::string* bytes, std::string* problem) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = FileRead(fd, buffer, sizeof buffer);
        if (got > 0) {
            bytes->append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0) {
            return true;
        } else {
            *problem = std::strerror(errno);
            return false;
        }
    }
}

// Reads the whole regular file at `path` into `bytes` without ever waiting on
// it; false with `problem` set to the reason (ENOENT alone in `*missing`).
bool ReadHiveFile(const std::string& path, std::string* bytes, bool* missing,
                  std::string* problem) {
    *missing = false;
    const int fd = FileOpenForReading(path.c_str());
    if (fd < 0) {
        *missing = errno == ENOENT;
        *problem = std::strerror(errno);
        return false;
    }
    FileStatus info;
    bool readWhole = FileStatusOf(fd, &info);
    if (!readWhole) {
        *problem = std::strerror(errno);
    } else if (!info.regular) {
        *problem = info.directory ? std::strerror(EISDIR) : "not a regular file";
        readWhole = false;
    } else {
        readWhole = ReadAll(fd, bytes, problem);
    }
    FileClose(fd);
    return readWhole;
}

}  // namespace

std::string NormalizeKeyPath(const std::string& path) {
    std::string out;
    for (char c : ascii::Lowercase(path)) {
        if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
        out += c;
    }
    if (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

bool RegHive::Parse(const std::string& bytes, std::string* error, int* line) {
    const auto lines = LogicalLines(DecodeText(bytes));
    RegKey* key = nullptr;
    bool headerSeen = false;
    bool unicode = false;
    for (const auto& [number, text] : lines) {
        *line = number;
        if (text.empty() || text[0] == ';') continue;
        if (!headerSeen) {
            unicode = text == "Windows Registry Editor Version 5.00";
            if (text != "REGEDIT4" && !unicode) {
                *error = "missing header (REGEDIT4 or Windows Registry Editor Version 5.00)";
                return false;
            }
            headerSeen = true;
            continue;
        }
        if (text[0] == '[') {
            if (!ParseKeyLine(text, &key, error)) return false;
            continue;
        }
        if (key == nullptr) {
            *error = "value outside any key";
            return false;
        }
        if (!ParseValueLine(text, unicode, key, error)) return false;
    }
    if (!headerSeen) {
        if (lines.empty()) *line = 1;
        *error = "empty file (no header)";
        return false;
    }
    return true;
}

bool RegHive::ParseKeyLine(const std::string& text, RegKey** key, std::string* error) {
    if (text.back() != ']') {
        *error = "key line without closing ']'";
        return false;
    }
    const bool deletion = text.size() > 1 && text[1] == '-';
    const std::size_t start = deletion ? 2 : 1;
    const std::string path = NormalizeKeyPath(text.substr(start, text.size() - 1 - start));
    if (path != kRootName && path.rfind(std::string(kRootName) + "\\", 0) != 0) {
        *error = "only keys under HKEY_LOCAL_MACHINE are supported";
        return false;
    }
    const std::string below = path.size() > sizeof kRootName ? path.substr(sizeof kRootName) : "";
    if (deletion) {
        DeleteTree(below);
        *key = nullptr;
    } else {
        *key = &m_keys[below];
    }
    return true;
}

void RegHive::DeleteTree(const std::string& below) {
    if (below.empty()) {
        m_keys.clear();
        return;
    }
    const std::string under = below + "\\";
    m_keys.erase(below);
    auto first = m_keys.lower_bound(under);
    auto last = first;
    while (last != m_keys.end() && last->first.rfind(under, 0) == 0) ++last;
    m_keys.erase(first, last);
}

RegHive::Status RegHive::Load(const std::string& path) {
    m_keys.clear();
    m_problem.clear();
    std::string bytes;
    bool missing = false;
    std::string reason;
    if (!ReadHiveFile(path, &bytes, &missing, &reason)) {
        if (missing) return Status::Missing;
        m_problem = path + ": " + reason;
        return Status::Unreadable;
    }
    int line = 0;
    if (!Parse(bytes, &reason, &line)) {
        m_problem = path + ":" + std::to_string(line) + ": malformed registry hive: " + reason;
        m_keys.clear();
        return Status::Malformed;
    }
    return Status::Loaded;
}

const RegKey* RegHive::Find(const std::string& path) const {
    const auto found = m_keys.find(NormalizeKeyPath(path));
    return found == m_keys.end() ? nullptr : &found->second;
}

bool RegHive::Exists(const std::string& path) const {
    const std::string wanted = NormalizeKeyPath(path);
    if (wanted.empty() || m_keys.count(wanted) != 0) return true;
    const std::string below = wanted + "\\";
    const auto candidate = m_keys.lower_bound(below);
    return candidate != m_keys.end() && candidate->first.rfind(below, 0) == 0;
}
