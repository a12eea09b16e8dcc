#include "menus/menu_items.h"

#include "core/log.h"
#include "core/program.h"

vx::MenuActionList MenuActionTable;

namespace vx {

void MenuActionList::Append(t_MenuAction action) {
    std::lock_guard lock(mutex_);
    items_.push_back(std::move(action));
}

std::size_t MenuActionList::Count() const {
    std::lock_guard lock(mutex_);
    return items_.size();
}

std::optional<t_MenuAction> MenuActionList::At(std::size_t i) const {
    std::lock_guard lock(mutex_);
    if (i >= items_.size()) return std::nullopt;
    return items_[i];
}

bool MenuActionList::Replace(std::size_t i, t_MenuAction action) {
    std::lock_guard lock(mutex_);
    if (i >= items_.size()) return false;
    items_[i] = std::move(action);
    return true;
}

bool MenuActionList::SetFile(std::size_t i, std::string path, std::string name) {
    std::lock_guard lock(mutex_);
    if (i >= items_.size()) return false;
    items_[i].FilePath = std::move(path);
    items_[i].FileName = std::move(name);
    return true;
}

std::int64_t MenuActionList::FindTag(std::int64_t tag) const {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].Tag == tag) return static_cast<std::int64_t>(i);
    }
    return -1;
}

std::vector<t_MenuAction> MenuActionList::Snapshot() const {
    std::lock_guard lock(mutex_);
    return items_;
}

}  // namespace vx

namespace {

constexpr std::int64_t kLastItem = 65535;

}  // namespace

vx::MenuItemRef MainMenuItem(const std::string& title) {
    return OnUserInterfaceThread([&] { return vx::CurrentPlatform().mainMenuItem(title); });
}

// Each item operation runs whole on the user-interface thread, so that the menu cannot change between
// the look-up and the change.
std::int64_t t_MenuItemIndex(const std::string& menuTitle, const std::string& itemTitle) {
    return OnUserInterfaceThread([&]() -> std::int64_t {
        vx::Platform& p = vx::CurrentPlatform();
        vx::MenuItemRef menu = p.mainMenuItem(menuTitle);
        if (menu == nullptr) {
            vx::Log("t_MenuItemIndex: Menu not found.");
            return -2;
        }
        int count = p.submenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            if (p.submenuItemTitle(menu, i) == itemTitle) return i;
        }
        return -1;
    });
}

void t_MenuItemDelete(const std::string& menuTitle, std::int64_t position) {
    OnUserInterfaceThread([&] {
        vx::Platform& p = vx::CurrentPlatform();
        vx::MenuItemRef menu = p.mainMenuItem(menuTitle);
        if (menu == nullptr) {
            vx::Log("t_MenuItemDelete: Menu not found.");
            return;
        }
        int count = p.submenuItemCount(menu);
        if (position == kLastItem && count >= 1) {
            p.removeSubmenuItem(menu, count - 1);
            return;
        }
        if (position < 0 || position >= count) {
            vx::Log("t_MenuItemDelete: Item position out of range");
            return;
        }
        p.removeSubmenuItem(menu, static_cast<int>(position));
    });
}

std::string t_MenuItemTitle(const std::string& menuTitle, std::int64_t position) {
    return OnUserInterfaceThread([&]() -> std::string {
        vx::Platform& p = vx::CurrentPlatform();
        vx::MenuItemRef menu = p.mainMenuItem(menuTitle);
        if (menu == nullptr) {
            vx::Log("t_MenuItemTitle: Menu not found.");
            return "";
        }
        int count = p.submenuItemCount(menu);
        if (position == kLastItem && count >= 1) return p.submenuItemTitle(menu, count - 1);
        if (position < 0 || position >= count) {
            vx::Log("t_MenuItemTitle: Item position out of range");
            return "";
        }
        return p.submenuItemTitle(menu, static_cast<int>(position));
    });
}

void AppendMenuAction(std::int64_t code) {
    MenuActionTable.Append(t_MenuAction{code, code, "", "", "", "", ""});
}

std::int64_t t_MenuActionIndex(std::int64_t tag) {
    if (tag == 0) return -1;
    return MenuActionTable.FindTag(tag);
}

namespace {

void TrimEditMenus() {
    static const char* const kEditItems[] = {"Special Characters…", "Emoji & Symbols", "Emoji & Symbole",
                                             "Start Dictation…", "Diktat starten …"};
    for (const char* menu : {"Bearbeiten", "Edit"}) {
        for (const char* item : kEditItems) {
            std::int64_t i = t_MenuItemIndex(menu, item);
            if (i >= 0) t_MenuItemDelete(menu, i);
        }
    }
    // A separator left at the end has an empty title.
    for (const char* menu : {"Bearbeiten", "Edit"}) {
        if (t_MenuItemTitle(menu, 65535).empty()) t_MenuItemDelete(menu, 65535);
    }
}

void TrimWindowMenus() {
    for (const char* item :
         {"Tile Window to Left of Screen", "Tile Window to Right of Screen", "Vollbildmodus"}) {
        for (const char* menu : {"Fenster", "Window"}) {
            const std::int64_t i = t_MenuItemIndex(menu, item);
            if (i >= 0) {
                vx::Log(std::string("*** Found ") + menu + " Menu Item " + item);
                t_MenuItemDelete(menu, i);
            }
        }
    }
}

}  // namespace

void vx::PrepareStartupMenus() {
    for (std::int64_t code = 200; code <= 231; ++code) AppendMenuAction(code);
    for (std::int64_t code = 110; code <= 114; ++code) AppendMenuAction(code);
    TrimEditMenus();
    TrimWindowMenus();
}
