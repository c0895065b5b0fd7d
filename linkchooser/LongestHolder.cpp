#include "linkchooser/LongestHolder.h"

namespace {

// `path` below `holder`: the rest after the holder's slash, or nothing.
std::optional<std::string> Below(const std::string& path, const std::string& holder) {
    if (path == holder) return std::string();
    const std::string withSlash = holder.empty() || holder == "/" ? "/" : holder + "/";
    if (path.rfind(withSlash, 0) != 0) return std::nullopt;
    return path.substr(withSlash.size());
}

}  // namespace

std::optional<Holding> LongestHolder(const std::vector<std::string>& holders,
                                     const std::string& path) {
    std::optional<Holding> best;
    std::size_t bestLength = 0;
    for (std::size_t index = 0; index < holders.size(); ++index) {
        const std::string& holder = holders[index] == "/" ? std::string() : holders[index];
        std::optional<std::string> rest = Below(path, holder);
        if (rest && (!best || holder.size() > bestLength)) {
            best = Holding{index, std::move(*rest)};
            bestLength = holder.size();
        }
    }
    return best;
}
