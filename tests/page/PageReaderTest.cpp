// Reading the generated section out of scanned pages: which DL is the
// section, where it stands, and which entries a well-formed or malformed
// section gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageTesting.h"
#include "page/PageReader.h"
#include "page/PageScan.h"
#include "support/ByteStream.h"

namespace {

// The entries the scan of `page` gives; `*scan` gets the rest it found.
std::vector<Entry> Read(const std::string& page, PageScan* scan = nullptr) {
    PageScan found;
    const ByteStream stream(page);
    EXPECT_FALSE(ScanPage(stream.get(), &found, 7));
    std::vector<Entry> entries = EntriesOf(found.entries);
    if (scan != nullptr) *scan = std::move(found);
    return entries;
}

std::string InBody(const std::string& body) {
    return "<html><head><title>x</title></head><body>\n" + body + "</body></html>\n";
}

TEST(PageReaderTest, SectionsAndTheirEntries) {
    const Entry one{"1", "t1", "/1", "d1"}, two{"2", "t2", "/2", "d2"},
        three{"3", "t3", "/3", "d3"};
    const std::string term2 = "<dt><strong>2</strong><a href=\"/2\"><strong>t2</strong></a>";
    const struct {
        std::string body;
        std::vector<Entry> entries;
    } cases[] = {
        // Only a DL whose first child is the marker comment, and only the
        // first such DL in document order, at any depth.
        {"<dl></dl><table><tr><td>" + Section(Pair("1")) + "</table>" + "<dl> Automatically" +
             Pair("8") + "</dl><dl><!--Automatically generated-->" + Pair("7") + "</dl><dl><dt>" +
             kMarker + "</dl>" + "<dl><!-- Automatic!-->" + Pair("2") + "</dl><p>after" +
             Section(Pair("2")),
         {one}},
        {Section(Pair("1") + Pair("2")), {one, two}},
        {"<dl>\n    \n    " + kMarker + "\n" + Pair("1") + "</dl>", {one}},
        {Section(""), {}},
        {"<h1>no section</h1>", {}},
        // Fields come from their own places: the date from the DT's first
        // STRONG child only, link and title from every anchor in turn, the
        // description from the DD's first TEXT child.
        {Section("<dt><i><strong>deep</strong></i><strong></strong><strong>late</strong>"
                 "<a NAME=top HREF=\"/a?x=1&y=2\"><strong>Title &amp; &lt;more></strong></a>"
                 "<dd><i>inner</i>line 1\nline 2<dt><strong><i></i>d2</strong><a href></a>"
                 "<dd>kept<dd><i></i>"),
         {{"", "Title & <more>", "/a?x=1&y=2", "line 1\nline 2"}, {"d2", "", "", "kept"}}},
        // Malformed orders: a DT starts an entry, a DD describes the latest
        // one, a DD before any DT empties the section.
        {Section(Pair("1") + term2 + Pair("3")), {one, three}},
        {Section("<dt><strong>1</strong><a href=\"/1\"><strong>t1</strong></a>" + Pair("2") +
                 Pair("3")),
         {{"1", "t1", "/1", ""}}},
        {Section("<dd>d0" + Pair("1")), {}},
        {Section(Pair("1") + term2), {one, {"2", "t2", "/2", ""}}},
        {Section(Pair("1") + "<dd>again"), {{"1", "t1", "/1", "again"}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(InBody(c.body)), c.entries) << c.body;
    }
    // Where the parser keeps it in HEAD (a NOSCRIPT's content), whatever
    // the part size the tree is handed over in.
    const std::string inHead = "<html)><head><noscript><p>" + Section(Pair("1")) +
                               "</noscript></head><body><p>after</p></body>";
    EXPECT_EQ(Read(inHead), std::vector<Entry>{one});
    // Content after "</body>" or "</html>" is in BODY to a browser, and so
    // is all of a page whose BODY is implied: a section there is found, from
    // the "<" of its start tag to the ">" of its end tag.
    const std::string head = "<html><head><title>x</title></head><body><p>text</body>\n";
    for (const std::string& before :
         {head, head + "</html>\n", std::string("<body>"), std::string("hello<p>x</p>")}) {
        const std::string page = before + Section(Pair("1")) + "</html><p>footer";
        PageScan scan;
        EXPECT_EQ(Read(page, &scan), std::vector<Entry>{one}) << page;
        EXPECT_TRUE(scan.hasSection);
        EXPECT_EQ(page.substr(scan.section.begin, scan.section.end - scan.section.begin),
                  Section(Pair("1")));
    }
}

}  // namespace
