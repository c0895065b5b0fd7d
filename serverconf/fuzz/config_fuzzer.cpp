// libFuzzer target over the configuration readers: arbitrary bytes are cut
// into Apache lines and words and into nginx directives, and, written as the
// main file of a scratch folder, read as a whole configuration of the kind
// their text shows. A reading either succeeds with at least one host or fails
// with a reason that names the file; the sanitizers watch every step. Texts
// that include other files are read as lines and blocks only, so a run never
// wanders through the machine's own files.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "serverconf/ApacheLines.h"
#include "serverconf/ConfigFailure.h"
#include "serverconf/NginxBlocks.h"
#include "serverconf/ServerConfig.h"
#include "text/ascii.h"

namespace {

// A scratch folder for one input's main file, removed with it afterwards
// (libFuzzer ends without running exit handlers).
class ScratchFolder {
  public:
    ScratchFolder() {
        if (mkdtemp(m_path) == nullptr) std::abort();
    }
    ~ScratchFolder() {
        unlink(Main().c_str());
        rmdir(m_path);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path() const { return m_path; }
    std::string Main() const { return Path() + "/main.conf"; }

  private:
    char m_path[32] = "/tmp/config-fuzz-XXXXXX";
};

void WriteMainFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const ApacheLine& line : ApacheLogicalLines(text)) ApacheWords(line.text);
    try {
        ReadNginxBlocks("main", text);
    } catch (const ConfigFailure&) {
    }
    if (ascii::Lowercase(text).find("include") != std::string::npos) return 0;

    const ScratchFolder scratch;
    const std::string main = scratch.Main();
    WriteMainFile(main, text);
    ServerConfigOptions options;
    options.apacheRoot = scratch.Path();
    options.nginxPrefix = scratch.Path();
    ServerConfig config;
    std::string error;
    if (ReadServerConfig(main, options, &config, &error)) {
        if (config.hosts.empty() || config.defaultHost >= config.hosts.size()) std::abort();
        std::string reason;
        ChooseServerHost(config, "x", scratch.Path() + "/page.html", &reason);
    } else if (error.rfind(main, 0) != 0) {
        std::abort();  // every failure names the main file first
    }
    return 0;
}
