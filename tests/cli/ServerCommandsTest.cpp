#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/Commands.h"
#include "support/Hive.h"

namespace {

class ServerCommandsTest : public ::testing::Test {
  protected:
    ScopedHiveFolder hives;
    TempDir docs;

    void SetUp() override {
        for (const char* dir : {"news", "Docs", "about"}) {
            std::filesystem::create_directory(docs / dir);
        }
        for (const char* file : {"b.htm", "Index.htm", "a.htm"}) WriteFileBytes(docs / file, "x");
    }

    void WriteHive(const std::string& machine) {
        hives.Write(machine,
                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion\\DocMap]\r\n"
                    "\"/\"=\"" +
                        docs.path() + "\"\r\n");
    }

    // Runs `command`, returning its exit code with its output in `out` and `err`.
    template <typename Command>
    int Run(Command command, std::string* out, std::string* err) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int code = command();
        *out = testing::internal::GetCapturedStdout();
        *err = testing::internal::GetCapturedStderr();
        return code;
    }
};

TEST_F(ServerCommandsTest, JsonListsComeInTheChoosersOrder) {
    WriteHive("web1");
    std::string out, err;
    ASSERT_EQ(Run([] { return RunDocmap("web1", true); }, &out, &err), 0) << err;
    EXPECT_EQ(nlohmann::json::parse(out),
              nlohmann::json::parse(R"([{"prefix": "/", "stored": ")" + docs.path() +
                                    R"(", "resolved": ")" + docs.path() + R"("}])"));

    ASSERT_EQ(Run([] { return RunDirs("web1", true); }, &out, &err), 0) << err;
    std::vector<std::string> urls;
    for (const auto& item : nlohmann::json::parse(out)) {
        urls.push_back(item["url"]);
        EXPECT_EQ(item["path"], docs.path() + (urls.back() == "/" ? "" : urls.back()));
    }
    EXPECT_EQ(urls, (std::vector<std::string>{"/", "/about", "/Docs", "/news"}));

    ASSERT_EQ(Run([&] { return RunFiles(docs.path(), true); }, &out, &err), 0) << err;
    EXPECT_EQ(nlohmann::json::parse(out), nlohmann::json({"a.htm", "b.htm", "Index.htm"}));
    ASSERT_EQ(Run([&] { return RunFiles(docs.path(), false); }, &out, &err), 0) << err;
    EXPECT_EQ(out, "a.htm\nb.htm\nIndex.htm\n");
    WriteFileBytes(docs / "caf\xe9.htm", "x");  // not UTF-8
    ASSERT_EQ(Run([&] { return RunFiles(docs.path(), true); }, &out, &err), 0) << err;
    EXPECT_EQ(nlohmann::json::parse(out)[2], "caf\uFFFD.htm");
}

TEST_F(ServerCommandsTest, UnreachableMachineOrDirectoryFailsWithAMessage) {
    std::string out, err;
    EXPECT_EQ(Run([] { return RunDocmap("nowhere", true); }, &out, &err), 1);
    EXPECT_NE(err.find("\"nowhere\""), std::string::npos) << err;
    EXPECT_EQ(Run([] { return RunDirs("../etc/passwd", false); }, &out, &err), 1);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(Run([&] { return RunFiles(docs / "missing", false); }, &out, &err), 1);
    EXPECT_NE(err.find(docs / "missing"), std::string::npos) << err;
}

}  // namespace
