// windows-1252, the encoding of undeclared pages that are not UTF-8 and of
// the numeric references 128 to 159: each byte's code point.
#ifndef HTMLPARSE_WINDOWS1252_H
#define HTMLPARSE_WINDOWS1252_H

namespace htmlparse {

// The Unicode code point of a windows-1252 byte; the five bytes the encoding
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the
// same value, as in browsers.
inline char32_t Windows1252CodePoint(unsigned char byte) {
    constexpr char16_t kC1[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    if (byte >= 0x80 && byte < 0xA0) return kC1[byte - 0x80];
    return byte;
}

}  // namespace htmlparse

#endif
