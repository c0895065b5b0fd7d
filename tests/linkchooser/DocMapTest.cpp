#include <gtest/gtest.h>

#include <string>

#include "ServerHive.h"
#include "app/ServerRegistry.h"
#include "linkchooser/DocMap.h"
#include "support/Hive.h"

namespace {

using Map = std::vector<MapValueText>;

class DocMapTest : public ::testing::Test {
  protected:
    ScopedHiveFolder hives;

    Map Resolve(const std::optional<std::string>& serverRoot, const std::optional<Map>& values) {
        hives.Write("local", ServerHiveText(serverRoot, values));
        return ReadResolvedMap();
    }
};

TEST_F(DocMapTest, EachRuleInOrderJoinsThePartsUnchanged) {
    const Map resolved = Resolve("C:\\srv", Map{{"/drive", "D:\\web"},
                                                {"/sep", "\\cgi"},
                                                {"/fwd", "/icons"},
                                                {"/", "htdocs\\"},
                                                {"/rel", "pics"},
                                                {"/one", "x"},
                                                {"/colon", ":x"}});
    EXPECT_EQ(resolved, (Map{{"/drive", "D:\\web"},
                             {"/sep", "C:\\srv\\\\cgi"},
                             {"/fwd", "C:\\srv\\/icons"},
                             {"/", "C:\\srv\\htdocs\\"},
                             {"/rel", "C:\\srv\\htdocs\\pics"},
                             {"/one", "C:\\srv\\htdocs\\x"},
                             {"/colon", "C:\\srv\\htdocs\\:x"}}));
}

TEST_F(DocMapTest, RootMappingWithADriveLetterStandsAlone) {
    EXPECT_EQ(Resolve("/srv/", Map{{"/a", "docs"}, {"/", "E:\\root"}, {"/b", "\\abs"}}),
              (Map{{"/a", "E:\\rootdocs"}, {"/", "E:\\root"}, {"/b", "/srv/\\abs"}}));
}

TEST_F(DocMapTest, ServerRootEndsInOneSeparator) {
    const std::pair<std::string, std::string> cases[] = {
        {"/srv", "/srv\\"}, {"/srv/", "/srv/"}, {"C:\\srv\\", "C:\\srv\\"}, {"", "\\"}};
    for (const auto& [root, expected] : cases) {
        EXPECT_EQ(Resolve(root, Map{{"/", "d"}}), (Map{{"/", expected + "d"}})) << root;
    }
}

TEST_F(DocMapTest, UndefinedRootsAreEmptyTexts) {
    EXPECT_EQ(Resolve(std::nullopt, Map{{"/", "docs/"}, {"/a", "a"}, {"/b", "/abs"}}),
              (Map{{"/", "docs/"}, {"/a", "docs/a"}, {"/b", "/abs"}}));
    EXPECT_EQ(Resolve("/srv/", Map{{"/a", "a"}}), (Map{{"/a", "/srv/a"}}));
}

TEST_F(DocMapTest, NoValuesNoKeyOrNoHiveGiveAnEmptyMap) {
    EXPECT_TRUE(Resolve("/srv", Map{}).empty());
    EXPECT_TRUE(Resolve("/srv", std::nullopt).empty());

    ScopedHiveFolder noHive;
    EXPECT_TRUE(ReadResolvedMap().empty());
}

TEST_F(DocMapTest, ListEndsAtTheFirstValueThatDoesNotFit) {
    const std::string longData(260, 'd');  // 261 bytes with its NUL
    const std::string longName(260, 'n');
    EXPECT_EQ(Resolve("/s/", Map{{"/a", "a"}, {"/b", longData}, {"/c", "c"}}),
              (Map{{"/a", "/s/a"}}));
    EXPECT_EQ(Resolve("/s/", Map{{"/a", "a"}, {longName, "b"}, {"/c", "c"}}),
              (Map{{"/a", "/s/a"}}));
    // The search for "/" ends there too.
    EXPECT_EQ(Resolve("/s/", Map{{"/a", "a"}, {"/b", longData}, {"/", "root/"}}),
              (Map{{"/a", "/s/a"}}));
}

TEST_F(DocMapTest, LongTextsAreKeptWhole) {
    const std::string root = "/" + std::string(300, 'r');
    const std::string mapping = std::string(259, 'm');
    const std::string data = std::string(259, 'd');
    EXPECT_EQ(Resolve(root, Map{{"/", mapping}, {"/x", data}}),
              (Map{{"/", root + "\\" + mapping}, {"/x", root + "\\" + mapping + data}}));
}

TEST_F(DocMapTest, DataOfAnyTypeIsTextUpToItsFirstNul) {
    hives.Write("local", ServerHiveText("/srv/", Map{}) +
                             "\"/dword\"=dword:00000041\r\n\"/bin\"=hex:41,42\r\n"
                             "\"/nul\"=hex:43,00,44\r\n");
    EXPECT_EQ(ReadResolvedMap(),
              (Map{{"/dword", "/srv/A"}, {"/bin", "/srv/AB"}, {"/nul", "/srv/C"}}));
}

TEST_F(DocMapTest, ReadsThroughTheRemoteMachinesRegistry) {
    hives.Write("local", ServerHiveText("/local/", Map{{"/", "here"}}));
    hives.Write("web1", ServerHiveText("/remote/", Map{{"/", "there"}, {"/x", "x"}}));
    HKEY remote = nullptr;
    ASSERT_EQ(RegConnectRegistryA("web1", HKEY_LOCAL_MACHINE, &remote), ERROR_SUCCESS);
    g_hkeyServer = remote;
    const Map resolved = ReadResolvedMap();
    g_hkeyServer = HKEY_LOCAL_MACHINE;
    RegCloseKey(remote);
    EXPECT_EQ(resolved, (Map{{"/", "/remote/there"}, {"/x", "/remote/therex"}}));
}

}  // namespace
