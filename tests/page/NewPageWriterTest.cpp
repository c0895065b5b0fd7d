// A new page: the head, an empty or filled section, and the server
// administrator's address when the server configuration names one.
#include <gtest/gtest.h>

#include <string>

#include "PageTesting.h"
#include "page/NewPageWriter.h"
#include "support/Hive.h"

namespace {

TEST(NewPageWriterTest, EmptyListWithoutAddressThenEntriesInOrderWithIt) {
    const ScopedHiveFolder hives;
    const TempDir dir;
    ItemList list;
    const auto write = [&] {
        std::string admin;
        EXPECT_TRUE(ReadServerAdmin(&admin));
        EXPECT_TRUE(WriteNewPage(dir / "page.html", list.Head(), admin));
        return ReadFileBytes(dir / "page.html");
    };
    const auto setAdmin = [&](const std::string& admin) {
        hives.Write("local",
                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\r\n"
                    "\"ServerAdmin\"=\"" +
                        admin + "\"\r\n");
    };
    const std::string start =
        "<html>\n<head>\n<title>Tavrel Page</title>\n</head>\n<body>\n<H1>Tavrel</H1>\n<dl>\n" +
        kMarker + "\n";
    const std::string page = start + "</dl><HR>\n</body>\n</html>\n";
    EXPECT_EQ(write(), page);
    setAdmin("");
    EXPECT_EQ(write(), page);

    // Fields are written literally, but a quote cannot end the link early.
    setAdmin("webmaster@example.org");
    list =
        ListOf({{"%s %d %n", "<b>Bold</b> & more", "/a.htm?x=\"1\"&y=2", "100% <i>sure</i>\nnow"},
                {"Monday, May 06, 1996", "Old", "/old.htm", "first entry"}});
    EXPECT_EQ(
        write(),
        start +
            "<dt>\n<strong>%s %d %n</strong>\n<br>\n"
            "<A HREF =\"/a.htm?x=%221%22&amp;y=2\">\n<STRONG>&lt;b&gt;Bold&lt;/b&gt; &amp; more"
            "</STRONG></A>\n<dd>\n<BR>100% &lt;i&gt;sure&lt;/i&gt;\nnow<BR><p>\n"
            "<dt>\n<strong>Monday, May 06, 1996</strong>\n<br>\n"
            "<A HREF =\"/old.htm\">\n<STRONG>Old</STRONG></A>\n<dd>\n"
            "<BR>first entry<BR><p>\n"
            "</dl><HR>\n"
            "<A HREF=\"mailto:webmaster@example.org\">\n"
            "<address>webmaster@example.org</address>\n</a></body>\n</html>\n");
}

}  // namespace
