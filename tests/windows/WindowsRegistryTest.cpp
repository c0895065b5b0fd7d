// The real registry, read through the program's UTF-8 calls from a private
// HKEY_LOCAL_MACHINE loaded from the same hive texts as on POSIX systems.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "support/Hive.h"

namespace {

constexpr char kDocMap[] = "SOFTWARE\\Ostrim\\WebServer\\CurrentVersion\\DocMap";

struct Value {
    std::string name;
    std::string data;
    auto operator<=>(const Value&) const = default;
};

// Wine keeps a key's values sorted by name, where Windows gives them in the
// order they were written: under wine only the values themselves can be
// compared.
bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"); }

std::vector<Value> InEnumerationOrder(std::vector<Value> values) {
    if (UnderWine()) std::sort(values.begin(), values.end());
    return values;
}

std::vector<Value> DocMapValues() {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDocMap, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return {};
    const ScopedRegKey key(opened);
    std::vector<Value> values;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameLength = sizeof name;
        BYTE data[256];
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key.get(), index, name, &nameLength, nullptr, &type, data, &size) !=
            ERROR_SUCCESS) {
            break;
        }
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        values.push_back({std::string(name, nameLength), reinterpret_cast<const char*>(data)});
    }
    return values;
}

TEST(WindowsRegistryTest, TheDocMapComesInItsOrderWithTextInUtf8) {
    ScopedHiveFolder hive;
    hive.Write("local", ServerHiveText("C:\\srv\\", std::vector<MapValueText>{
                                                        {"/", "htdocs\\"},
                                                        {"/z\xc3\xbcrich", "Z\xc3\xbcrich"},
                                                        {"/archive", "\\archive"}}));
    const std::vector<Value> expected{
        {"/", "htdocs\\"}, {"/z\xc3\xbcrich", "Z\xc3\xbcrich"}, {"/archive", "\\archive"}};
    EXPECT_EQ(DocMapValues(), InEnumerationOrder(expected));
}

TEST(WindowsRegistryTest, QueriesTellTheSizeAndRefuseTooSmallRoom) {
    ScopedHiveFolder hive;
    hive.Write("local", ServerHiveText("C:\\r\xc3\xa9pertoire\\", std::nullopt));
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\OSTRIM\\WebServer\\CurrentVersion", 0,
                            KEY_READ, &opened),
              ERROR_SUCCESS);
    const ScopedRegKey key(opened);
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExA(key.get(), "ServerRoot", nullptr, nullptr, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 16u);  // "C:\répertoire\" in UTF-8 and its NUL
    BYTE small[4];
    DWORD room = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key.get(), "ServerRoot", nullptr, nullptr, small, &room),
              ERROR_MORE_DATA);
    EXPECT_EQ(room, 16u);
    EXPECT_EQ(RegQueryValueExA(key.get(), "Missing", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
}

TEST(WindowsRegistryTest, AnEmptyRegistryHasNoServerKeyAndAnUnknownMachineIsUnreachable) {
    ScopedHiveFolder hive;
    EXPECT_TRUE(DocMapValues().empty());
    HKEY remote = nullptr;
    EXPECT_EQ(RegConnectRegistryA("no-such-machine.invalid", HKEY_LOCAL_MACHINE, &remote),
              ERROR_BAD_NETPATH);
    EXPECT_EQ(RegConnectRegistryA("../local", HKEY_LOCAL_MACHINE, &remote), ERROR_BAD_NETPATH);
    EXPECT_FALSE(RegUsesHiveFiles());
}

}  // namespace
