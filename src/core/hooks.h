// The points where core must set off work that belongs to a higher layer. Core calls the hooks; the
// higher layers install them explicitly when a platform starts (vx::InstallToolkitHooks in the menus
// layer), never from static initialisers, which a linker may drop with their object file. A hook not
// installed does nothing.
#pragma once

#include <cstdint>
#include <functional>

namespace vx {

struct ToolkitHooks {
    // Run by t_InitMemory after the window table exists and before the memory counts as initialised:
    // fills the menu-action table's preset records and trims the platform menus.
    std::function<void()> prepareMenus;
    // Run by t_QuitProgram on the thread that ends: leaves "(Programm Ende)" in the window, if it exists.
    std::function<void(std::uint8_t window)> showEndMessage;
};

// Replaces the installed hooks; any thread.
void SetToolkitHooks(ToolkitHooks hooks);
// The hooks installed now (a copy, so a hook may run while another thread replaces them).
[[nodiscard]] ToolkitHooks InstalledToolkitHooks();

}  // namespace vx
