#include "serverconf/NginxConfig.h"

#include <optional>
#include <vector>

#include "platform/config_files.h"
#include "serverconf/ConfigFailure.h"
#include "serverconf/IncludeChain.h"
#include "serverconf/NginxBlocks.h"

namespace {

constexpr char kDefaultRoot[] = "html";

std::string FolderOfFile(const std::string& file) {
    const std::string::size_type slash = file.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

// A folder given by `root` or `alias` where it was read.
struct PlacedFolder {
    std::string written;
    ConfigPlace place;
};

class NginxReader {
  public:
    NginxReader(const std::string& file, const ServerConfigOptions& options)
        : m_confFolder(FolderOfFile(file)), m_prefix(options.nginxPrefix), m_chain(file) {
        m_config.kind = ServerKind::kNginx;
        m_config.file = file;
    }

    void ReadMain(const std::vector<NginxDirective>& directives) {
        for (const NginxDirective& directive : Expanded(directives)) {
            if (directive.name == "http" && directive.hasBlock) ReadHttp(directive.block);
        }
    }

    ServerConfig Finish() {
        if (m_config.hosts.empty()) {
            throw ConfigFailure({m_config.file, 0}, "no server block is defined in http");
        }
        return m_config;
    }

  private:
    // `directives` with every `include` replaced by the directives of the
    // files it names.
    std::vector<NginxDirective> Expanded(const std::vector<NginxDirective>& directives);
    void ReadHttp(const std::vector<NginxDirective>& block);
    void ReadServer(const NginxDirective& server, const std::optional<PlacedFolder>& httpRoot);
    void ReadLocation(const NginxDirective& location, const std::optional<PlacedFolder>& root,
                      ServerHost* host);
    MappedFolder Mapping(const std::string& prefix, const std::string& written,
                         const std::string& directive, const ConfigPlace& place) const {
        return {prefix, written, JoinConfigPath(m_prefix, written), directive, place};
    }

    std::string m_confFolder;
    std::string m_prefix;
    ServerConfig m_config;
    bool m_haveDefault = false;
    IncludeChain m_chain;
};

std::vector<NginxDirective> NginxReader::Expanded(const std::vector<NginxDirective>& directives) {
    std::vector<NginxDirective> result;
    for (const NginxDirective& directive : directives) {
        if (directive.name != "include" || directive.hasBlock) {
            result.push_back(directive);
            continue;
        }
        if (directive.args.size() != 1)
            throw ConfigFailure(directive.place, "include needs one file");
        const std::string pattern = JoinConfigPath(m_confFolder, directive.args[0]);
        std::vector<std::string> files = MatchConfigFiles(pattern);
        if (files.empty() && !HasWildcard(pattern)) files.push_back(pattern);
        for (const std::string& file : files) {
            std::string text;
            std::string reason;
            if (!ReadConfigFile(file, &text, &reason)) {
                reason.insert(0, file + ": ");
                throw ConfigFailure(directive.place, reason);
            }
            m_chain.Enter(file, directive.place);
            const std::vector<NginxDirective> included = Expanded(ReadNginxBlocks(file, text));
            m_chain.Leave();
            result.insert(result.end(), included.begin(), included.end());
        }
    }
    return result;
}

// The last `root` among `directives`, when there is one.
std::optional<PlacedFolder> OwnFolder(const std::vector<NginxDirective>& directives,
                                      const char* name) {
    std::optional<PlacedFolder> folder;
    for (const NginxDirective& directive : directives) {
        if (directive.name != name) continue;
        if (directive.args.size() != 1)
            throw ConfigFailure(directive.place, std::string(name) + " needs one folder");
        folder = PlacedFolder{directive.args[0], directive.place};
    }
    return folder;
}

void NginxReader::ReadHttp(const std::vector<NginxDirective>& block) {
    const std::vector<NginxDirective> directives = Expanded(block);
    const std::optional<PlacedFolder> root = OwnFolder(directives, "root");
    for (const NginxDirective& directive : directives) {
        if (directive.name == "server" && directive.hasBlock) ReadServer(directive, root);
    }
}

// The port and security of a `listen`: "8080", "127.0.0.1:8080", "[::]:443
// ssl"; port 0 for a UNIX socket.
void ReadListen(const NginxDirective& listen, int* port, bool* secure, bool* isDefault) {
    const std::string& address = listen.args.empty() ? std::string() : listen.args[0];
    const std::string::size_type bracket = address.rfind(']');
    const std::string::size_type colon = address.rfind(':');
    std::string digits = address;
    if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket)) {
        digits = address.substr(colon + 1);
    }
    *port = !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos
                ? std::stoi(digits.substr(0, 5))
                : 80;
    if (address.rfind("unix:", 0) == 0) *port = 0;
    for (const std::string& flag : listen.args) {
        if (flag == "ssl") *secure = true;
        if (flag == "default_server" || flag == "default") *isDefault = true;
    }
}

