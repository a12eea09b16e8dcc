#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

// Help, version and the messages themselves are checked on the real applications; here the decisions.
TEST(CommandLine, HelpWinsUnknownOptionsFailAndQtsOwnOptionsPass) {
    struct Case {
        std::vector<const char*> args;
        int status;
    };
    const Case cases[] = {
        {{"--platform=offscreen", "-style", "Fusion", "-reverse"}, -1},
        {{"-qwindowgeometry", "100x100+0+0", "picture.png"}, -1},
        {{"-style"}, -1},  // Qt itself reports the missing value
        {{"--", "--not-an-option"}, -1},
        {{"--bogus"}, 2},
        {{"-x"}, 2},
        {{"-reverse=yes"}, 2},
        {{"-platform", "offscreen", "--frobnicate"}, 2},
        {{"-h"}, 0},
        {{"--bogus", "--help"}, 0},  // wherever it stands
    };
    for (const Case& c : cases) {
        std::vector<const char*> args = c.args;
        args.insert(args.begin(), "/usr/bin/Malkasten");
        std::ostringstream out, err;
        const int status = vx::shell::HandleCommandLine(int(args.size()), args.data(), "Paints.", out, err);
        EXPECT_EQ(status, c.status) << args.back();
        EXPECT_EQ(out.str().empty(), status != 0) << args.back();
        EXPECT_EQ(err.str().empty(), status != 2) << args.back();
    }
}
