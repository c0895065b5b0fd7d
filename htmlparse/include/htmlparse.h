/*
 * htmlparse: a forgiving HTML parser with a small C interface.
 *
 * A page is parsed from a stdio stream into a tree of `block` records (one per
 * element, text run, comment or doctype) with `AttrRec` records for element
 * attributes. The tree keeps the page's structure as written: nothing is
 * invented or moved. Callers may read, relink and add records; records and
 * strings they add must come from calloc/malloc, because HTMLFreeTree releases
 * them with the rest of the tree.
 *
 * The parse state is global (one parse at a time, no handle): call
 * HTMLParseBegin, then HTMLParseDo with the stream, then HTMLParseEnd, which
 * hands over the root. HTMLGetPageInfo describes the page of the last parse.
 * HTMLParseDoInParts parses the same way but hands the tree to a callback
 * part by part, so that a large page can be written out and released while
 * the rest of it is parsed.
 *
 * A whole use, reading the title of a page:
 *
 *     FILE* stream = fopen("page.html", "rb");
 *     HTMLParseBegin();
 *     HTMLParseDo(stream);
 *     fclose(stream);
 *     block* root = HTMLParseEnd();
 *     for (block* node = root->first_child; node != NULL; ) {
 *         if (node->type == BT_ELEMENT && node->tag == HTML_TITLE) {
 *             if (node->first_child && node->first_child->type == BT_TEXT)
 *                 printf("%s\n", node->first_child->text);
 *             break;
 *         }
 *         if (node->first_child) { node = node->first_child; continue; }
 *         while (node != NULL && node->next_sib == NULL) node = node->parent;
 *         if (node != NULL) node = node->next_sib;
 *     }
 *     HTMLFreeTree(root);
 *
 * Text is handed over in UTF-8 whatever the page's encoding; TEXT nodes hold
 * character references decoded ("&amp;" is "&", "&eacute;" is its UTF-8),
 * except the content of raw-text elements (SCRIPT, STYLE, TITLE, ...), which
 * is kept byte for byte. End tags that closed nothing and processing
 * instructions are kept as nodes holding their source (BF_VERBATIM), and
 * every element records whether its end tag was written (BF_END_TAG), so the
 * page can be written back token for token. Every parsed node also knows the
 * bytes of the page it came from (HTMLGetSourceSpan), so that a program can
 * copy the page's own bytes around the parts it changes. Attribute names and values are
 * kept exactly as written in the source (values without their quotes,
 * references not decoded).
 */
#ifndef HTMLPARSE_H
#define HTMLPARSE_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The library's exported functions. Its own build defines HTMLPARSE_BUILDING,
 * so that on Windows a DLL of it exports what its users import; a static
 * library (HTMLPARSE_STATIC, which its CMake target hands on to every user)
 * neither exports nor imports. */
#if defined(_WIN32) || defined(__CYGWIN__)
#if defined(HTMLPARSE_STATIC)
#define HTMLPARSE_API
#elif defined(HTMLPARSE_BUILDING)
#define HTMLPARSE_API __declspec(dllexport)
#else
#define HTMLPARSE_API __declspec(dllimport)
#endif
#else
#define HTMLPARSE_API __attribute__((visibility("default")))
#endif

/* Node kinds (block.type). */
enum { BT_ELEMENT = 1, BT_TEXT = 2, BT_COMMENT = 3, BT_DOCTYPE = 4 };

/* Layout flags of an element (block.flags): a line end followed its start tag
 * or its end tag in the source. On a comment, BF_BREAK_AFTER_END records a line
 * end directly after "-->". Other bits belong to the library. */
#define BF_BREAK_AFTER_START 0x10u
#define BF_BREAK_AFTER_END 0x20u

/* Set by the library on a TEXT node that is the content of a raw-text element
 * (SCRIPT, STYLE, XMP, IFRAME, NOEMBED, NOFRAMES, PLAINTEXT) or of TITLE or
 * TEXTAREA: its references were not decoded, so it is to be written back
 * unescaped. */
#define BF_RAW_TEXT 0x100u

