#include "text/charset_tables.h"

#include <iterator>

namespace charset::tables {

namespace {

#include "charset_tables.inc"

}  // namespace

const AllTables& Tables() {
    static constexpr AllTables kAll{kCharsetTables, std::size(kCharsetTables),
                                    kPool,          kNodes,
                                    kSupplements,   kBuffered,
                                    kCompositions,  kFourByteRanges,
                                    kOverrides,     kEncodeCompositions};
    return kAll;
}

}  // namespace charset::tables
