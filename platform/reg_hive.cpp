#include "platform/reg_hive.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

constexpr char kRootName[] = "hkey_local_machine";

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16LE (after its byte-order mark) to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16LeToUtf8(const std::string& bytes) {
    std::string out;
    auto unit = [&bytes](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        AppendUtf8(out, code);
    }
    return out;
}

std::string DecodeText(const std::string& bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return Utf16LeToUtf8(bytes);
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

// Parses the data after '=' into `value`; false with `error` set.
bool ParseData(const std::string& data, RegValue* value, std::string* error) {
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
    const std::string lower = Lower(data);
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
    return true;
}

// Splits text into lines and joins hex data continued with a trailing '\'.
// Each logical line keeps the number of its first physical line.
std::vector<std::pair<int, std::string>> LogicalLines(const std::string& text) {
    std::vector<std::pair<int, std::string>> lines;
    std::istringstream in(text);
    std::string physical;
    int number = 0;
    bool continuing = false;
    while (std::getline(in, physical)) {
        ++number;
        std::string line = Trim(physical);
        if (continuing) {
            lines.back().second += line;
        } else {
            lines.emplace_back(number, line);
        }
        std::string& current = lines.back().second;
        const bool isHex = Lower(current).find("=hex") != std::string::npos;
        continuing = isHex && !current.empty() && current.back() == '\\';
        if (continuing) current.pop_back();
    }
    return lines;
}

}  // namespace

std::string NormalizeKeyPath(const std::string& path) {
    std::string out;
    for (char c : Lower(path)) {
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
    for (const auto& [number, text] : lines) {
        *line = number;
        if (text.empty() || text[0] == ';') continue;
        if (!headerSeen) {
            if (text != "REGEDIT4" && text != "Windows Registry Editor Version 5.00") {
                *error = "missing header (REGEDIT4 or Windows Registry Editor Version 5.00)";
                return false;
            }
            headerSeen = true;
            continue;
        }
        if (text[0] == '[') {
            if (text.back() != ']') {
                *error = "key line without closing ']'";
                return false;
            }
            const std::string path = NormalizeKeyPath(text.substr(1, text.size() - 2));
            if (path != kRootName && path.rfind(std::string(kRootName) + "\\", 0) != 0) {
                *error = "only keys under HKEY_LOCAL_MACHINE are supported";
                return false;
            }
            const std::string below =
                path.size() > sizeof kRootName ? path.substr(sizeof kRootName) : "";
            key = &m_keys[below];
            continue;
        }
        if (key == nullptr) {
            *error = "value outside any key";
            return false;
        }
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
        if (!ParseData(Trim(rest.substr(1)), &value, error)) return false;
        key->values.push_back(std::move(value));
    }
    if (!headerSeen) {
        *error = "empty file (no header)";
        return false;
    }
    return true;
}

RegHive::Status RegHive::Load(const std::string& path) {
    m_keys.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return Status::Missing;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string error;
    int line = 0;
    if (!Parse(bytes.str(), &error, &line)) {
        std::fprintf(stderr, "%s:%d: malformed registry hive: %s\n", path.c_str(), line,
                     error.c_str());
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
