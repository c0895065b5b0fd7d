#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "linkchooser/DocMap.h"
#include "support/Hive.h"

namespace {

using Map = std::vector<MapValueText>;

// The (URL prefix, resolved directory) pairs of this machine's map, in list order.
Map ReadResolvedMap(const std::string& hiveText) {
    ScopedHiveFolder hives;
    hives.Write("local", hiveText);
    DocMapEntry head;
    head.ReadDocMap();
    Map resolved;
    for (const DocMapEntry* entry = &head; entry && entry->m_pszResolvedDir;
         entry = entry->GetNext())
        resolved.emplace_back(entry->m_pszUrlPrefix.get(), entry->m_pszResolvedDir.get());
    return resolved;
}

TEST(DocMapTest, ResolvesEachDirectoryByTheFirstRuleThatApplies) {
    const std::string tooLong(260, 'x');  // 261 bytes with its NUL: fits neither room
    const std::string longRoot = "/" + std::string(300, 'r'), fits(259, 'm');
    const struct {
        std::optional<std::string> serverRoot;
        std::optional<Map> values;
        Map expected;
    } cases[] = {
        // clang-format off
        // Drive letter, leading separator of either kind, the "/" mapping, the
        // rest below it; parts joined as they stand, one separator added to the root.
        {"C:\\srv",
         Map{{"/drive", "D:\\web"}, {"/sep", "\\cgi"}, {"/fwd", "/icons"}, {"/", "htdocs\\"},
             {"/rel", "pics"}, {"/colon", ":x"}},
         Map{{"/drive", "D:\\web"}, {"/sep", "C:\\srv\\\\cgi"}, {"/fwd", "C:\\srv\\/icons"},
             {"/", "C:\\srv\\htdocs\\"}, {"/rel", "C:\\srv\\htdocs\\pics"},
             {"/colon", "C:\\srv\\htdocs\\:x"}}},
        // A "/" mapping anywhere in the list, standing alone with a drive letter.
        {"/srv/", Map{{"/a", "docs"}, {"/", "E:\\root"}, {"/b", "\\abs"}},
         Map{{"/a", "E:\\rootdocs"}, {"/", "E:\\root"}, {"/b", "/srv/\\abs"}}},
        // An empty root is defined and gets its separator; a missing one stays empty.
        {"", Map{{"/", "d"}}, Map{{"/", "\\d"}}},
        {std::nullopt, Map{{"/", "docs/"}, {"/a", "a"}, {"/b", "/abs"}},
         Map{{"/", "docs/"}, {"/a", "docs/a"}, {"/b", "/abs"}}},
        {"/srv", Map{}, Map{}},
        {"/srv", std::nullopt, Map{}},
        // A value too long for its room ends the list and the search for "/".
        {"/s/", Map{{"/a", "a"}, {"/b", tooLong}, {"/", "root/"}}, Map{{"/a", "/s/a"}}},
        {"/s/", Map{{"/a", "a"}, {tooLong, "b"}}, Map{{"/a", "/s/a"}}},
        // Texts that just fit; a root beyond the room is read whole; joins are not cut.
        {longRoot, Map{{"/", fits}, {fits, fits}},
         Map{{"/", longRoot + "\\" + fits}, {fits, longRoot + "\\" + fits + fits}}},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadResolvedMap(ServerHiveText(c.serverRoot, c.values)), c.expected)
            << c.serverRoot.value_or("(no root)").substr(0, 10);
}

TEST(DocMapTest, DataOfAnyTypeIsTextUpToItsFirstNulOrItsEnd) {
    EXPECT_EQ(ReadResolvedMap(ServerHiveText("/srv/", Map{}) +
                              "\"/bin\"=hex:41,42\r\n\"/nul\"=hex:43,00,44\r\n"),
              (Map{{"/bin", "/srv/AB"}, {"/nul", "/srv/C"}}));
}

}  // namespace
