// The page is parsed a window of text at a time: the tree must not depend on
// where the windows are cut. Every read size gives the same nodes, text and
// source spans as the default, whatever token a cut falls into, in every
// encoding and line-end form; those spans point at the page's own tags; and
// a stream that cannot seek gives what a file gives.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ParseHelpers.h"

#ifndef _WIN32
#include <unistd.h>
#endif

using namespace std::string_view_literals;

namespace {

// The outline of the tree and every node's source span, in tree order.
std::string Dump(const block* root) {
    std::string dump = parsetest::Outline(root);
    for (const block* node : parsetest::NodesInOrder(root)) {
        HTMLSourceSpan span{};
        HTMLGetSourceSpan(node, &span);
        dump += " " + std::to_string(span.begin) + "-" + std::to_string(span.content_end) + "-" +
                std::to_string(span.end);
    }
    return dump;
}

std::string DumpWithReadSize(std::string_view page, std::size_t read_size) {
    HTMLSetReadSize(read_size);
    const parsetest::Tree root = parsetest::ParseTree(page);
    HTMLSetReadSize(0);
    return Dump(root.get());
}

// Pages whose tokens a cut can fall into anywhere.
const std::string_view kPages[] = {
    "<!DOCTYPE html><html lang=\"en\"><head><title>A &amp; B</title>\n"
    "<?xml version=\"1.0\"?><?php echo '>'; ?></head>\n<body class=x>\n"
    "<p>caf\xC3\xA9 &eacute;&#x10FF00;&#1113916;\xF4\x8F\xBC\x80 &amp text</p>\n"
    "<!-- a -- comment --!><!-->x<!x><dl><!-- Automatically generated -->\n"
    "<dt><strong>1</strong><a href='/a?b=1&amp;c=2' title=\"t\">l</a><dd>d\n</dl>\n"
    "<script>if (a < b && c </scrip) { x = '</div>'; }</script  ><textarea>&lt;"
    "</textarea>\n<x-custom data-x></x-custom></span></br><svg><path/></svg>"
    "<table><tr><td>c</table><pre>\nkept\n</pre>\n<a b='unterminated"sv,
    "\xEF\xBB\xBF<p>a\r\nb\rc\r\r\n\n\0d<i \0=\"\0\">\r\n</i>\r<plaintext></plaintext>\r\n"sv,
    "\xFF\xFE<\0p\0>\0\xE9\0\r\0\n\0=\xD8\x00\xDE\r\0\n\0\x00\xD8<\0/\0p\0>\0\x41"sv,
    "\xFE\xFF\0<\0p\0>\xD8\x3D\xDE\x00\0\r\0\r\0\n\xDC\x00"sv,
    "<meta charset=shift_jis><p>\x93\xFA\x96\x7B\x8C\xEA \x82\xA0\r\n\x81\x40<b>\x83\x65"
    "\x83\x58\x83\x67</b>\xA0\xFD\x80"sv,
    "<meta charset=iso-2022-jp><p>\x1B$B$3$s$K$A$O\x1B(B <b>\x1B(Jx\x1B$@$\"\x1B(B</b>\x1B"sv,
    "<meta charset=windows-1258><p>A\xCC\xD2 a\xDE\xEC e\xCC\r\n\xD2</p><p>Ha\xEC</p><p>b\x81</p>"sv,
    "<p>caf\xE9 \x80\x81\x93q\x94\r\n<b>\xE9</b>"sv,
    "<!-- open comment that runs to the end -- -"sv,
};

// The bytes of an ASCII character in `page`: two for UTF-16, in its order.
std::string Ascii(char c, std::string_view page) {
    if (page.starts_with("\xFF\xFE")) return {c, '\0'};
    if (page.starts_with("\xFE\xFF")) return {'\0', c};
    return {c};
}

// Checks that every node's span lies in the page, each element's at its "<",
// and an end tag's from "</" to ">"; returns the number of elements.
int ExpectSpansPointAtTags(std::string_view page) {
    const parsetest::Tree root = parsetest::ParseTree(page);
    HTMLSourceSpan span{};
    EXPECT_EQ(HTMLGetSourceSpan(root.get(), &span), 0);
    int elements = 0;
    for (const block* node : parsetest::NodesInOrder(root.get())) {
        EXPECT_EQ(HTMLGetSourceSpan(node, &span), 1);
        EXPECT_TRUE(span.begin <= span.content_end && span.content_end <= span.end &&
                    span.end <= page.size());
        if (node->type != BT_ELEMENT) continue;
        ++elements;
        const std::string open = Ascii('<', page), close = Ascii('>', page);
        EXPECT_EQ(page.substr(span.begin, open.size()), open);
        if ((node->flags & BF_END_TAG) != 0) {
            EXPECT_EQ(page.substr(span.content_end, 2 * open.size()), open + Ascii('/', page));
            EXPECT_EQ(page.substr(span.end - close.size(), close.size()), close);
        }
    }
    return elements;
}

}  // namespace

TEST(ReadWindows, SpansPointAtTheTagsInEveryEncodingAndLineEnd) {
    int elements = 0;
    for (std::string_view page : kPages) elements += ExpectSpansPointAtTags(page);
    EXPECT_GE(elements, 30);
}

TEST(ReadWindows, EveryReadSizeGivesTheSameTree) {
    for (std::string_view page : kPages) {
        SCOPED_TRACE(page);
        const std::string whole = DumpWithReadSize(page, 0);
        for (std::size_t read_size = 1; read_size <= 24; ++read_size) {
            ASSERT_EQ(DumpWithReadSize(page, read_size), whole) << "read size " << read_size;
        }
    }
}

TEST(ReadWindows, TokensLongerThanAWindowAreReadWhole) {
    const std::string value(5 * 1024 * 1024, 'v');
    const std::string text(300000, 't');
    const std::string page = "<p title=\"" + value + "\">" + text + "<!--" + value + "-->";
    HTMLSetReadSize(1000);
    const parsetest::Tree root = parsetest::ParseTree(page);
    HTMLSetReadSize(0);
    const block* p = root->first_child;
    EXPECT_EQ(HTMLGetAttr(p, "title"), value);
    EXPECT_EQ(p->first_child->text, text);
    EXPECT_EQ(p->first_child->next_sib->text, value);
}

#ifndef _WIN32
// A pipe is read whole first; its page reads as the same page in a file.
// Each page fits in the pipe's buffer, so it is written before it is read.
TEST(ReadWindows, AStreamThatCannotSeekGivesTheSameTree) {
    for (std::string_view page : kPages) {
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        ASSERT_EQ(write(ends[1], page.data(), page.size()), static_cast<ssize_t>(page.size()));
        close(ends[1]);
        std::FILE* stream = fdopen(ends[0], "rb");
        HTMLParseBegin();
        HTMLParseDo(stream);
        std::fclose(stream);
        const parsetest::Tree root(HTMLParseEnd(), HTMLFreeTree);
        EXPECT_EQ(Dump(root.get()), DumpWithReadSize(page, 0)) << page;
    }
}
#endif
