#include "serverconf/IncludeChain.h"

#include <algorithm>

#include "platform/config_files.h"
#include "serverconf/ConfigFailure.h"

namespace {

std::string Identity(const std::string& file) { return RealPath(file).value_or(file); }

}  // namespace

IncludeChain::IncludeChain(const std::string& mainFile) : m_files{Identity(mainFile)} {}

void IncludeChain::Enter(const std::string& file, const ConfigPlace& place) {
    const std::string identity = Identity(file);
    if (std::find(m_files.begin(), m_files.end(), identity) != m_files.end()) {
        throw ConfigFailure(place, file + " includes itself");
    }
    if (++m_read > kMaxFiles) {
        throw ConfigFailure(place,
                            "more than " + std::to_string(kMaxFiles) + " files are included");
    }
    m_files.push_back(identity);
}
