// What happens when the user chooses a menu item: the toolkit's own actions (file panels, copy and
// paste, clearing the text windows, showing and hiding windows), the menu event for the program, and
// the program's own menu items.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/platform.h"
#include "input/events.h"

// Handles a chosen menu item: records it as a t_MenuEvent in MenuEventQueue, carries out the toolkit
// action that its tag selects in MenuActionTable, or else starts the program's menu handler
// (t_EventMenu) in the background. Runs on the user-interface thread (other callers are handed over).
void t_MenuEventHandler(vx::MenuItemRef item);

// The toolkit's text (UTF-8, as t_GetScreen gives it) as pasteboard text: characters 127..160, the block
// and line graphics of the toolkit's fonts, become the nearest ASCII character; 160 becomes U+02FD.
std::string PasteboardText(std::string_view text);

namespace vx {

// Adds an item to the end of the menu titled `menuTitle` in every window's menu bar; a menu of that
// title is added to the menu bar first when there is none. Choosing the item posts a t_MenuEvent with
// ItemAction = tag and, unless MenuActionTable has a record for the tag, runs ProgramMenuHandler.
// `keyEquivalent` is one character ("" for none), pressed with `keyModifiers` (the toolkit's modifier
// flags, Control by default). False when the title is empty. Any thread.
bool AddMenuItem(const std::string& menuTitle, const std::string& itemTitle, std::int64_t tag,
                 const std::string& keyEquivalent = "", std::uint64_t keyModifiers = kControlFlag);
// Removes the first item titled `itemTitle` from the menu titled `menuTitle`; false when there is none.
bool RemoveMenuItem(const std::string& menuTitle, const std::string& itemTitle);

}  // namespace vx
