#include "support/RunProgram.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "support/TempDir.h"

namespace {

void ApplyEnvironment(const std::vector<std::string>& environment) {
    for (const std::string& entry : environment) {
        const std::size_t equals = entry.find('=');
        if (equals == std::string::npos) {
            unsetenv(entry.c_str());
        } else {
            setenv(entry.substr(0, equals).c_str(), entry.c_str() + equals + 1, 1);
        }
    }
}

// In the child: standard input from /dev/null, output and errors to files.
[[noreturn]] void Exec(const std::vector<std::string>& argv,
                       const std::vector<std::string>& environment, const std::string& outPath,
                       const std::string& errPath, const std::function<void()>& inChild) {
    ApplyEnvironment(environment);
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) _exit(127);
    if (inChild) inChild();
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment,
                         const std::function<void()>& inChild) {
    TempDir scratch;
    const std::string outPath = scratch / "stdout";
    const std::string errPath = scratch / "stderr";
    ProgramResult result;
    const pid_t pid = fork();
    if (pid == 0) Exec(argv, environment, outPath, errPath, inChild);
    if (pid < 0) return result;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return result;
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.exitCode = 128 + WTERMSIG(status);
    result.output = ReadFileBytes(outPath);
    result.errors = ReadFileBytes(errPath);
    return result;
}