/* Set by the library on an element whose own end tag stood in the source: the
 * element was closed by it, not by what HTML implies from a later tag or by
 * the end of the page. */
#define BF_END_TAG 0x200u

/* Set by the library on a node kept only to be written back as it stood: an
 * end tag that closed nothing (type BT_ELEMENT, tag HTML_UNKNOWN, no children)
 * or a processing instruction such as "<?php ... ?>" (type BT_COMMENT). Its
 * `text` is the markup's source, from "<" to ">" inclusive. */
#define BF_VERBATIM 0x400u

/* Set by the library on an element of SVG or MathML content whose start tag
 * ended in "/>", which closed it there. */
#define BF_SELF_CLOSED 0x800u

/* Set by the library on a comment that had no blank between its text and its
 * end ("<!--x-->"), and on a bogus comment ("<!x>", "</ x>"), whose text was
 * taken whole: it is written back with "-->" right after its text. */
#define BF_COMMENT_NO_BLANK 0x1000u

/* A byte of the page that the page's encoding cannot decode, or a NUL byte,
 * stands in the text (of any node, and in attribute names and values) as the
 * code point HTML_BYTE_STAND_IN_BASE plus the byte's value (U+10FF00 to
 * U+10FFFF, in UTF-8). A page may hold the same code points as characters of
 * its own, raw or as references, and the tree cannot tell the two apart: a
 * program must never turn such a code point into a byte. Where it keeps the
 * page's text it copies the page's own bytes (HTMLGetSourceSpan). */
#define HTML_BYTE_STAND_IN_BASE 0x10FF00u

/* Quoting of an attribute value (AttrRec.flags); neither bit: unquoted. */
#define AF_DOUBLE_QUOTED 1u
#define AF_SINGLE_QUOTED 2u

/* Element codes with a fixed meaning (block.tag). Every other element of HTML 4
 * and HTML5 has a code of its own above HTML_TEXT; HTML_UNKNOWN is kept for
 * names the library does not know, whose `text` is "<" followed by the name as
 * written. */
enum {
    HTML_A = 0,
    HTML_BODY = 5,
    HTML_BR = 6,
    HTML_DD = 9,
    HTML_DL = 11,
    HTML_DT = 12,
    HTML_H2 = 16,
    HTML_HR = 22, /* void: never has an end tag */
    HTML_HTML = 23,
    HTML_LI = 29, /* its end tag may be left out */
    HTML_P = 36,
    HTML_PRE = 37,
    HTML_STRONG = 40,
    HTML_TITLE = 42,
    HTML_UNKNOWN = 46,
    HTML_TEXT = 47
};

/* Attribute code of HREF (AttrRec.attr). */
#define HTML_ATTR_HREF 8

/* One attribute of an element. */
typedef struct AttrRec {
    int32_t attr;         /* attribute code; 8 is HREF */
    uint32_t reserved;    /* the library's; zero in records the caller builds */
    uint32_t flags;       /* AF_DOUBLE_QUOTED / AF_SINGLE_QUOTED */
    char* name;           /* the name as written in the source */
    char* value;          /* the value as written, without quotes; NULL: no value */
    struct AttrRec* next; /* next attribute of the same element, or NULL */
} AttrRec;

/* One node of the tree. */
typedef struct block {
    int32_t type;              /* BT_ELEMENT, BT_TEXT, BT_COMMENT or BT_DOCTYPE */
    uint32_t flags;            /* BF_* layout flags */
    int32_t tag;               /* element code; HTML_TEXT on every TEXT node */
    char* text;                /* element: library text; TEXT: the characters;
                                  comment: body after "<!--"; doctype: after "<!DOCTYPE " */
    uint32_t reserved;         /* the library's; zero in records the caller builds */
    AttrRec* attrs;            /* first attribute, or NULL */
    struct block* next_sib;    /* next node under the same parent, or NULL */
    struct block* first_child; /* first child, or NULL */
    struct block* parent;      /* the node this one hangs under; NULL at the top */
} block;

