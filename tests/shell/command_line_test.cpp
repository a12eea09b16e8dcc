#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result Handle(std::vector<const char*> args) {
    args.insert(args.begin(), "/usr/bin/Malkasten");
    std::ostringstream out, err;
    const int status = vx::shell::HandleCommandLine(int(args.size()), args.data(), "Paints.", out, err);
    return {status, out.str(), err.str()};
}

TEST(CommandLine, HelpAndVersionAnswerAndEndUnknownOptionsFailQtOptionsPass) {
    const Result help = Handle({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: Malkasten [option...]\nPaints.\n", 0), 0u) << help.out;
    EXPECT_EQ(Handle({"-h"}).status, 0);
    // Help wins wherever it stands, even after an unknown option.
    EXPECT_EQ(Handle({"--bogus", "--help"}).status, 0);

    const Result version = Handle({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("Malkasten (vxtools) ", 0), 0u) << version.out;

    struct Case {
        std::vector<const char*> args;
        int status;
    };
    const Case cases[] = {
        {{}, -1},
        {{"-platform", "offscreen"}, -1},
        {{"--platform=offscreen", "-style", "Fusion", "-reverse"}, -1},
        {{"-qwindowgeometry", "100x100+0+0", "picture.png"}, -1},
        {{"-style"}, -1},  // Qt itself reports the missing value
        {{"--", "--not-an-option"}, -1},
        {{"--bogus"}, 2},
        {{"-x"}, 2},
        {{"-reverse=yes"}, 2},
        {{"-platform", "offscreen", "--frobnicate"}, 2},
    };
    for (const Case& c : cases) {
        const Result r = Handle(c.args);
        EXPECT_EQ(r.status, c.status) << (c.args.empty() ? "" : c.args.back());
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_EQ(Handle({"--bogus"}).err,
              "Malkasten: unknown option '--bogus'\nTry 'Malkasten --help' for more information.\n");
}

}  // namespace
