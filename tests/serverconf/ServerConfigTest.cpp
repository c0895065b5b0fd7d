#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "serverconf/ServerConfig.h"
#include "support/TempDir.h"

namespace {

const std::string kStock = TAVREL_STOCK_CONFIGS;

// "PREFIX -> FOLDER (DIRECTIVE at FILE:LINE)" of every mapped folder, with
// `base` cut from the file names, then "PATTERN :LINE" of every rule that
// maps no folder.
std::vector<std::string> Rows(const ServerHost& host, const std::string& base) {
    std::vector<std::string> rows;
    for (const MappedFolder& folder : host.folders) {
        std::string place = PlaceText(folder.place);
        if (place.rfind(base, 0) == 0) place = place.substr(base.size() + 1);
        rows.push_back(folder.urlPrefix + " -> " + folder.folder + " (" + folder.directive +
                       " at " + place + ")");
    }
    for (const UnmappedRule& rule : host.unmapped)
        rows.push_back(rule.pattern + " :" + std::to_string(rule.place.line));
    return rows;
}

// Reads `file`, which must succeed; Apache's own root is `apacheRoot`.
ServerConfig Read(const std::string& file, const std::string& apacheRoot = "/nonexistent") {
    ServerConfig config;
    std::string error;
    ServerConfigOptions options;  // nginx's prefix: /usr/share/nginx
    options.apacheRoot = apacheRoot;
    EXPECT_TRUE(ReadServerConfig(file, options, &config, &error)) << error;
    return config;
}

// Writes `files` (name, text) into `dir`, making folders as needed.
void WriteTree(const TempDir& dir, const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [name, text] : files) {
        std::filesystem::create_directories(std::filesystem::path(dir / name).parent_path());
        WriteFileBytes(dir / name, text);
    }
}

TEST(ServerConfigTest, DebiansStockApacheAndNginxServeVarWwwHtml) {
    const std::string apache = kStock + "/debian-apache2", nginx = kStock + "/debian-nginx";
    const ServerConfig a = Read(apache + "/apache2.conf", apache);
    // Named relative to the current directory, as on a command line.
    const ServerConfig n = Read(std::filesystem::relative(nginx + "/nginx.conf"));
    EXPECT_EQ(n.file, nginx + "/nginx.conf");
    EXPECT_EQ(a.kind, ServerKind::kApache);
    EXPECT_EQ(n.kind, ServerKind::kNginx);
    ASSERT_EQ(a.hosts.size(), 1u);
    ASSERT_EQ(n.hosts.size(), 1u);
    EXPECT_EQ(Rows(a.hosts[0], apache),
              (std::vector<std::string>{
                  "/ -> /var/www/html (DocumentRoot at sites-enabled/000-default.conf:12)",
                  "/icons/ -> /usr/share/apache2/icons/ (Alias at mods-enabled/alias.conf:13)"}));
    EXPECT_EQ(Rows(n.hosts[0], nginx),
              std::vector<std::string>{"/ -> /var/www/html (root at sites-enabled/default:41)"});
    EXPECT_EQ(a.hosts[0].admin.value, "webmaster@localhost");
    EXPECT_EQ(n.hosts[0].names, std::vector<std::string>{"_"});
    // Neither stock site names itself: no ServerName, the catch-all "_".
    EXPECT_EQ(a.hosts[0].siteUrl.value + n.hosts[0].siteUrl.value, "");
}

