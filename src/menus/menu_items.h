// Menu items addressed by menu title and position, and the table that links item tags to actions.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/platform.h"
#include "vxtools/menus.h"

// The first top-level item of the main menu with this title, or none. Runs on the user-interface thread.
vx::MenuItemRef MainMenuItem(const std::string& title);

namespace vx {
// The menu part of t_InitMemory: the preset records 200..231 and 110..114 of the menu-action table, and
// the system's items that the toolkit's menus do without. Installed as a core hook.
void PrepareStartupMenus();
}  // namespace vx
