// Line ends: counting a text's LF, CRLF and lone CR line ends as its pieces
// go by, and the form most of them take. The parser counts a page's line
// ends with it, and the page writer the ones of the part it replaces, so
// that both decide a page's form by the same rule.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lineends {

struct Counts {
    std::uint64_t lf = 0;    // LF not after CR
    std::uint64_t crlf = 0;  // CR LF
    std::uint64_t cr = 0;    // CR not before LF
};

enum class Form { kLf, kCrLf, kCr };

// The form text written among lines counted as `counts` takes: the most
// common one; a text mostly in CRLF keeps CRLF; LF when there are none.
Form MostCommon(const Counts& counts);

// Counts line ends across pieces: a CRLF cut between two pieces is one.
class Counter {
  public:
    // The next character of the text (a UTF-16 page's code units).
    void Unit(char32_t unit);
    // The next bytes of a text whose line ends are bytes (any encoding but
    // UTF-16).
    void Bytes(const char* data, std::size_t size);
    // The counts of the whole text, a CR at its very end included.
    Counts Finish() const;

  private:
    Counts counts_;
    bool after_cr_ = false;
};

}  // namespace lineends
