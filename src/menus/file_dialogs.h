// The open and save panels: modal on the user-interface thread, callable from any thread, handing back
// plain paths.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "vxtools/menus.h"

namespace vx {

// The path of a location the panels report: percent escapes decoded, precomposed (NFC), "file://"
// removed from the front. Exactly "file://" gives ""; anything else without that prefix comes back
// decoded and precomposed.
std::string PathFromFileUrl(const std::string& url);
// The text after the last "/"; the whole string when it has none; "" when it is empty or ends with "/".
std::string LastPathComponent(const std::string& path);
// Whether the path names something that exists and is neither a regular file nor a folder: a FIFO, a
// device, a socket (links followed). The panels refuse such a choice with a log line and a beep and hand
// back nothing for it, as if it had not been chosen.
bool IsSpecialFile(const std::string& path);
// File types split at every comma, nothing trimmed ("" gives one empty entry).
std::vector<std::string> SplitFileTypes(const std::string& fileTypes);

}  // namespace vx
