#include "menus/file_dialogs.h"

#include <sys/stat.h>

#include "core/log.h"
#include "core/platform.h"
#include "core/program.h"
#include "core/unicode.h"

vx::SharedString OpenPromptText{"Öffnen"};
vx::SharedString ChoosePromptText{"Wählen"};

namespace vx {

std::string PathFromFileUrl(const std::string& url) {
    static constexpr std::string_view kScheme = "file://";
    std::string path = PrecomposedUtf8(DecodePercentEscapes(url));
    if (path.starts_with(kScheme)) path.erase(0, kScheme.size());
    return path;
}

std::string LastPathComponent(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> SplitFileTypes(const std::string& fileTypes) {
    std::vector<std::string> types;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = fileTypes.find(',', start);
        types.push_back(
            fileTypes.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return types;
        start = comma + 1;
    }
}

bool IsSpecialFile(const std::string& path) {
    struct stat info = {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return false;  // absent: a file still to make
    return !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

namespace {

// A program reads or writes what a panel hands back, and a FIFO without a partner blocks that for ever,
// a device like /dev/zero never ends: such a choice is refused where it is made, with a line and a beep.
bool RefusedAsSpecial(std::string_view panel, const std::string& path) {
    if (!IsSpecialFile(path)) return false;
    std::string line(panel);
    line.append(": Not a regular file, refused: ").append(path);
    Log(line);
    SystemBeep();
    return true;
}

}  // namespace

}  // namespace vx

std::vector<std::string> OpenPanel(const std::string& title, const std::string& message,
                                   const std::string& fileTypes, bool multiple, bool files,
                                   bool directories) {
    vx::OpenPanelRequest request;
    request.buttonText = directories ? ChoosePromptText.Value() : OpenPromptText.Value();
    request.title = title;
    request.message = message;
    if (!fileTypes.empty()) request.fileTypes = vx::SplitFileTypes(fileTypes);
    request.multiple = multiple;
    request.files = files;
    request.directories = directories;
    std::vector<std::string> paths;
    for (const std::string& url : vx::CurrentPlatform().runOpenPanel(request)) {
        std::string path = vx::PathFromFileUrl(url);
        if (!vx::RefusedAsSpecial("OpenPanel", path)) paths.push_back(std::move(path));
    }
    return paths;
}

std::string SavePanel(const std::string& name, const std::string& title, const std::string& message,
                      const std::string& fileTypes) {
    vx::SavePanelRequest request;
    request.buttonText = "Sichern";
    request.nameFieldLabel = "Sichern unter:";
    request.title = title;
    request.message = message;
    request.proposedName = name;
    request.fileTypes = vx::SplitFileTypes(fileTypes);
    const std::string url = vx::CurrentPlatform().runSavePanel(request);
    if (url.empty()) return "";
    std::string path = vx::PathFromFileUrl(url);
    return vx::RefusedAsSpecial("SavePanel", path) ? std::string() : path;
}

// From another thread the panel runs inside a blocking hand-over: the caller waits until the panel has
// closed, the user-interface thread keeps serving events meanwhile, and quitting releases the caller.
std::string t_OpenDialog(const std::string& title, const std::string& message, const std::string& fileTypes,
                         bool files, bool directories) {
    return OnUserInterfaceThread([&] {
        std::vector<std::string> paths = OpenPanel(title, message, fileTypes, false, files, directories);
        return paths.empty() ? std::string() : paths.front();
    });
}

std::string t_SaveDialog(const std::string& name, const std::string& title, const std::string& message,
                         const std::string& fileTypes) {
    return OnUserInterfaceThread([&] { return SavePanel(name, title, message, fileTypes); });
}