TEST(ServerConfigTest, ApacheDefinesGlobsConditionsAndInheritance) {
    TempDir dir;
    WriteTree(
        dir,
        {
            {"envvars",
             "unset HOME\nexport WEB_LOGS=/var/log/web\nexport SITES=" + dir.path() + "/sites\n"},
            {"httpd.conf", "ServerRoot \"" + dir.path() +
                               "\"\n"
                               "LoadModule alias_module /usr/lib/apache2/modules/mod_alias.so\n"
                               "Define DOCS /srv/docs\n"
                               "ServerName main.example.org\n"
                               "ServerAdmin main@example.org\n"
                               "DocumentRoot ${SITES}/main\n"
                               "ErrorLog ${WEB_LOGS}/error.log\n"
                               "<IfModule mod_alias.c>\n"
                               "  Alias /docs \\\n"
                               "        ${DOCS}\n"
                               "  AliasMatch \"^/img/(.*)\\.png$\" /srv/img/$1.png\n"
                               "</IfModule>\n"
                               "<IfModule !alias_module>\n  Alias /never /srv/never\n</IfModule>\n"
                               "<IfDefine NOPE>\n  Alias /nope /srv/nope\n</IfDefine>\n"
                               "<Directory /srv/docs>\n  DocumentRoot /srv/wrong\n</Directory>\n"
                               "Include conf.d/*.conf\n"
                               "IncludeOptional missing/*.conf\n"},
            // Read in name order: 10-b before 20-a.
            {"conf.d/20-a.conf",
             "<VirtualHost *:8443>\n  ServerName secure.example.org\n  SSLEngine on\n"
             "  DocumentRoot \"/srv/with space\"\n</VirtualHost>\n"},
            {"conf.d/10-b.conf",
             "# no DocumentRoot: the main server's\n<VirtualHost 127.0.0.1:8080>\n"
             "  ServerAlias other.example.org\n  <Location /manual>\n    Alias /srv/manual\n"
             "  </Location>\n</virtualhost>\n"},
        });
    const ServerConfig config = Read(dir / "httpd.conf");
    ASSERT_EQ(config.hosts.size(), 2u);
    const ServerHost& plain = config.hosts[0];
    EXPECT_EQ(Rows(plain, dir.path()),
              (std::vector<std::string>{
                  "/ -> " + dir.path() + "/sites/main (DocumentRoot at httpd.conf:6)",
                  "/manual -> /srv/manual (Alias at conf.d/10-b.conf:5)",
                  "/docs -> /srv/docs (Alias at httpd.conf:9)", "^/img/(.*)\\.png$ :11"}));
    EXPECT_EQ(plain.names, (std::vector<std::string>{"main.example.org", "other.example.org"}));
    EXPECT_EQ(plain.siteUrl.value, "http://main.example.org:8080");
    EXPECT_EQ(plain.admin.value, "main@example.org");
    EXPECT_EQ(config.hosts[1].siteUrl.value, "https://secure.example.org:8443");
    EXPECT_EQ(config.hosts[1].folders[0].folder, "/srv/with space");
    EXPECT_EQ(config.defaultHost, 0u);
}

TEST(ServerConfigTest, NginxServersLocationsAndIncludes) {
    TempDir dir;
    WriteTree(
        dir, {
                 {"nginx.conf",
                  "events { worker_connections 64; }\n"
                  "http {\n"
                  "  types { text/html html; }\n"
                  "  map $uri $mapped { default 0; ~^/a 1; }\n"
                  "  root /srv/http;\n"
                  "  include servers/*.conf;\n"
                  "}\n"},
                 {"servers/a.conf",
                  "server { listen 8080; server_name _ www.example.org;\n"
                  "  location /docs/ { alias /srv/docs/; }\n"
                  "  location ^~ \"/with space/\" { root /srv/q; location /with\\ space/in/ { } }\n"
                  "  location ~ ^/img/(.+)\\.png$ { alias /srv/img/$1.png; }\n"
                  "  location ~ \\.php$ { fastcgi_pass unix:/run/php.sock; }\n"
                  "  location = /exact { root /srv/exact; }\n"
                  "  location /user/ { alias /home/$remote_user/; }\n"
                  "  location @fallback { root /srv/never; }\n"
                  "}\n"},
                 {"servers/b.conf",
                  "server {\n  listen [::]:443 ssl default_server;\n  server_name b.example.org;\n"
                  "  root relative;\n}\n"},
             });
    const ServerConfig config = Read(dir / "nginx.conf");
    ASSERT_EQ(config.hosts.size(), 2u);
    EXPECT_EQ(config.defaultHost, 1u);
    const ServerHost& a = config.hosts[0];
    EXPECT_EQ(Rows(a, dir.path()),
              (std::vector<std::string>{
                  "/ -> /srv/http (root at nginx.conf:5)",
                  "/docs/ -> /srv/docs/ (location alias at servers/a.conf:2)",
                  "/with space/ -> /srv/q/with space/ (location root at servers/a.conf:3)",
                  "~ ^/img/(.+)\\.png$ :4", "= /exact :6", "/user/ :7"}));
    EXPECT_EQ(a.siteUrl.value, "http://www.example.org:8080");
    EXPECT_EQ(config.hosts[1].siteUrl.value, "https://b.example.org");
    EXPECT_EQ(config.hosts[1].folders[0].folder, "/usr/share/nginx/relative");
}

