// Menu items addressed by menu title and position, and the table that links item tags to actions.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/platform.h"

struct t_MenuAction {
    std::int64_t Tag = 0;
    std::int64_t Action = 0;
    std::string Title;
    std::string Note;
    std::string FileName;
    std::string FileTypes;
    std::string FilePath;
};

namespace vx {

// The menu-action table: a list that the program appends to and reads from its thread while the menu
// handler reads it and stores file results on the user-interface thread. Every access takes its lock.
class MenuActionList {
  public:
    void Append(t_MenuAction action);
    std::size_t Count() const;
    // A copy of record i; nullopt when out of range.
    std::optional<t_MenuAction> At(std::size_t i) const;
    // Replaces record i; false when out of range.
    bool Replace(std::size_t i, t_MenuAction action);
    // Position of the first record with this tag, or -1.
    std::int64_t FindTag(std::int64_t tag) const;
    std::vector<t_MenuAction> Snapshot() const;

  private:
    mutable std::mutex mutex_;
    std::vector<t_MenuAction> items_;
};

}  // namespace vx

extern vx::MenuActionList MenuActionTable;

// The first top-level item of the main menu with this title, or none. Runs on the user-interface thread.
vx::MenuItemRef MainMenuItem(const std::string& title);
// Position of the first item titled itemTitle in the menu; -1 when none, -2 when the menu is missing.
std::int64_t t_MenuItemIndex(const std::string& menuTitle, const std::string& itemTitle);
// Removes the item at position (65535: the last item).
void t_MenuItemDelete(const std::string& menuTitle, std::int64_t position);
// Title of the item at position (65535: the last item); "" on failure.
std::string t_MenuItemTitle(const std::string& menuTitle, std::int64_t position);
// Appends the record (Tag = Action = code, empty texts) to MenuActionTable.
void AppendMenuAction(std::int64_t code);
// Position of the first record with this tag; -1 for tag 0 or no match.
std::int64_t t_MenuActionIndex(std::int64_t tag);
