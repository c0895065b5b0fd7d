#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/Commands.h"
#include "support/Hive.h"
#include "support/RunProgram.h"

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
        const ProgramResult result = RunInProcess(command);
        out = result.output;
        err = result.errors;
        return result.exitCode;
    }
};

TEST_F(ServerCommandsTest, JsonListsOfTheNamedMachineComeInTheChoosersOrder) {
    const std::string docMap =
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion\\DocMap]\r\n\"/\"=\"";
    hives.Write("web1", docMap + docs.path() + "\"\r\n");
    hives.Write("local", docMap + "/elsewhere\"\r\n");
    ASSERT_EQ(Run([] { return RunDocmap("web1", true); }), 0) << err;
    EXPECT_EQ(json::parse(out), json({{"source", "the registry hive of the -r machine"},
                                      {"map", json::array({{{"prefix", "/"},
                                                            {"stored", docs.path()},
                                                            {"resolved", docs.path()},
                                                            {"from", "hive value DocMap"}}})}}));

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

TEST_F(ServerCommandsTest, ResolvedDirectoriesShowTheSystemsSeparators) {
    hives.Write("local", ServerHiveText(
                             "/srv", std::vector<MapValueText>{
                                         {"/", "/srv/www/"}, {"/a", "C:\\a\\"}, {"/b", "b\\\\c"}}));
    ASSERT_EQ(Run([] { return RunDocmap("", true); }), 0) << err;
    json map = json::parse(out)["map"];
    for (json& row : map) row.erase("from");
    EXPECT_EQ(
        map,
        json::array({{{"prefix", "/"}, {"stored", "/srv/www/"}, {"resolved", "/srv/srv/www"}},
                     {{"prefix", "/a"}, {"stored", "C:\\a\\"}, {"resolved", "C:/a"}},
                     {{"prefix", "/b"}, {"stored", "b\\\\c"}, {"resolved", "/srv/srv/www/b/c"}}}));
}

TEST_F(ServerCommandsTest, DamagedOrMissingHivesAndFoldersFailNamingThemOnce) {
    const std::string broken = "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\"x\"=broken\r\n";
    hives.Write("local", broken);
    hives.Write("web1", broken);
    std::filesystem::create_directory(hives.folder() / "web2.reg");
    const struct {
        std::function<int()> command;
        std::string reason;
    } cases[] = {
        {[] { return RunDocmap("", false); }, "local.reg:4: malformed registry hive"},
        {[] { return RunDirs("", true); }, "local.reg:4: malformed registry hive"},
        {[] { return RunDocmap("web1", true); }, "web1.reg:4: malformed registry hive"},
        {[] { return RunDirs("web2", false); }, "web2.reg: Is a directory"},
        {[] { return RunDocmap("nowhere", true); }, "nowhere.reg does not exist"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.command), 1) << c.reason;
        EXPECT_TRUE(out.empty()) << out;
        const std::string where = hives.folder() / c.reason;
        const std::size_t found = err.find(where);
        EXPECT_NE(found, std::string::npos) << err;
        EXPECT_EQ(err.find(".reg", found + where.size()), std::string::npos) << err;  // once
    }
    EXPECT_EQ(Run([&] { return RunFiles(docs / "missing", false); }), 1);
    EXPECT_NE(err.find(docs / "missing"), std::string::npos) << err;
}

// An empty listing is never left unexplained: where the settings came from,
// and why they list nothing, are said on standard error.
TEST_F(ServerCommandsTest, SettingsSourceAndMissingDirectoriesAreSaid) {
    EXPECT_EQ(Run([] { return RunDocmap("", false); }), 0);  // a fresh install: no local.reg
    EXPECT_NE(err.find(hives.folder() / "local.reg does not exist"), std::string::npos) << err;
    EXPECT_NE(err.find("local.reg.example"), std::string::npos) << err;

    const TempDir server;
    std::filesystem::create_directories(server / "site/htdocs");
    const std::string outside = server / "site/htdocs";
    hives.Write("local", ServerHiveText(docs.path(), std::vector<MapValueText>{{"/", outside}}));
    EXPECT_EQ(Run([] { return RunDirs("", false); }), 0);
    EXPECT_NE(err.find("settings read from " + (hives.folder() / "local.reg")), std::string::npos)
        << err;
    EXPECT_NE(err.find(", " + docs.path() + outside + ", does not exist"), std::string::npos)
        << err;
    EXPECT_NE(err.find("taken below ServerRoot; " + outside + " itself exists"), std::string::npos)
        << err;

    hives.Write("local", ServerHiveText(docs.path(), std::nullopt));
    EXPECT_EQ(Run([] { return RunDocmap("", false); }), 0);
    EXPECT_NE(err.find("maps no directory"), std::string::npos) << err;

    setenv("TAVREL_REGISTRY_DIR", (hives.folder() / "misspelt").c_str(), 1);
    EXPECT_EQ(Run([] { return RunDocmap("", false); }), 1);
    EXPECT_NE(err.find("registry folder " + (hives.folder() / "misspelt") + " does not exist"),
              std::string::npos)
        << err;
    EXPECT_TRUE(out.empty()) << out;
}

TEST_F(ServerCommandsTest, UnreadableDirectoriesAreNamed) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every directory";
    hives.Write("local", ServerHiveText("/", std::vector<MapValueText>{{"/", docs.path()}}));
    std::filesystem::permissions(docs / "news", std::filesystem::perms::none);
    EXPECT_EQ(Run([] { return RunDirs("", false); }), 0);
    std::filesystem::permissions(docs / "news", std::filesystem::perms::owner_all);
    EXPECT_NE(err.find(docs / "news cannot be read by this user"), std::string::npos) << err;
}

}  // namespace