// A name usable in a site address: not "_", no wildcard, no expression.
bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "_" && name[0] != '~' && name.find('*') == std::string::npos &&
           name.find('$') == std::string::npos;
}

void NginxReader::ReadServer(const NginxDirective& server,
                             const std::optional<PlacedFolder>& httpRoot) {
    const std::vector<NginxDirective> directives = Expanded(server.block);
    ServerHost host;
    host.place = server.place;
    int port = 80;
    bool secure = false;
    bool isDefault = false;
    bool listened = false;
    PlacedValue siteName;
    for (const NginxDirective& directive : directives) {
        if (directive.name == "listen" && !listened) {
            ReadListen(directive, &port, &secure, &isDefault);
            listened = true;
        } else if (directive.name == "server_name") {
            host.names.insert(host.names.end(), directive.args.begin(), directive.args.end());
            for (const std::string& name : directive.args) {
                if (siteName.value.empty() && IsPlainName(name)) siteName = {name, directive.place};
            }
        }
    }
    if (!siteName.value.empty() && port != 0) {
        host.siteUrl = {ComposeSiteUrl(secure ? "https" : "http", siteName.value, port),
                        siteName.place};
    }
    std::optional<PlacedFolder> root = OwnFolder(directives, "root");
    if (!root) root = httpRoot;
    const PlacedFolder rootFolder = root ? *root : PlacedFolder{kDefaultRoot, {m_config.file, 0}};
    if (rootFolder.written.find('$') != std::string::npos) {
        host.unmapped.push_back({"/", "root uses request variables", rootFolder.place});
    } else {
        host.folders.push_back(
            Mapping("/", rootFolder.written, root ? "root" : "built-in root", rootFolder.place));
    }
    for (const NginxDirective& directive : directives) {
        if (directive.name == "location" && directive.hasBlock)
            ReadLocation(directive, root, &host);
    }
    if (isDefault && !m_haveDefault) {
        m_config.defaultHost = m_config.hosts.size();
        m_haveDefault = true;
    }
    m_config.hosts.push_back(std::move(host));
}

void NginxReader::ReadLocation(const NginxDirective& location,
                               const std::optional<PlacedFolder>& root, ServerHost* host) {
    std::string modifier;
    std::string path = location.args.empty() ? std::string() : location.args.back();
    if (location.args.size() == 2) {
        modifier = location.args[0];
    } else {
        for (const char* glued : {"^~", "~*", "~", "="}) {
            if (path.rfind(glued, 0) == 0 && path.size() > std::string(glued).size()) {
                modifier = glued;
                path = path.substr(modifier.size());
                break;
            }
        }
    }
    if (path.empty() || path[0] == '@') return;
    const std::vector<NginxDirective> directives = Expanded(location.block);
    const std::optional<PlacedFolder> alias = OwnFolder(directives, "alias");
    const std::optional<PlacedFolder> ownRoot = OwnFolder(directives, "root");
    const std::optional<PlacedFolder>& serving = alias ? alias : ownRoot;
    const bool byPattern = modifier == "~" || modifier == "~*";
    if (serving && (byPattern || modifier == "=")) {
        host->unmapped.push_back({(modifier + " " + path),
                                  byPattern ? "a location by regular expression: what it serves "
                                              "cannot be listed"
                                            : "an exact location serves one URL, not a folder",
                                  location.place});
    } else if (serving && serving->written.find('$') != std::string::npos) {
        host->unmapped.push_back({path, "its folder uses request variables", serving->place});
    } else if (alias) {
        host->folders.push_back(Mapping(path, alias->written, "location alias", alias->place));
    } else if (ownRoot) {
        MappedFolder folder =
            Mapping(path, ownRoot->written + path, "location root", ownRoot->place);
        folder.written = ownRoot->written;
        host->folders.push_back(folder);
    }
    if (byPattern || modifier == "=") return;
    for (const NginxDirective& directive : directives) {
        if (directive.name == "location" && directive.hasBlock) {
            ReadLocation(directive, ownRoot ? ownRoot : root, host);
        }
    }
}

}  // namespace

ServerConfig ReadNginxConfig(const std::string& file, const std::string& text,
                             const ServerConfigOptions& options) {
    NginxReader reader(file, options);
    reader.ReadMain(ReadNginxBlocks(file, text));
    return reader.Finish();
}
