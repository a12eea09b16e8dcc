#include "shell/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

#ifndef VXTOOLS_VERSION
#define VXTOOLS_VERSION "unknown"
#endif

namespace vx::shell {
namespace {

// QApplication's options (Qt 6), with one dash or two; those in the first list take a value, either as
// the next argument or after '='.
constexpr std::array<std::string_view, 15> kQtOptionsWithValue{
    "platform",    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "style",  "stylesheet",
    "display",     "geometry",           "title",         "name",   "qmljsdebugger"};
constexpr std::array<std::string_view, 6> kQtFlags{"reverse", "nograb",      "dograb",
                                                   "sync",    "widgetcount", "testability"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

void Usage(std::ostream& out, const std::string& name, const std::string& about) {
    out << "Usage: " << name << " [option...]\n";
    if (!about.empty()) out << about << "\n";
    out << "\nOptions:\n"
           "  -h, --help        show this help and exit\n"
           "  --version         show the version and exit\n"
           "  Qt's own options work as well, for example -platform offscreen or -style Fusion.\n"
           "\nEnvironment:\n"
           "  VXTOOLS_LOG=stdout|stderr|quiet  where the toolkit's log lines go (default stdout)\n"
           "  VXTOOLS_FONT=FILE                the console font (PSF) to take for text first\n";
}

}  // namespace

std::string ProgramName(const char* argv0) {
    std::string_view path = argv0 != nullptr ? argv0 : "";
    const std::size_t slash = path.rfind('/');
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    return path.empty() ? std::string("vxtools") : std::string(path);
}

int HandleCommandLine(int argc, const char* const* argv, const std::string& about, std::ostream& out,
                      std::ostream& err) {
    const std::string name = ProgramName(argc > 0 ? argv[0] : nullptr);
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] != nullptr ? argv[i] : "";
        if (arg == "-h" || arg == "--help" || arg == "-help") {
            Usage(out, name, about);
            return 0;
        }
        if (arg == "--version" || arg == "-version") {
            out << name << " (vxtools) " << VXTOOLS_VERSION << "\n";
            return 0;
        }
    }
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i] != nullptr ? argv[i] : "";
        if (arg == "--") break;
        if (arg.size() < 2 || arg[0] != '-') continue;  // not an option: left to the program
        std::string_view option = arg.substr(arg[1] == '-' ? 2 : 1);
        const std::size_t equals = option.find('=');
        const bool hasValue = equals != std::string_view::npos;
        option = option.substr(0, equals);
        if (Contains(kQtOptionsWithValue, option)) {
            if (!hasValue) ++i;  // the value follows
            continue;
        }
        if (Contains(kQtFlags, option) && !hasValue) continue;
        err << name << ": unknown option '" << arg << "'\nTry '" << name
            << " --help' for more information.\n";
        return 2;
    }
    return -1;
}

}  // namespace vx::shell