#if UINTPTR_MAX == 0xFFFFFFFFu
#ifdef __cplusplus
static_assert(sizeof(block) == 36 && sizeof(AttrRec) == 24, "32-bit record layout");
#else
_Static_assert(sizeof(block) == 36 && sizeof(AttrRec) == 24, "32-bit record layout");
#endif
#endif

/* Starts a parse, discarding the state of any earlier one that was not ended. */
HTMLPARSE_API void HTMLParseBegin(void);

/* Reads the whole stream (open for reading, at the page's start) and parses it.
 * The caller keeps and closes the stream. Never fails: unreadable bytes and
 * broken markup still give a tree.
 *
 * A page whose start gives its encoding (a byte-order mark or a declaration)
 * is read once. One whose encoding is sniffed (UTF-8 if all of it is valid
 * UTF-8) is read twice: once to find its encoding, and once more, from where
 * the stream stood at the start, to parse it; the bytes of a stream that
 * cannot seek (a pipe) are kept in memory for the second pass. The parse
 * does not hold the page whole: it reads a window of text at a time
 * (HTMLSetReadSize), and a window is kept only while nodes that point into
 * it are (see HTMLParseDoInParts). */
HTMLPARSE_API void HTMLParseDo(FILE* stream);

/* Sets how many bytes of a page a parse reads and decodes at a time, from
 * the next parse on; 0 restores the default, 128 KiB. A window of text holds
 * about this much, or a token longer than that. The tree does not depend on
 * it: smaller sizes serve tests, larger ones save little. */
HTMLPARSE_API void HTMLSetReadSize(size_t bytes);

/* Told by HTMLParseDoInParts that a part of the page has been parsed, with the
 * root of the tree built so far; `last` is 1 in the call after the whole page,
 * 0 before. Returns 0 to go on; anything else stops the parse there, which
 * then counts as incomplete (HTMLPageInfo.complete is 0).
 *
 * In a call, every node off the tree's last path (the root, its last child,
 * that child's last child, and so on down to a node without children) is
 * settled: neither it nor anything under it changes again. The callee may
 * unlink settled nodes from their parents and release them with
 * HTMLFreeTree; the parse then reuses their memory. It must leave every node
 * of the last path where it is, and change nothing in them but `first_child`
 * (to unlink a settled child). When `last` is 1 every node is settled. No
 * C++ exception may leave the callee. */
typedef int (*HTMLPartParsed)(block* root, int last, void* context);

/* Parses the stream as HTMLParseDo does, calling `parsed` (with `context`)
 * each time the page's tokens parsed since the last call span `part_size`
 * bytes or more, and once more at the end, so that a caller can write and
 * release the settled part of a large page while the rest is parsed; 0 calls
 * it before every token. HTMLGetPageInfo gives the page's encoding from the
 * first call on; `complete`, `ascii_only`, `crlf` and `cr` are set at the end
 * (of the bytes read, when the callee stopped the parse). HTMLParseEnd then
 * hands over the root with what the callee left in the tree. */
HTMLPARSE_API void HTMLParseDoInParts(FILE* stream, size_t part_size, HTMLPartParsed parsed,
                                      void* context);

/* Ends the parse and hands over the root, an element-less container node whose
 * children are the page's top-level nodes: its `type` is 0 (no kind, as it is
 * never written) and its `tag` -1. Never NULL. The root owns the memory of
 * the whole parsed tree, which HTMLFreeTree of the root releases. */
HTMLPARSE_API block* HTMLParseEnd(void);

/* Releases `node`, its attributes, its strings and all its descendants,
 * records added by the caller included. Leaves the node's following siblings
 * and every other node alone and unlinks nothing. NULL does nothing.
 * Records whose `reserved` is zero are the caller's: they and their strings
 * are released with free(). Records of the parse (and their strings) stay in
 * the parsed tree's memory until HTMLFreeTree of its root, so a string the
 * caller puts on a parsed record is not released. Works without recursion,
 * whatever the depth. */
HTMLPARSE_API void HTMLFreeTree(block* node);

/* Where a parsed node stood in the page: byte offsets into the stream as it
 * was read, counted from its position when the parse began (a byte-order
 * mark included), whatever the page's encoding and line ends. */
