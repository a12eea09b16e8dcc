#include "menus/toolkit_hooks.h"

#include "core/hooks.h"
#include "menus/menu_items.h"
#include "text/end_message.h"

void vx::InstallToolkitHooks() {
    SetToolkitHooks({.prepareMenus = PrepareStartupMenus, .showEndMessage = text::ShowEndMessage});
}
