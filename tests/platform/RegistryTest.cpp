#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/registry.h"
#include "support/Hive.h"

namespace {

using namespace std::string_literals;
using Value = std::tuple<LONG, DWORD, std::string>;  // result, type, bytes

// Key names match whatever their case: the hives below spell them otherwise.
constexpr char kServerKey[] = "software\\OSTRIM\\webserver\\CurrentVersion";
const std::string kServerSection =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\r\n";

// The value `name` of the server key below `root`, read after asking for its size.
Value Query(HKEY root, const char* name) {
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(root, kServerKey, 0, KEY_READ, &key);
    DWORD type = REG_NONE, size = 0;
    std::string bytes;
    if (result == ERROR_SUCCESS)
        result = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        bytes.resize(size);
        result = RegQueryValueExA(key, name, nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(bytes.data()), &size);
    }
    RegCloseKey(key);
    return {result, type, bytes};
}

class RegistryTest : public ::testing::Test {
  protected:
    ScopedHiveFolder hives;
};

TEST_F(RegistryTest, ReadsEachDataFormWithItsTypeAndExactBytes) {
    hives.Write("local", "; the web server\r\n" + kServerSection +
                             "\"ServerRoot\"=\"C:\\\\Web\\\\\"\r\n"
                             "\"Quote\"=\"say \\\"hi\\\"\"\r\n"
                             "@=\"default\"\r\n"
                             "\"Port\"=dword:00000050\r\n"
                             "\"Blob\"=hex:01,02,\\\r\n"
                             "  03,ff\r\n"
                             "\"Expand\"=hex(2):41,00,00,00\r\n");
    const std::pair<const char*, Value> cases[] = {
        {"serverroot", {ERROR_SUCCESS, REG_SZ, "C:\\Web\\\0"s}},
        {"Quote", {ERROR_SUCCESS, REG_SZ, "say \"hi\"\0"s}},
        {nullptr, {ERROR_SUCCESS, REG_SZ, "default\0"s}},
        {"Port", {ERROR_SUCCESS, REG_DWORD, "\x50\0\0\0"s}},
        {"Blob", {ERROR_SUCCESS, REG_BINARY, "\x01\x02\x03\xff"s}},
        {"Expand", {ERROR_SUCCESS, REG_EXPAND_SZ, "A\0\0\0"s}},
        {"Missing", {ERROR_FILE_NOT_FOUND, REG_NONE, ""}},
    };
    for (const auto& [name, value] : cases) {
        EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, name), value) << (name ? name : "(default)");
    }

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    BYTE data[7];
    DWORD size = sizeof data;  // one short of C:\Web\ and its NUL
    EXPECT_EQ(RegQueryValueExA(key, "ServerRoot", nullptr, nullptr, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    RegCloseKey(key);
}

TEST_F(RegistryTest, EnumeratesValuesInFileOrderWithinTheGivenRooms) {
    hives.Write("local",
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion\\DocMap]\r\n"
                "\"/docs\"=\"docs\"\r\n\"/\"=\"htdocs\"\r\n\"/a-rather-long-prefix\"=\"x\"\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ostrim\\WebServer\\CurrentVersion\\DocMap", 0,
                      KEY_READ, &key),
        ERROR_SUCCESS);
    char name[260];
    BYTE data[260];
    DWORD nameLength = sizeof name, size = sizeof data;
    std::vector<std::string> names;
    for (DWORD index = 0; RegEnumValueA(key, index, name, &nameLength, nullptr, nullptr, data,
                                        &size) == ERROR_SUCCESS;
         ++index, nameLength = sizeof name, size = sizeof data) {
        names.emplace_back(name, nameLength + 1);  // the length leaves out the NUL
    }
    EXPECT_EQ(names, (std::vector{"/docs\0"s, "/\0"s, "/a-rather-long-prefix\0"s}));

    // "/docs" needs 6 characters with its NUL, "docs" 5 bytes.
    for (const auto& [nameRoom, dataRoom, result] : {std::tuple{6u, 5u, ERROR_SUCCESS},
                                                     {5u, 5u, ERROR_MORE_DATA},
                                                     {6u, 4u, ERROR_MORE_DATA}}) {
        nameLength = nameRoom, size = dataRoom;
        EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, data, &size), result)
            << nameRoom << " " << dataRoom;
    }
    RegCloseKey(key);
}

TEST_F(RegistryTest, ReadsUtf16AndUtf8WithByteOrderMarks) {
    const std::string before = "REGEDIT4\r\n" + kServerSection + "\"ServerAdmin\"=\"j";
    const std::string after = "rgen\"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : before + "\xFC" + after) utf16 += {c, '\0'};  // u-umlaut is one unit
    for (const std::string& file : {utf16, "\xEF\xBB\xBF" + before + "\xC3\xBC" + after}) {
        WriteFileBytes(hives.folder() / "local.reg", file);
        EXPECT_EQ(std::get<2>(Query(HKEY_LOCAL_MACHINE, "ServerAdmin")), "j\xC3\xBCrgen\0"s);
    }
}

TEST_F(RegistryTest, MissingOrMalformedLocalHiveReadsAsEmpty) {
    EXPECT_EQ(std::get<0>(Query(HKEY_LOCAL_MACHINE, "ServerRoot")), ERROR_FILE_NOT_FOUND);
    WriteFileBytes(hives.folder() / "local.reg",
                   "REGEDIT4\n" + kServerSection + "\"ServerRoot\"=broken\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(std::get<0>(Query(HKEY_LOCAL_MACHINE, "ServerRoot")), ERROR_FILE_NOT_FOUND);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("local.reg:3:"), std::string::npos) << message;
}

TEST_F(RegistryTest, ConnectsOnlyToMachinesWithAValidHive) {
    hives.Write("webhost", kServerSection + "\"ServerRoot\"=\"/srv/remote\"\r\n");
    hives.Write("broken", "[HKEY_CURRENT_USER\\Software]\r\n");
    HKEY remote = nullptr;
    ASSERT_EQ(RegConnectRegistryA("webhost", HKEY_LOCAL_MACHINE, &remote), ERROR_SUCCESS);
    EXPECT_EQ(std::get<2>(Query(remote, "ServerRoot")), "/srv/remote\0"s);
    RegCloseKey(remote);

    testing::internal::CaptureStderr();
    EXPECT_NE(RegConnectRegistryA("broken", HKEY_LOCAL_MACHINE, &remote), ERROR_SUCCESS);
    testing::internal::GetCapturedStderr();
    for (const char* bad : {"nowhere", "../local", "a/b", "..", ".hidden", "x y", "\\\\host"}) {
        EXPECT_NE(RegConnectRegistryA(bad, HKEY_LOCAL_MACHINE, &remote), ERROR_SUCCESS) << bad;
    }
}

}  // namespace
