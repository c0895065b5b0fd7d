#include "text/charset.h"

#include "text/ascii.h"
#include "text/charset_tables.h"

namespace charset {

const Charset* Find(std::string_view name) {
    const tables::AllTables& all = tables::Tables();
    for (std::uint32_t i = 0; i < all.charset_count; ++i) {
        if (ascii::EqualsIgnoringCase(name, all.charsets[i].name)) return &all.charsets[i];
    }
    return nullptr;
}

}  // namespace charset
