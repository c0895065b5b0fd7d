// The web server's settings through the tavrel commands: the document map,
// the directories and files the link chooser lists, where the settings came
// from and why they list nothing, damaged or missing hives; and the server's
// own configuration as their source: which source wins, the links `tavrel
// url` composes, the feed's address, and a configuration that cannot be read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "CliTesting.h"
#include "cli/Commands.h"
#include "model/ItemList.h"
#include "model/ServerSource.h"
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

    void TearDown() override { g_serverChoice = ServerChoice{}; }

    // Runs `command` with its output kept in `out` and `err`; its exit code.
    int Run(const std::function<int()>& command) {
        const ProgramResult result = RunInProcess(command);
        out = result.output;
        err = result.errors;
        return result.exitCode;
    }
};

TEST_F(ServerCommandsTest, JsonListsOfTheNamedMachineComeInTheChoosersOrder) {
    hives.Write("web1",
                ServerHiveText(std::nullopt, std::vector<MapValueText>{{"/", docs.path()}}));
    hives.Write("local", ServerHiveText(std::nullopt, std::vector<MapValueText>{{"/", "/x"}}));
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
    EXPECT_TRUE(Says(err, docs / "missing"));
}

// An empty listing is never left unexplained: where the settings came from,
// and why they list nothing, are said on standard error.
TEST_F(ServerCommandsTest, SettingsSourceAndMissingDirectoriesAreSaid) {
    EXPECT_EQ(Run([] { return RunDocmap("", false); }), 0);  // a fresh install: no local.reg
    EXPECT_TRUE(Says(err, hives.folder() / "local.reg does not exist"));
    EXPECT_TRUE(Says(err, "local.reg.example"));

    const TempDir server;
    std::filesystem::create_directories(server / "site/htdocs");
    const std::string outside = server / "site/htdocs";
    hives.Write("local", ServerHiveText(docs.path(), std::vector<MapValueText>{{"/", outside}}));
    EXPECT_EQ(Run([] { return RunDirs("", false); }), 0);
    EXPECT_TRUE(Says(err, "settings read from " + (hives.folder() / "local.reg")));
    EXPECT_TRUE(Says(err, ", " + docs.path() + outside + ", does not exist"));
    EXPECT_TRUE(Says(err, "taken below ServerRoot; " + outside + " itself exists"));

    hives.Write("local", ServerHiveText(docs.path(), std::nullopt));
    EXPECT_EQ(Run([] { return RunDocmap("", false); }), 0);
    EXPECT_TRUE(Says(err, "maps no directory"));

    setenv("TAVREL_REGISTRY_DIR", (hives.folder() / "misspelt").c_str(), 1);
    EXPECT_EQ(Run([] { return RunDocmap("", false); }), 1);
    EXPECT_TRUE(Says(err, "registry folder " + (hives.folder() / "misspelt") + " does not exist"));
    EXPECT_TRUE(out.empty()) << out;
}

TEST_F(ServerCommandsTest, UnreadableDirectoriesAreNamed) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every directory";
    hives.Write("local", ServerHiveText("/", std::vector<MapValueText>{{"/", docs.path()}}));
    std::filesystem::permissions(docs / "news", std::filesystem::perms::none);
    EXPECT_EQ(Run([] { return RunDirs("", false); }), 0);
    std::filesystem::permissions(docs / "news", std::filesystem::perms::owner_all);
    EXPECT_TRUE(Says(err, docs / "news cannot be read by this user"));
}

