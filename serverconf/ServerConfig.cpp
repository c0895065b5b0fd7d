#include "serverconf/ServerConfig.h"

#include "platform/config_files.h"
#include "platform/file_system.h"
#include "serverconf/ApacheConfig.h"
#include "serverconf/ConfigFailure.h"
#include "serverconf/NginxConfig.h"
#include "text/ascii.h"

namespace {

// True when `line` opens a block with a brace that is not part of Apache's
// ${NAME} or %{NAME}.
bool OpensBlock(const std::string& line) {
    for (std::string::size_type at = line.find('{'); at != std::string::npos;
         at = line.find('{', at + 1)) {
        if (at == 0 || (line[at - 1] != '$' && line[at - 1] != '%')) return true;
    }
    return false;
}

// nginx ends every directive with ';' or a block; an Apache directive ends
// with its line. A line that ends in ';', opens a block, or is a lone '}',
// outside a comment, is nginx.
bool LooksLikeNginx(const std::string& text) {
    std::string::size_type at = 0;
    while (at < text.size()) {
        std::string::size_type end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        const std::string::size_type hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        while (!line.empty() && std::string(" \t\r").find(line.back()) != std::string::npos) {
            line.pop_back();
        }
        if (line.empty()) continue;
        if (line.back() == ';' || OpensBlock(line)) return true;
        if (line.find_first_not_of(" \t") == line.size() - 1 && line.back() == '}') return true;
    }
    return false;
}

// True when `folder` is `path` or holds it (both resolved paths).
bool Holds(const std::string& folder, const std::string& path) {
    if (folder == "/") return true;
    return path == folder || path.rfind(folder + "/", 0) == 0;
}

// `page` with links resolved: the file's own path, or its folder's joined
// with its name for a page not written yet; nothing when neither exists.
std::optional<std::string> ResolvedPage(const std::string& page) {
    if (page.empty()) return std::nullopt;
    if (std::optional<std::string> real = RealPath(page)) return real;
    const std::string::size_type slash = page.rfind('/');
    if (slash == std::string::npos) return std::nullopt;
    const std::optional<std::string> folder = RealPath(slash == 0 ? "/" : page.substr(0, slash));
    if (!folder) return std::nullopt;
    return *folder + page.substr(slash);
}

}  // namespace

bool ReadServerConfig(const std::string& named, const ServerConfigOptions& options,
                      ServerConfig* config, std::string* error) {
    // Included files are found relative to the main file's folder.
    const std::string file = JoinConfigPath("/", AbsoluteSystemPath(named));
    std::string text;
    std::string reason;
    if (!ReadConfigFile(file, &text, &reason)) {
        *error = file + ": " + reason;
        return false;
    }
    try {
        *config = LooksLikeNginx(text) ? ReadNginxConfig(file, text, options)
                                       : ReadApacheConfig(file, text, options);
    } catch (const ConfigFailure& failure) {
        *error = failure.what();
        return false;
    }
    return true;
}

const ServerHost* ChooseServerHost(const ServerConfig& config, const std::string& site,
                                   const std::string& page, std::string* error) {
    if (!site.empty()) {
        for (const ServerHost& host : config.hosts) {
            for (const std::string& name : host.names) {
                if (ascii::EqualsIgnoringCase(name, site)) return &host;
            }
        }
        *error = config.file + ": no host is named \"" + site + "\"";
        return nullptr;
    }
    const std::optional<std::string> pagePath = ResolvedPage(page);
    for (const ServerHost& host : config.hosts) {
        if (!pagePath || host.folders.empty() || host.folders.front().urlPrefix != "/") continue;
        const std::optional<std::string> root = RealPath(host.folders.front().folder);
        if (root && Holds(*root, *pagePath)) return &host;
    }
    return &config.hosts[config.defaultHost];
}

const char* ServerKindName(ServerKind kind) {
    return kind == ServerKind::kNginx ? "nginx" : "Apache";
}
