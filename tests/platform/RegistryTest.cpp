#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
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
constexpr char kDocMapKey[] = "SOFTWARE\\Ostrim\\WebServer\\CurrentVersion\\DocMap";
const std::string kServerSection =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\r\n";
const std::string kDocMapSection = "[HKEY_LOCAL_MACHINE\\" + std::string(kDocMapKey) + "]\r\n";

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

// Each data form with its type and exact bytes; a later value replaces an
// earlier one and "=-" deletes, whatever the case; a "[-KEY]" deletes a key.
TEST_F(RegistryTest, ReadsEachDataFormWithItsTypeAndExactBytesAndDeletions) {
    hives.Write("local", "; the web server\r\n" + kServerSection +
                             "\"ServerRoot\"=\"C:\\\\Web\\\\\"\r\n"
                             "\"Quote\"=\"say \\\"hi\\\"\"\r\n"
                             "@=\"default\"\r\n"
                             "\"Port\"=dword:00000050\r\n"
                             "\"Blob\"=hex:01,02,\\\r\n"
                             "  03,ff\r\n"
                             "\"Admin\"=\"/old\"\r\n\"Gone\"=\"x\"\r\n\"admin\"=\"a@b\"\r\n"
                             "\"gone\"=-\r\n\"Never\"=-\r\n" +
                             kDocMapSection + "\"/\"=\"www\"\r\n[-" + kDocMapSection.substr(1));
    const std::pair<const char*, Value> cases[] = {
        {"serverroot", {ERROR_SUCCESS, REG_SZ, "C:\\Web\\\0"s}},
        {"Quote", {ERROR_SUCCESS, REG_SZ, "say \"hi\"\0"s}},
        {nullptr, {ERROR_SUCCESS, REG_SZ, "default\0"s}},
        {"Port", {ERROR_SUCCESS, REG_DWORD, "\x50\0\0\0"s}},
        {"Blob", {ERROR_SUCCESS, REG_BINARY, "\x01\x02\x03\xff"s}},
        {"Missing", {ERROR_FILE_NOT_FOUND, REG_NONE, ""}},
        {"Admin", {ERROR_SUCCESS, REG_SZ, "a@b\0"s}},
        {"Gone", {ERROR_FILE_NOT_FOUND, REG_NONE, ""}},
    };
    for (const auto& [name, value] : cases) {
        EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, name), value) << (name ? name : "(default)");
    }

    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDocMapKey, 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    BYTE data[7];
    DWORD size = sizeof data;  // one short of C:\Web\ and its NUL
    EXPECT_EQ(RegQueryValueExA(key, "ServerRoot", nullptr, nullptr, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    RegCloseKey(key);
}

TEST_F(RegistryTest, EnumeratesValuesInFileOrderWithinTheGivenRooms) {
    hives.Write(
        "local",
        kDocMapSection +
            "\"/docs\"=\"docs\"\r\n\"/\"=\"htdocs\"\r\n\"/a-rather-long-prefix\"=\"x\"\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDocMapKey, 0, KEY_READ, &key), ERROR_SUCCESS);
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

// Whole hive files, each read for the value "Dir": byte-order marks, CR
// alone as the line end, and string types written as hex data, UTF-16 in
// version 5 files and bytes in REGEDIT4 ones.
TEST_F(RegistryTest, ReadsEveryFileFormAndStringTypesWrittenAsHex) {
    const std::string v4 = "REGEDIT4\r\n" + kServerSection + "\"Dir\"=";
    const std::string v5 = "Windows Registry Editor Version 5.00\r\n" + kServerSection + "\"Dir\"=";
    std::string utf16 = "\xFF\xFE";
    for (char c : v4 + "\"j\xFCrgen\"\r\n") utf16 += {c, '\0'};  // u-umlaut is one unit
    const std::string crOnly = "REGEDIT4\r" + kServerSection.substr(0, kServerSection.size() - 1) +
                               "\"Dir\"=hex:01,\\\r  02\r\"A\"=\"b\"\r";
    const std::pair<std::string, Value> cases[] = {
        {utf16, {ERROR_SUCCESS, REG_SZ, "j\xC3\xBCrgen\0"s}},
        {"\xEF\xBB\xBF" + v4 + "\"j\xC3\xBCrgen\"\r\n",
         {ERROR_SUCCESS, REG_SZ, "j\xC3\xBCrgen\0"s}},
        {crOnly, {ERROR_SUCCESS, REG_BINARY, "\x01\x02"s}},
        {v5 + "hex(2):64,00,6f,00,63,00,73,00,00,00", {ERROR_SUCCESS, REG_EXPAND_SZ, "docs\0"s}},
        {v5 + "hex(7):61,00,00,00,fc,00,00,00,00,00",
         {ERROR_SUCCESS, REG_MULTI_SZ, "a\0\xC3\xBC\0\0"s}},
        {v5 + "hex(1):3d,d8,00,de,00,00", {ERROR_SUCCESS, REG_SZ, "\xF0\x9F\x98\x80\0"s}},
        {v5 + "hex(3):64,00", {ERROR_SUCCESS, 3, "d\0"s}},
        {v4 + "hex(2):64,6f,63,73,00", {ERROR_SUCCESS, REG_EXPAND_SZ, "docs\0"s}},
        {v4 + "hex(7):61,00,fc,00,00", {ERROR_SUCCESS, REG_MULTI_SZ, "a\0\xFC\0\0"s}},
    };
    for (const auto& [file, value] : cases) {
        WriteFileBytes(hives.folder() / "local.reg", file);
        EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, "Dir"), value) << testing::PrintToString(file);
    }
}

TEST_F(RegistryTest, DamagedLocalHiveFailsEveryCallWithFileAndLineMissingOneIsEmpty) {
    const std::string path = hives.folder() / "local.reg";
    EXPECT_EQ(std::get<0>(Query(HKEY_LOCAL_MACHINE, "ServerRoot")), ERROR_FILE_NOT_FOUND);

    const std::pair<std::string, std::string> malformed[] = {
        {"REGEDIT4\n" + kServerSection + "\"ServerRoot\"=broken\n", ":3: malformed registry hive"},
        {"REGEDIT4\r\r\r[HKEY_LOCAL_MACHINE\\x", ":4: malformed registry hive: key line"},
        {"Windows Registry Editor Version 5.00\n" + kServerSection + "\"D\"=hex(2):64\n",
         ":3: malformed registry hive: UTF-16"},
        {"", ":1: malformed registry hive: empty file"},
    };
    for (const auto& [text, reason] : malformed) {
        WriteFileBytes(path, text);
        testing::internal::CaptureStderr();
        EXPECT_EQ(std::get<0>(Query(HKEY_LOCAL_MACHINE, "ServerRoot")), ERROR_BADDB) << reason;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // the caller reports it
        EXPECT_EQ(RegGetLastFailure().rfind(path + reason, 0), 0u) << RegGetLastFailure();
    }

    // A name that is there but is no file to read; a pipe must not block.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(std::get<0>(Query(HKEY_LOCAL_MACHINE, "ServerRoot")), ERROR_BADDB);
    EXPECT_EQ(RegGetLastFailure(), path + ": Is a directory");
    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    BYTE data[4];
    DWORD nameLength = 4, size = sizeof data;
    char name[4];
    EXPECT_EQ(
        RegEnumValueA(HKEY_LOCAL_MACHINE, 0, name, &nameLength, nullptr, nullptr, data, &size),
        ERROR_BADDB);
    EXPECT_EQ(RegGetLastFailure(), path + ": not a regular file");
}

TEST_F(RegistryTest, ConnectsOnlyToMachinesWithAValidHive) {
    hives.Write("webhost", kServerSection + "\"ServerRoot\"=\"/srv/remote\"\r\n");
    hives.Write("broken", "[HKEY_CURRENT_USER\\Software]\r\n");
    HKEY remote = nullptr;
    ASSERT_EQ(RegConnectRegistryA("webhost", HKEY_LOCAL_MACHINE, &remote), ERROR_SUCCESS);
    EXPECT_EQ(std::get<2>(Query(remote, "ServerRoot")), "/srv/remote\0"s);
    RegCloseKey(remote);

    EXPECT_EQ(RegConnectRegistryA("broken", HKEY_LOCAL_MACHINE, &remote), ERROR_BADDB);
    EXPECT_EQ(RegGetLastFailure(),
              (hives.folder() / "broken.reg") +
                  ":3: malformed registry hive: only keys under HKEY_LOCAL_MACHINE are supported");
    EXPECT_EQ(RegConnectRegistryA("nowhere", HKEY_LOCAL_MACHINE, &remote), ERROR_BAD_NETPATH);
    for (const char* bad : {"nowhere", "../local", "a/b", "..", ".hidden", "x y", "\\\\host"}) {
        EXPECT_NE(RegConnectRegistryA(bad, HKEY_LOCAL_MACHINE, &remote), ERROR_SUCCESS) << bad;
    }
}

}  // namespace
