// Tag table: element codes, names and the parsing properties of each element.
//
// Codes below HTML_TEXT are the fixed ones of the public header (22 is HR and
// 29 LI, elements whose end tag a browser never needs; 37 is PRE); every other
// element of HTML 4 and HTML5, obsolete ones included, has a code above
// HTML_TEXT. Names the table does not know get HTML_UNKNOWN. The properties
// drive the tokenizer (raw text) and the tree builder (void elements, implied
// ends and the scopes that bound them).
#ifndef HTMLPARSE_TAG_TABLE_H
#define HTMLPARSE_TAG_TABLE_H

#include <cstddef>
#include <cstdint>

#include "htmlparse.h"

namespace htmlparse {

// Codes of elements the parser treats specially (beyond the header's).
enum ElementCode : int {
    kCodeAddress = 48,
    kCodeApplet,
    kCodeArea,
    kCodeBase,
    kCodeBasefont,
    kCodeBgsound,
    kCodeButton,
    kCodeCaption,
    kCodeCol,
    kCodeColgroup,
    kCodeDiv,
    kCodeEmbed,
    kCodeFrame,
    kCodeH1,
    kCodeH3,
    kCodeH4,
    kCodeH5,
    kCodeH6,
    kCodeHead,
    kCodeIframe,
    kCodeImg,
    kCodeInput,
    kCodeKeygen,
    kCodeLink,
    kCodeMarquee,
    kCodeMath,
    kCodeMeta,
    kCodeNoembed,
    kCodeNoframes,
    kCodeObject,
    kCodeOl,
    kCodeOptgroup,
    kCodeOption,
    kCodeParam,
    kCodePlaintext,
    kCodeScript,
    kCodeSource,
    kCodeStyle,
    kCodeSvg,
    kCodeTable,
    kCodeTbody,
    kCodeTd,
    kCodeTemplate,
    kCodeTextarea,
    kCodeTfoot,
    kCodeTh,
    kCodeThead,
    kCodeTr,
    kCodeTrack,
    kCodeUl,
    kCodeWbr,
    kCodeXmp,
    kFirstOrdinaryCode  // the remaining elements follow from here
};

// Parsing properties of an element (bit set).
enum ElementProperty : std::uint32_t {
    kVoid = 1u << 0,           // takes no children, has no end tag
    kRawText = 1u << 1,        // content is raw text up to the matching end tag
    kRcdata = 1u << 2,         // like kRawText, but references are decoded
    kClosesP = 1u << 3,        // its start tag closes an open P
    kSpecial = 1u << 4,        // stops the search for an open LI, DD or DT
    kScopeBoundary = 1u << 5,  // bounds the search for an end tag's open match
    kTableBoundary = 1u << 6,  // bounds the search for open table parts
    kHeadContent = 1u << 7,    // may stand in HEAD without closing it
    kHeading = 1u << 8,        // H1 to H6
    kForeign = 1u << 9,        // SVG and MathML roots: "/>" closes elements inside
};

// Number of codes, valid and invalid: every code is below this.
inline constexpr int kCodeLimit = 256;

// The code of an element name (`length` bytes, any letter case), or
// HTML_UNKNOWN.
int LookupElement(const char* name, std::size_t length);

// Properties of a code; 0 for codes without an element.
std::uint32_t ElementProperties(int code);

// Name of a code in upper case, "UNKNOWN" for HTML_UNKNOWN, "" when the code
// has no element. The string is static.
const char* ElementUpperName(int code);

// Name of a code in lower case, as stored in the `text` of parsed elements;
// "" when the code has no element.
const char* ElementLowerName(int code);

}  // namespace htmlparse

#endif
