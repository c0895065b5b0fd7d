// Text made fit for an XML 1.0 document.
#pragma once

#include <string>

// `text` (UTF-8) escaped for element content and double-quoted attribute
// values: "&", "<", ">" and '"' as references. Characters XML 1.0 does not
// allow (control characters other than tab, line feed and carriage return,
// surrogates, U+FFFE, U+FFFF) are dropped, as are the stand-ins the parser
// puts for undecodable bytes (U+10FF00 to U+10FFFF); a byte that is not
// valid UTF-8 becomes U+FFFD. Everything else stays as it is.
std::string XmlText(const std::string& text);