constexpr char kHiveKey[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\r\n";

// A folder that holds an Apache and an nginx configuration and the folders
// they serve; the hive names the Apache one.
class ServerSourceTest : public ServerCommandsTest {
  protected:
    const TempDir& dir = docs;

    void SetUp() override {
        for (const char* folder : {"www/news", "www/.hidden", "www/archive", "manuals", "b"}) {
            std::filesystem::create_directories(dir / folder);
        }
        // Apache: two hosts, the first with an alias outside its root.
        std::string apache =
            "ServerRoot %D\nServerAdmin admin@example.org\n"
            "<VirtualHost *:8080>\n ServerName www.example.org\n DocumentRoot www\n"
            " Alias /manuals/ %D/manuals/\n Alias /archive %D/www/archive\n"
            " AliasMatch ^/x(.*) /srv/x$1\n</VirtualHost>\n"
            "<VirtualHost *:8080>\n ServerName b.example.org\n DocumentRoot b\n</VirtualHost>\n";
        for (auto at = apache.find("%D"); at != std::string::npos; at = apache.find("%D"))
            apache.replace(at, 2, dir.path());
        WriteFileBytes(dir / "apache2.conf", apache);
        WriteFileBytes(dir / "nginx.conf", "http { server { root " + dir.path() + "/b; } }\n");
        hives.Write("local", std::string(kHiveKey) + "\"ServerConfig\"=\"" + dir.path() +
                                 "/apache2.conf\"\r\n\"ServerAdmin\"=\"hive@example.org\"\r\n");
    }
};

TEST_F(ServerSourceTest, TheOptionComesBeforeTheHiveValueAndMinusRReadsTheHive) {
    ASSERT_EQ(Run([] { return RunDocmap("", true); }), 0) << err;
    json map = json::parse(out);
    EXPECT_TRUE(
        Says(map["source"].get<std::string>(),
             "Apache configuration " + dir.path() + "/apache2.conf (named by the hive value"));
    EXPECT_EQ(map["map"][0]["resolved"], dir.path() + "/www");
    EXPECT_EQ(map["map"][0]["from"], dir.path() + "/apache2.conf:5 DocumentRoot");
    EXPECT_EQ(map["map"][3]["prefix"], "^/x(.*)");  // listed, never guessed
    EXPECT_EQ(map["map"][3]["resolved"], nullptr);

    g_serverChoice.configFile = dir / "nginx.conf";
    ASSERT_EQ(Run([] { return RunDocmap("", false); }), 0) << err;
    EXPECT_EQ(out.find("Source: nginx configuration " + dir.path() +
                       "/nginx.conf (named by --server-config)"),
              0u)
        << out;
    EXPECT_TRUE(Says(out, dir.path() + "/nginx.conf:1 root"));

    hives.Write("web1", ServerHiveText(std::nullopt, std::vector<MapValueText>{{"/", "/srv"}}));
    ASSERT_EQ(Run([] { return RunDocmap("web1", true); }), 0) << err;
    EXPECT_EQ(json::parse(out)["map"][0]["from"], "hive value DocMap");
}

TEST_F(ServerSourceTest, UrlComposesTheChoosersLinkOfTheChosenHost) {
    const struct {
        std::string site;
        std::string file;
        std::string url;  // empty: refused
    } cases[] = {
        {"", dir / "www/news/a.html", "/news/a.html"},
        {"", dir / "www/top.html", "/top.html"},
        {"", dir / "manuals/m.html", "/manuals/m.html"},
        {"", dir / "www/archive/old.html", "/archive/old.html"},  // the closer mapping wins
        {"b.example.org", dir / "b/index.html", "/index.html"},
        {"b.example.org", dir / "www/top.html", ""},  // not in that host's map
        {"", dir / "elsewhere.html", ""},
        {"", dir / "www/.hidden/x.html", ""},  // the chooser never lists it
    };
    for (const auto& c : cases) {
        g_serverChoice.site = c.site;
        g_serverChoice.page = c.file;
        const int code = Run([&] { return RunUrl("", c.file); });
        if (c.url.empty()) {
            EXPECT_EQ(code, 1) << c.file << " gave " << out;
            EXPECT_TRUE(Says(err, c.file + " is in no directory the link chooser lists"));
        } else {
            EXPECT_EQ(code, 0) << err;
            EXPECT_EQ(out, c.url + "\n") << c.file;
        }
    }
}

TEST_F(ServerSourceTest, TheFeedAndAFreshPageFollowTheChosenHostAndTheHiveFillsItsGaps) {
    const std::string page = dir / "www/news/index.html";
    g_serverChoice.page = page;
    const EntryFields fields{"December 6, 2026", {}, "/news/a.html", {}};
    ASSERT_EQ(Run([&] { return RunAdd(page, fields); }), 0) << err;
    EXPECT_TRUE(Says(ReadFileBytes(page), "admin@example.org"));
    ASSERT_EQ(Run([&] { return RunFeed(page, FeedChange{}); }), 0) << err;
    EXPECT_TRUE(Says(out, "href=\"http://www.example.org:8080/news/index.html\""));

    // nginx has no administrator's address: the hive's signs the page.
    g_serverChoice.configFile = dir / "nginx.conf";
    ASSERT_EQ(Run([&] { return RunAdd(dir / "b/new.html", fields); }), 0) << err;
    EXPECT_TRUE(Says(ReadFileBytes(dir / "b/new.html"), "hive@example.org"));
}

TEST_F(ServerSourceTest, AConfigurationThatCannotBeReadFailsNamingFileAndLine) {
    WriteFileBytes(dir / "apache2.conf", "DocumentRoot /srv\n<VirtualHost *:80>\n");
    for (const auto& command : {std::function<int()>([] { return RunDocmap("", false); }),
                                std::function<int()>([] { return RunDirs("", true); }),
                                std::function<int()>([&] { return RunUrl("", dir / "x"); })}) {
        EXPECT_EQ(Run(command), 1);
        EXPECT_TRUE(out.empty()) << out;
        EXPECT_TRUE(Says(err, dir.path() + "/apache2.conf:2: <virtualhost> is not closed"));
    }
    g_serverChoice.configFile = dir / "missing.conf";
    EXPECT_EQ(Run([] { return RunDocmap("", false); }), 1);
    EXPECT_TRUE(Says(err, dir.path() + "/missing.conf: No such file"));
}

}  // namespace