typedef struct HTMLSourceSpan {
    uint64_t begin;       /* the node's first byte: "<" of a start tag, comment or doctype */
    uint64_t end;         /* the byte after its last: after its end tag when it had one,
                             else after its last descendant, else after its start tag */
    uint64_t content_end; /* elements: where the end tag begins; `end` when it had none */
} HTMLSourceSpan;

/* Fills `span` for a node of a parsed tree and returns 1; returns 0 for the
 * root and for records the caller made, which have no place in the page.
 * During HTMLParseDoInParts, the nodes of the tree's last path still open
 * end where their content ends so far; every settled node has its final
 * span. A TEXT node whose leading line end became a layout flag of the tag
 * before it begins after that line end. */
HTMLPARSE_API int HTMLGetSourceSpan(const block* node, HTMLSourceSpan* span);

/* The value of the element's first attribute named `name` (letter case
 * ignored), or NULL when it has none. An attribute without a value yields "". */
HTMLPARSE_API const char* HTMLGetAttr(const block* node, const char* name);

/* The element name of a code, in upper case; the library keeps the string.
 * HTML_UNKNOWN yields a placeholder name; an invalid code yields "". */
HTMLPARSE_API const char* HTMLElementName(int code);

/* The same under its first name, kept for programs that call it so. */
HTMLPARSE_API const char* _ElementToName(int code);

/* How the encoding of the last parsed page was found. */
enum {
    HTML_ENCODING_BOM = 1,      /* a byte-order mark */
    HTML_ENCODING_DECLARED = 2, /* <meta charset> or http-equiv Content-Type */
    HTML_ENCODING_SNIFFED = 3   /* undeclared: valid UTF-8, else windows-1252 */
};

/* What the program needs to write the last parsed page back in its own form. */
typedef struct HTMLPageInfo {
    const char* encoding; /* name of the page's encoding: "UTF-8", "windows-1252", "CP932" ... */
    int encoding_source;  /* HTML_ENCODING_* */
    int has_bom;          /* the page began with a byte-order mark */
    int crlf;             /* the page's lines end in CRLF (read as LF) */
    int cr;               /* the page's lines end in a lone CR (read as LF) */
    int ascii_only;       /* every byte of the page was below 0x80 */
    int complete;         /* the whole stream was read and parsed; 0 when a read error or
                             running out of memory stopped the parse early (the tree then
                             holds only part of the page) */
    int read_error;       /* the errno value of the read that failed, 0 when none did */
} HTMLPageInfo;

/* Fills `info` for the page of the last HTMLParseDo; valid until the next
 * HTMLParseBegin. Before any parse: UTF-8, sniffed, no BOM, LF, ASCII, not
 * complete, no read error. The encoding is one browsers know: a declaration naming
 * another is ignored. */
HTMLPARSE_API void HTMLGetPageInfo(HTMLPageInfo* info);

/* How many line ends of each form the last parsed page holds (counted by
 * character in a UTF-16 page): a program that replaces a part of the page
 * can weigh the forms outside that part. Set with `crlf` and `cr` of
 * HTMLPageInfo, which give the most common form. */
typedef struct HTMLLineEnds {
    uint64_t lf;   /* LF not after CR */
    uint64_t crlf; /* CR LF */
    uint64_t cr;   /* CR not before LF */
} HTMLLineEnds;

/* Fills `counts` for the page of the last parse. */
HTMLPARSE_API void HTMLGetLineEnds(HTMLLineEnds* counts);

/* A malloc'd copy of the attribute value `value` with its character
 * references decoded as the text of a page is: "&amp;" is "&", "&#233;" and
 * "&eacute;" are the UTF-8 of U+00E9. A named reference without its ";" is
 * left as written, as browsers do inside attribute values. NULL when memory
 * runs out; the caller releases the copy with free(). */
HTMLPARSE_API char* HTMLDecodeAttribute(const char* value);

#ifdef __cplusplus
}
#endif

#endif /* HTMLPARSE_H */
