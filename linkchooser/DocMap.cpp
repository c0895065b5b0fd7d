#include "linkchooser/DocMap.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "model/ServerRegistry.h"
#include "model/ServerSource.h"
#include "platform/registry.h"

namespace {

constexpr char kHiveDerivation[] = "hive value DocMap";

thread_local std::string t_docMapFailure;

constexpr char kServerRootValue[] = "ServerRoot";
constexpr char kRootPrefix[] = "/";

// The room offered for an enumerated value's name (in characters, NUL
// included) and for its data (in bytes).
constexpr DWORD kTextRoom = 260;

// One value of the DocMap key.
struct MapValue {
    std::string name;
    std::string data;
};

// Registry data is handed over as bytes of any type; it is used as text up to
// its first NUL, and never beyond the `size` bytes the registry returned.
std::string TextOf(const BYTE* data, DWORD size) {
    const char* text = reinterpret_cast<const char*>(data);
    return std::string(text, strnlen(text, size));
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The drive letter form: the second character is ':' (the first may be anything).
bool HasDriveLetter(const std::string& text) { return text.size() >= 2 && text[1] == ':'; }

// "ServerRoot", always ending in a separator: a backslash is added unless it
// ends in one already. A root too long for the usual 260-byte room is read
// whole. When the key or the value cannot be read the server has no defined
// root; it is then empty (no separator added), so a directory beginning with
// a separator stays as written. ERROR_BADDB when the registry is damaged,
// otherwise ERROR_SUCCESS.
LONG ReadServerRoot(std::string* serverRoot) {
    serverRoot->clear();
    HKEY openedKey = nullptr;
    const LONG opened = RegOpenKeyExA(g_hkeyServer, kServerKey, 0, KEY_READ, &openedKey);
    if (opened == ERROR_BADDB) return opened;
    if (opened != ERROR_SUCCESS) return ERROR_SUCCESS;
    ScopedRegKey key(openedKey);
    std::vector<BYTE> data(kTextRoom);
    DWORD size = kTextRoom;
    LONG result =
        RegQueryValueExA(key.get(), kServerRootValue, nullptr, nullptr, data.data(), &size);
    if (result == ERROR_MORE_DATA) {
        data.resize(size);
        result =
            RegQueryValueExA(key.get(), kServerRootValue, nullptr, nullptr, data.data(), &size);
    }
    key.reset();
    if (result != ERROR_SUCCESS) return ERROR_SUCCESS;
    *serverRoot = TextOf(data.data(), std::min<DWORD>(size, data.size()));
    if (serverRoot->empty() || !IsSeparator(serverRoot->back())) *serverRoot += '\\';
    return ERROR_SUCCESS;
}

// Reads the value at `index` with the 260-character rooms. False when the
// call fails for any reason, also for a name or data that does not fit.
bool EnumMapValue(HKEY key, DWORD index, MapValue* value) {
    char name[kTextRoom];
    BYTE data[kTextRoom];
    DWORD nameLength = kTextRoom;
    DWORD size = kTextRoom;
    if (RegEnumValueA(key, index, name, &nameLength, nullptr, nullptr, data, &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    value->name.assign(name, strnlen(name, std::min(nameLength, kTextRoom - 1)));
    value->data = TextOf(data, std::min(size, kTextRoom));
    return true;
}

// The data of the value named "/" wherever it stands in the enumeration (up
// to the first failing call). Without one the document root has no defined
// value; it is then empty, so other directories resolve against the server
// root alone.
std::string FindRootMapping(HKEY key) {
    MapValue value;
    for (DWORD index = 0; EnumMapValue(key, index, &value); ++index) {
        if (value.name == kRootPrefix) return value.data;
    }
    return "";
}

// The first rule that applies gives the full directory; parts are joined as
// they stand, with no separator added, removed or converted.
std::string ResolveDirectory(const MapValue& value, const std::string& serverRoot,
                             const std::string& rootMapping) {
    if (HasDriveLetter(value.data)) return value.data;
    if (!value.data.empty() && IsSeparator(value.data[0])) return serverRoot + value.data;
    if (value.name == kRootPrefix) return serverRoot + value.data;
    if (HasDriveLetter(rootMapping)) return rootMapping + value.data;
    return serverRoot + rootMapping + value.data;
}

std::unique_ptr<char[]> CopyText(const std::string& text) {
    auto copy = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}

// The row of one folder a server configuration maps.
void FillFromFolder(const MappedFolder& folder, DocMapEntry* record) {
    record->m_pszUrlPrefix = CopyText(folder.urlPrefix);
    record->m_pszStoredDir = CopyText(folder.written);
    record->m_pszResolvedDir = CopyText(folder.folder);
    record->m_strDerivation = PlaceText(folder.place) + " " + folder.directive;
}

// Fills the list headed by `head` with the folders of `host`.
void FillFromHost(const ServerHost& host, DocMapEntry* head) {
    DocMapEntry* record = nullptr;
    for (const MappedFolder& folder : host.folders) {
        if (record == nullptr) {
            record = head;
        } else {
            record->m_pNext = std::make_unique<DocMapEntry>();
            record = record->m_pNext.get();
        }
        FillFromFolder(folder, record);
    }
}

}  // namespace

std::string DocMapFailure() { return t_docMapFailure; }

DocMapEntry::DocMapEntry() = default;

DocMapEntry::~DocMapEntry() {
    // Unlinks the records one by one, so a long list does not nest destructors.
    while (m_pNext) m_pNext = std::move(m_pNext->m_pNext);
}

LONG DocMapEntry::ReadDocMap() {
    m_pszUrlPrefix.reset();
    m_pszStoredDir.reset();
    m_pNext.reset();
    m_pszResolvedDir.reset();
    m_strDerivation.clear();

    ServerSource source;
    if (!LookUpServerSource(&source, &t_docMapFailure)) return ERROR_BADDB;
    if (source.kind == ServerSourceKind::kConfig) {
        FillFromHost(source.Host(), this);
        return ERROR_SUCCESS;
    }
    std::string serverRoot;
    HKEY openedKey = nullptr;
    const LONG opened = ReadServerRoot(&serverRoot) == ERROR_BADDB
                            ? ERROR_BADDB
                            : RegOpenKeyExA(g_hkeyServer, kDocMapKey, 0, KEY_READ, &openedKey);
    if (opened == ERROR_BADDB) {
        t_docMapFailure = RegGetLastFailure();
        return opened;
    }
    if (opened != ERROR_SUCCESS) return ERROR_SUCCESS;
    const ScopedRegKey key(openedKey);
    const std::string rootMapping = FindRootMapping(key.get());

    DocMapEntry* record = nullptr;
    MapValue value;
    for (DWORD index = 0; EnumMapValue(key.get(), index, &value); ++index) {
        if (record == nullptr) {
            record = this;
        } else {
            record->m_pNext = std::make_unique<DocMapEntry>();
            record = record->m_pNext.get();
        }
        record->m_pszUrlPrefix = CopyText(value.name);
        record->m_pszStoredDir = CopyText(value.data);
        record->m_pszResolvedDir = CopyText(ResolveDirectory(value, serverRoot, rootMapping));
        record->m_strDerivation = kHiveDerivation;
    }
    return ERROR_SUCCESS;
}
