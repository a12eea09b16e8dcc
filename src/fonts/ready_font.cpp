#include "fonts/ready_font.h"

#include <cstdlib>
#include <filesystem>

#include "core/log.h"
#include "vxtools/extensions.h"
#include "vxtools/psf_font.h"

namespace vx {
namespace {

// LoadPsfFont logs for a file it cannot use; the search only wants the ones that exist.
bool Usable(const std::filesystem::path& path, t_Font& font) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    font = LoadPsfFont(path.string());
    return !font.Data.empty();
}

}  // namespace

t_Font ReadyFontFrom(const std::string& chosen, const std::string& folder) {
    t_Font font;
    if (!chosen.empty()) {
        // Whatever is wrong with the chosen file, LoadPsfFont has said it; the search goes on.
        font = LoadPsfFont(chosen);
        if (!font.Data.empty()) return font;
        Log("vx::ReadyFont: VXTOOLS_FONT=" + chosen + " is not used.");
    }
    for (const char* name : kReadyFontNames)
        if (Usable(std::filesystem::path(folder) / name, font)) return font;
    Log("vx::ReadyFont: No console font found; install the package console-setup-linux or set VXTOOLS_FONT "
        "to a PSF font file. Windows get no text layer.");
    return t_Font{};
}

t_Font ReadyFont() {
    const char* chosen = std::getenv("VXTOOLS_FONT");
    return ReadyFontFrom(chosen != nullptr ? chosen : "", "/usr/share/consolefonts");
}

}  // namespace vx
