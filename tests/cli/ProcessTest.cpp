// The tavrel command as a process: exit codes tell usage errors (2), refusals
// (1) and success (0) apart, as scripts rely on.
#include <gtest/gtest.h>

#include <string>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

ProgramResult Tavrel(std::vector<std::string> args) {
    args.insert(args.begin(), TAVREL_CLI_PATH);
    return RunProgram(args);
}

TEST(ProcessTest, ExitCodesSeparateUsageRefusalAndSuccess) {
    TempDir dir;
    EXPECT_EQ(Tavrel({"add"}).exitCode, 2);
    EXPECT_EQ(Tavrel({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(Tavrel({"change", dir / "p.html", "-1"}).exitCode, 2);

    const ProgramResult help = Tavrel({"change", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("INDEX"), std::string::npos);

    const ProgramResult refused = Tavrel({"add", dir / "p.txt", "--link", "/a.htm"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.errors.find("The file path is not an HTML document."), std::string::npos);

    EXPECT_EQ(Tavrel({"add", dir / "p.html", "--link", "/a.htm"}).exitCode, 0);
    EXPECT_EQ(Tavrel({"list", dir / "p.html"}).exitCode, 0);
}

}  // namespace
