// Menus, the menu-action table, the menu handler, the open and save panels, the pasteboard and the
// toolkit's text windows (pasteboard, virtual printer, system console).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vxtools/records.h"

// ---- Menu items and the menu-action table ----

extern vx::MenuActionList MenuActionTable;

// Position of the first item titled itemTitle in the menu; -1 when none, -2 when the menu is missing.
[[nodiscard]] std::int64_t t_MenuItemIndex(const std::string& menuTitle, const std::string& itemTitle);
// Removes the item at position (65535: the last item).
void t_MenuItemDelete(const std::string& menuTitle, std::int64_t position);
// Title of the item at position (65535: the last item); "" on failure.
[[nodiscard]] std::string t_MenuItemTitle(const std::string& menuTitle, std::int64_t position);
// Appends the record (Tag = Action = code, empty texts) to MenuActionTable.
void AppendMenuAction(std::int64_t code);
// Position of the first record with this tag; -1 for tag 0 or no match.
[[nodiscard]] std::int64_t t_MenuActionIndex(std::int64_t tag);

// Handles a chosen menu item: records it as a t_MenuEvent in MenuEventQueue, carries out the toolkit
// action that its tag selects in MenuActionTable, or else starts the program's menu handler
// (t_EventMenu) in the background. Runs on the user-interface thread (other callers are handed over).
void t_MenuEventHandler(vx::MenuItemRef item);

// The toolkit's text (UTF-8, as t_GetScreen gives it) as pasteboard text: characters 127..160, the block
// and line graphics of the toolkit's fonts, become the nearest ASCII character; 160 becomes U+02FD.
[[nodiscard]] std::string PasteboardText(std::string_view text);

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

// ---- File panels ----

// Button text of the open panel when only files can be chosen ("Öffnen") and when directories can be
// chosen ("Wählen"). A program may change them.
extern vx::SharedString OpenPromptText;
extern vx::SharedString ChoosePromptText;

// Runs the open panel; user-interface thread only. The chosen paths in the panel's order; empty when
// cancelled. An empty fileTypes allows every type.
std::vector<std::string> OpenPanel(const std::string& title, const std::string& message,
                                   const std::string& fileTypes, bool multiple, bool files, bool directories);
// Runs the save panel; user-interface thread only. The chosen path, "" when cancelled.
std::string SavePanel(const std::string& name, const std::string& title, const std::string& message,
                      const std::string& fileTypes);
// The first path chosen in a one-item open panel, "" when cancelled. Any thread: another thread waits
// until the panel has closed while the user interface keeps running; "" when the application quits.
std::string t_OpenDialog(const std::string& title, const std::string& message, const std::string& fileTypes,
                         bool files, bool directories);
// The path chosen in the save panel, "" when cancelled. Any thread, as t_OpenDialog.
std::string t_SaveDialog(const std::string& name, const std::string& title, const std::string& message,
                         const std::string& fileTypes);

// ---- The text windows ----

// Run by the paste action while a graphic window is in front, on the user-interface thread. SystemBeep
// until the program replaces it.
extern vx::Handler& PasteHandler;
// Lists of the program's own for the virtual printer's and the system console's text; the toolkit puts
// nothing in them and empties them when the user clears the window.
extern vx::EventQueue<std::string>& VirtualPrinterBuffer;
extern vx::EventQueue<std::string>& SystemConsoleBuffer;

// Empty the text of the virtual printer (system console) and mark it for redisplay; any thread.
void ClearVirtualPrinterText();
void ClearSystemConsoleText();
