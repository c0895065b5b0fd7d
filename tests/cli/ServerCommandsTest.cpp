#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/Commands.h"
#include "support/Hive.h"

namespace {

using nlohmann::json;

class ServerCommandsTest : public ::testing::Test {
  protected:
    ScopedHiveFolder hives;
    TempDir docs;
    std::string out, err;

    void SetUp() override {
        for (const char* dir : {"news", "Docs", "about"}) {
            std::filesystem::create_directory(docs / dir);
        }
        for (const char* file : {"b.htm", "Index.htm", "a.htm"}) WriteFileBytes(docs / file, "x");
    }

    // Runs `command` with its output kept in `out` and `err`; its exit code.
    int Run(const std::function<int()>& command) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int code = command();
        out = testing::internal::GetCapturedStdout();
        err = testing::internal::GetCapturedStderr();
        return code;
    }
};

TEST_F(ServerCommandsTest, JsonListsOfTheNamedMachineComeInTheChoosersOrder) {
    const std::string docMap =
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion\\DocMap]\r\n\"/\"=\"";
    hives.Write("web1", docMap + docs.path() + "\"\r\n");
    hives.Write("local", docMap + "/elsewhere\"\r\n");
    ASSERT_EQ(Run([] { return RunDocmap("web1", true); }), 0) << err;
    EXPECT_EQ(json::parse(out),
              json::array({{{"prefix", "/"}, {"stored", docs.path()}, {"resolved", docs.path()}}}));

    ASSERT_EQ(Run([] { return RunDirs("web1", true); }), 0) << err;
    json dirs = json::array();
    for (const std::string url : {"/", "/about", "/Docs", "/news"}) {
        dirs.push_back({{"url", url}, {"path", docs.path() + (url == "/" ? "" : url)}});
    }
    EXPECT_EQ(json::parse(out), dirs);

    WriteFileBytes(docs / "caf\xe9.htm", "x");  // not UTF-8
    ASSERT_EQ(Run([&] { return RunFiles(docs.path(), true); }), 0) << err;
    EXPECT_EQ(json::parse(out), json({"a.htm", "b.htm", "caf\uFFFD.htm", "Index.htm"}));
}

TEST_F(ServerCommandsTest, UnreachableMachineOrDirectoryFailsWithAMessage) {
    EXPECT_EQ(Run([] { return RunDocmap("nowhere", true); }), 1);
    EXPECT_NE(err.find("\"nowhere\""), std::string::npos) << err;
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(Run([&] { return RunFiles(docs / "missing", false); }), 1);
    EXPECT_NE(err.find(docs / "missing"), std::string::npos) << err;
}

}  // namespace
