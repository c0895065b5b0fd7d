// The web server's own configuration as the source of the document map, the
// site address and the administrator, through the tavrel commands: which
// source wins, the links `tavrel url` composes, the feed's address, and a
// configuration that cannot be read.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/Commands.h"
#include "model/ItemList.h"
#include "model/ServerSource.h"
#include "support/Hive.h"
#include "support/RunProgram.h"

namespace {

using nlohmann::json;

constexpr char kHiveKey[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\r\n";

class ServerSourceTest : public ::testing::Test {
  protected:
    ScopedHiveFolder hives;
    TempDir dir;
    std::string out, err;

    void SetUp() override {
        for (const char* folder : {"www/news", "www/.hidden", "www/archive", "manuals", "b"}) {
            std::filesystem::create_directories(dir / folder);
        }
        // Apache: two hosts, the first with an alias outside its root.
        WriteFileBytes(dir / "apache2.conf",
                       "ServerRoot " + dir.path() +
                           "\nServerAdmin admin@example.org\n"
                           "<VirtualHost *:8080>\n ServerName www.example.org\n"
                           " DocumentRoot www\n Alias /manuals/ " +
                           dir.path() +
                           "/manuals/\n"
                           " Alias /archive " +
                           dir.path() +
                           "/www/archive\n"
                           " AliasMatch ^/x(.*) /srv/x$1\n</VirtualHost>\n"
                           "<VirtualHost *:8080>\n ServerName b.example.org\n DocumentRoot b\n"
                           "</VirtualHost>\n");
        WriteFileBytes(dir / "nginx.conf", "http { server { root " + dir.path() + "/b; } }\n");
        hives.Write("local", std::string(kHiveKey) + "\"ServerConfig\"=\"" + dir.path() +
                                 "/apache2.conf\"\r\n\"ServerAdmin\"=\"hive@example.org\"\r\n");
    }

    void TearDown() override { g_serverChoice = ServerChoice{}; }

    int Run(const std::function<int()>& command) {
        const ProgramResult result = RunInProcess(command);
        out = result.output;
        err = result.errors;
        return result.exitCode;
    }
};

TEST_F(ServerSourceTest, TheOptionComesBeforeTheHiveValueAndMinusRReadsTheHive) {
    ASSERT_EQ(Run([] { return RunDocmap("", true); }), 0) << err;
    json map = json::parse(out);
    EXPECT_NE(map["source"].get<std::string>().find("Apache configuration " + dir.path() +
                                                    "/apache2.conf (named by the hive value"),
              std::string::npos)
        << map;
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
    EXPECT_NE(out.find(dir.path() + "/nginx.conf:1 root"), std::string::npos) << out;

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
            EXPECT_NE(err.find(c.file + " is in no directory the link chooser lists"),
                      std::string::npos)
                << err;
        } else {
            EXPECT_EQ(code, 0) << err;
            EXPECT_EQ(out, c.url + "\n") << c.file;
        }
    }
}

TEST_F(ServerSourceTest, TheFeedAndAFreshPageFollowTheChosenHostAndTheHiveFillsItsGaps) {
    const std::string page = dir / "www/news/index.html";
    g_serverChoice.page = page;
    EntryFields fields;
    fields.hyperlink = "/news/a.html";
    fields.date = "December 6, 2026";
    ASSERT_EQ(Run([&] { return RunAdd(page, fields); }), 0) << err;
    EXPECT_NE(ReadFileBytes(page).find("admin@example.org"), std::string::npos);
    ASSERT_EQ(Run([&] { return RunFeed(page, FeedChange{}); }), 0) << err;
    EXPECT_NE(out.find("href=\"http://www.example.org:8080/news/index.html\""), std::string::npos)
        << out;

    // nginx has no administrator's address: the hive's signs the page.
    g_serverChoice.configFile = dir / "nginx.conf";
    ASSERT_EQ(Run([&] { return RunAdd(dir / "b/new.html", fields); }), 0) << err;
    EXPECT_NE(ReadFileBytes(dir / "b/new.html").find("hive@example.org"), std::string::npos);
}

TEST_F(ServerSourceTest, AConfigurationThatCannotBeReadFailsNamingFileAndLine) {
    WriteFileBytes(dir / "apache2.conf", "DocumentRoot /srv\n<VirtualHost *:80>\n");
    for (const auto& command : {std::function<int()>([] { return RunDocmap("", false); }),
                                std::function<int()>([] { return RunDirs("", true); }),
                                std::function<int()>([&] { return RunUrl("", dir / "x"); })}) {
        EXPECT_EQ(Run(command), 1);
        EXPECT_TRUE(out.empty()) << out;
        EXPECT_NE(err.find(dir.path() + "/apache2.conf:2: <virtualhost> is not closed"),
                  std::string::npos)
            << err;
    }
    g_serverChoice.configFile = dir / "missing.conf";
    EXPECT_EQ(Run([] { return RunDocmap("", false); }), 1);
    EXPECT_NE(err.find(dir.path() + "/missing.conf: No such file"), std::string::npos) << err;
}

}  // namespace
