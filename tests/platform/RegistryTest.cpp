#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry.h"
#include "support/Hive.h"

namespace {

constexpr char kServerKey[] = "SOFTWARE\\Ostrim\\WebServer\\CurrentVersion";

class RegistryTest : public ::testing::Test {
protected:
    ScopedHiveFolder hives;

    // Reads a value of the server key below `root` as text, "" on failure.
    static LONG Query(HKEY root, const char* name, std::string* text, DWORD room = 260) {
        HKEY key = nullptr;
        LONG result = RegOpenKeyExA(root, kServerKey, 0, KEY_READ, &key);
        if (result != ERROR_SUCCESS) return result;
        std::vector<BYTE> buffer(room);
        DWORD size = room;
        result = RegQueryValueExA(key, name, nullptr, nullptr, buffer.data(), &size);
        RegCloseKey(key);
        if (result == ERROR_SUCCESS) text->assign(reinterpret_cast<char*>(buffer.data()));
        return result;
    }
};

TEST_F(RegistryTest, ReadsStringsWithEscapesAndCountsTheTerminator) {
    hives.Write("local",
                "; the web server\r\n"
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\r\n"
                "\"ServerRoot\"=\"C:\\\\Web\\\\\"\r\n"
                "\"Quote\"=\"say \\\"hi\\\"\"\r\n"
                "@=\"default\"\r\n");
    std::string text;
    ASSERT_EQ(Query(HKEY_LOCAL_MACHINE, "serverroot", &text), ERROR_SUCCESS);
    EXPECT_EQ(text, "C:\\Web\\");
    ASSERT_EQ(Query(HKEY_LOCAL_MACHINE, "Quote", &text), ERROR_SUCCESS);
    EXPECT_EQ(text, "say \"hi\"");
    ASSERT_EQ(Query(HKEY_LOCAL_MACHINE, nullptr, &text), ERROR_SUCCESS);
    EXPECT_EQ(text, "default");

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\OSTRIM\\webserver\\currentversion", 0,
                            KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "ServerRoot", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 8u);  // C:\Web\ and its NUL
    BYTE small[8];
    size = 7;
    EXPECT_EQ(RegQueryValueExA(key, "ServerRoot", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    RegCloseKey(key);
}

TEST_F(RegistryTest, EnumeratesValuesInFileOrderWithSeparateRooms) {
    hives.Write("local",
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion\\DocMap]\r\n"
                "\"/docs\"=\"docs\"\r\n"
                "\"/\"=\"htdocs\"\r\n"
                "\"/a-rather-long-prefix\"=\"x\"\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ostrim\\WebServer\\CurrentVersion\\DocMap",
                            0, KEY_READ, &key),
              ERROR_SUCCESS);
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[260];
        BYTE data[260];
        DWORD nameLength = sizeof name;
        DWORD size = sizeof data;
        const LONG result =
            RegEnumValueA(key, index, name, &nameLength, nullptr, nullptr, data, &size);
        if (result == ERROR_NO_MORE_ITEMS) break;
        ASSERT_EQ(result, ERROR_SUCCESS);
        EXPECT_EQ(nameLength, std::string(name).size());
        names.emplace_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"/docs", "/", "/a-rather-long-prefix"}));

    char name[4];
    BYTE data[260];
    DWORD nameLength = sizeof name;  // "/docs" and its NUL need 6
    DWORD size = sizeof data;
    EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, data, &size),
              ERROR_MORE_DATA);
    RegCloseKey(key);
}

TEST_F(RegistryTest, ReadsDwordAndHexDataOverContinuationLines) {
    hives.Write("local",
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\r\n"
                "\"Port\"=dword:00000050\r\n"
                "\"Blob\"=hex:01,02,\\\r\n"
                "  03,ff\r\n"
                "\"Expand\"=hex(2):41,00,00,00\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    BYTE data[16];
    DWORD size = sizeof data;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "Port", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(std::vector<BYTE>(data, data + size), (std::vector<BYTE>{0x50, 0, 0, 0}));
    size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "Blob", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(std::vector<BYTE>(data, data + size), (std::vector<BYTE>{1, 2, 3, 0xff}));
    size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "Expand", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(size, 4u);
    RegCloseKey(key);
}

TEST_F(RegistryTest, ReadsUtf16AndUtf8WithByteOrderMarks) {
    const std::string text =
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\r\n"
        "\"ServerAdmin\"=\"j\xC3\xBCrgen@example.org\"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (unsigned char c : std::string("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\"
                                       "WebServer\\CurrentVersion]\r\n\"ServerAdmin\"=\"j")) {
        utf16 += static_cast<char>(c);
        utf16 += '\0';
    }
    utf16 += std::string("\xFC\0", 2);  // u-umlaut as one UTF-16 unit
    for (char c : std::string("rgen@example.org\"\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    std::string admin;
    WriteFileBytes(hives.folder() / "local.reg", utf16);
    ASSERT_EQ(Query(HKEY_LOCAL_MACHINE, "ServerAdmin", &admin), ERROR_SUCCESS);
    EXPECT_EQ(admin, "j\xC3\xBCrgen@example.org");
    WriteFileBytes(hives.folder() / "local.reg", "\xEF\xBB\xBF" + text);
    ASSERT_EQ(Query(HKEY_LOCAL_MACHINE, "ServerAdmin", &admin), ERROR_SUCCESS);
    EXPECT_EQ(admin, "j\xC3\xBCrgen@example.org");
}

TEST_F(RegistryTest, MissingOrMalformedLocalHiveReadsAsEmpty) {
    std::string text;
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, "ServerRoot", &text), ERROR_FILE_NOT_FOUND);
    WriteFileBytes(hives.folder() / "local.reg",
                   "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\n"
                   "\"ServerRoot\"=broken\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, "ServerRoot", &text), ERROR_FILE_NOT_FOUND);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("local.reg:3:"), std::string::npos) << message;
}

TEST_F(RegistryTest, ConnectsOnlyToMachinesWithAValidHive) {
    hives.Write("webhost",
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\r\n"
                "\"ServerRoot\"=\"/srv/remote\"\r\n");
    hives.Write("broken", "[HKEY_CURRENT_USER\\Software]\r\n");
    HKEY remote = nullptr;
    ASSERT_EQ(RegConnectRegistryA("webhost", HKEY_LOCAL_MACHINE, &remote), ERROR_SUCCESS);
    std::string text;
    ASSERT_EQ(Query(remote, "ServerRoot", &text), ERROR_SUCCESS);
    EXPECT_EQ(text, "/srv/remote");
    RegCloseKey(remote);

    testing::internal::CaptureStderr();
    EXPECT_NE(RegConnectRegistryA("broken", HKEY_LOCAL_MACHINE, &remote), ERROR_SUCCESS);
    testing::internal::GetCapturedStderr();
    for (const char* bad : {"nowhere", "../local", "a/b", "..", ".hidden", "x y", "\\\\host"}) {
        EXPECT_NE(RegConnectRegistryA(bad, HKEY_LOCAL_MACHINE, &remote), ERROR_SUCCESS) << bad;
    }
}

}  // namespace