TEST(ServerConfigTest, WhatCannotBeReadNamesFileAndLine) {
    TempDir dir;
    const struct {
        std::string text;
        std::string failure;  // after the folder
    } cases[] = {
        {"DocumentRoot /srv\n<VirtualHost *:80>\nServerName x\n",
         "/main:2: <virtualhost> is not closed"},
        {"DocumentRoot /srv\n</Directory>\n", "/main:2: </Directory> closes no open <Directory>"},
        {"DocumentRoot ${NOT_DEFINED_ANYWHERE}\n",
         "/main:1: ${NOT_DEFINED_ANYWHERE} is not defined"},
        {"Include nothing.conf\n", "/main:1: " + dir.path() + "/nothing.conf: No such file"},
        {"Include nothing/*.conf\n", "/main:1: no file matches"},
        {"Include main\n", "/main:1: " + dir.path() + "/main includes itself"},
        {"just some words\n", "/main: neither an Apache nor an nginx configuration"},
        {"http {\n  server { root /srv }\n}\n", "/main:2: root has no ';' before '}'"},
        {"http {\n  server {\n", "/main:2: the block opened here is not closed"},
        {"http { }\n}\n", "/main:2: '}' closes no block"},
        {"http { root \"/srv;\n}\n", "/main:1: a quote is not closed"},
        {"events { }\n", "/main: no server block is defined"},
        {"include main;\n", "/main:1: " + dir.path() + "/main includes itself"},
    };
    ServerConfigOptions options;
    options.apacheRoot = dir.path();
    for (const auto& c : cases) {
        WriteFileBytes(dir / "main", c.text);
        ServerConfig config;
        std::string error;
        EXPECT_FALSE(ReadServerConfig(dir / "main", options, &config, &error)) << c.text;
        EXPECT_EQ(error.find(dir.path() + c.failure), 0u) << c.text << error;
    }
}

TEST(ServerConfigTest, TheHostIsTheNamedOneElseThePagesElseTheDefault) {
    TempDir dir;
    std::filesystem::create_directories(dir / "a/sub");
    std::filesystem::create_directories(dir / "b");
    WriteFileBytes(dir / "a/sub/page.html", "x");
    WriteFileBytes(dir / "nginx.conf",
                   "http {\n server { server_name a.example.org; root " + dir.path() +
                       "/a; }\n"
                       " server { listen 80 default_server; server_name b.example.org B2;\n"
                       "   root " +
                       dir.path() + "/b; }\n}\n");
    const ServerConfig config = Read(dir / "nginx.conf");
    std::string error;
    const ServerHost* a = &config.hosts[0];
    const ServerHost* b = &config.hosts[1];
    EXPECT_EQ(ChooseServerHost(config, "b2", dir / "a/sub/page.html", &error), b);
    EXPECT_EQ(ChooseServerHost(config, "", dir / "a/sub/page.html", &error), a);
    EXPECT_EQ(ChooseServerHost(config, "", dir / "a/sub/new.html", &error), a);  // not written yet
    EXPECT_EQ(ChooseServerHost(config, "", dir / "elsewhere.html", &error), b);
    EXPECT_EQ(ChooseServerHost(config, "", "", &error), b);
    EXPECT_EQ(ChooseServerHost(config, "c.example.org", "", &error), nullptr);
    EXPECT_NE(error.find("\"c.example.org\""), std::string::npos) << error;
}

}  // namespace
