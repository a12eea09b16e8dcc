#include <optional>

#include "core/log.h"
#include "core/program.h"
#include "core/state.h"
#include "core/strings.h"
#include "display/refresh.h"
#include "display/window.h"
#include "menus/file_dialogs.h"
#include "menus/menu_items.h"
#include "menus/text_windows.h"
#include "text/readback.h"
#include "vxtools/core.h"
#include "vxtools/display.h"
#include "vxtools/menus.h"

namespace {

void ShowGraphicWindow(std::int64_t k, bool show) {
    const auto n = std::uint8_t(k);
    if (!MemoryInitialised.load(std::memory_order_acquire) || !vx::Load(WindowTable[n].Initialized)) {
        vx::Log("t_MenuEventHandler: Window #" + std::to_string(k) + " not initialized.");
        SystemBeep();
        return;
    }
    if (show)
        t_WindowFront(n);
    else
        t_WindowVisible(n, false);
}

void CopyPicture(std::uint8_t front) {
    std::shared_ptr<const vx::WindowImage> picture = WindowPicture(front);
    if (picture == nullptr) {
        SystemBeep();
        return;
    }
    vx::Platform& platform = vx::CurrentPlatform();
    platform.clearPasteboard();
    platform.setPasteboardImage(*picture);
}

const char* AbsentTextViewLine(int n) {
    return n == 9 ? "t_MenuEventHandler: Virtual printer window is nil, resource undefined."
                  : "t_MenuEventHandler: System console window is nil, resource undefined.";
}

void CopyText(std::uint8_t front) {
    vx::Platform& platform = vx::CurrentPlatform();
    std::string text;
    if (front <= 7) {
        text = PasteboardText(t_GetScreen(front, "\r"));
    } else if (front == 9 || front == 10) {
        vx::TextViewRef view = platform.textView(front);
        if (view == nullptr) {
            vx::Log(AbsentTextViewLine(front));
            SystemBeep();
            return;
        }
        text = platform.textViewText(view);
    } else {
        SystemBeep();
        return;
    }
    platform.clearPasteboard();
    platform.setPasteboardText(text);
}

void ClearTextWindow(int n) {
    if (vx::CurrentPlatform().textView(n) == nullptr) {
        vx::Log(AbsentTextViewLine(n));
        SystemBeep();
        return;
    }
    if (n == 9) {
        VirtualPrinterBuffer.Clear();
        ClearVirtualPrinterText();
    } else {
        SystemConsoleBuffer.Clear();
        ClearSystemConsoleText();
    }
}

// A file action: the panel with the record's texts, then the chosen path and name in the record.
void RunFileAction(std::int64_t index, const t_MenuAction& record) {
    const std::string path = record.Action == 100
                                 ? t_OpenDialog(record.Title, record.Note, record.FileTypes, true, false)
                                 : t_SaveDialog(record.FileName, record.Title, record.Note, record.FileTypes);
    // The panel may have been open a long while; the program's changes to the record stand.
    MenuActionTable.SetFile(std::size_t(index), path, vx::LastPathComponent(path));
}

void RunAction(std::int64_t index, const t_MenuAction& record) {
    const std::uint8_t front = t_FrontWindowNumber();
    const std::int64_t code = record.Action;
    switch (code) {
        case 100:
        case 101:
            RunFileAction(index, record);
            return;
        case 110:
            CopyPicture(front);
            return;
        case 111:
            CopyText(front);
            return;
        case 112:
            ClearTextWindow(9);
            return;
        case 113:
            if (front <= 7)
                PasteHandler();
            else
                SystemBeep();
            return;
        case 114:
            ClearTextWindow(10);
            return;
        case 200:
            for (int k = 0; k <= 12; ++k) t_WindowVisible(std::uint8_t(k), false);
            return;
        case 201:
            t_WindowVisible(front, false);
            return;
        case 205:
        case 207:
        case 209:
        case 211:
        case 229: {
            static constexpr std::uint8_t kShown[] = {12, 11, 9, 8};
            t_WindowFront(code == 229 ? 10 : kShown[(code - 205) / 2]);
            return;
        }
        case 206:
        case 208:
        case 210:
        case 212:
        case 230: {
            static constexpr std::uint8_t kHidden[] = {12, 11, 9, 8};
            t_WindowVisible(code == 230 ? 10 : kHidden[(code - 206) / 2], false);
            return;
        }
        default:
            if (code >= 213 && code <= 228) ShowGraphicWindow((code - 213) / 2, (code - 213) % 2 == 0);
            return;
    }
}

void HandleMenuItem(vx::MenuItemRef item) {
    const vx::MenuItemInfo info = vx::CurrentPlatform().menuItemInfo(item);
    t_MenuEvent event;
    bool callProgram = true;
    if (info.inMenu) {
        event.Kind = 3;
        event.MenuTitle = info.menuTitle;
        event.ItemTitle = info.title;
        event.ItemKeyChar = info.keyEquivalent;
        event.ItemKeyMods = info.keyModifiers;
        std::size_t i = 0;
        event.ItemKeyAsc =
            info.keyEquivalent.empty() ? 0 : std::int64_t(vx::NextUtf8Scalar(info.keyEquivalent, i));
        event.ItemAction = info.tag;
        event.Time = vx::AbsoluteTimeMillis();
        if (info.tag != 0) {
            const std::int64_t index = t_MenuActionIndex(info.tag);
            if (std::optional<t_MenuAction> record = MenuActionTable.At(std::size_t(index));
                index >= 0 && record) {
                callProgram = false;
                RunAction(index, *record);
            }
        }
    }
    MenuEventQueue.Append(std::move(event));
    if (callProgram) RunInBackground(t_EventMenu);
}

}  // namespace

void t_MenuEventHandler(vx::MenuItemRef item) {
    OnUserInterfaceThread([item] { HandleMenuItem(item); });
}

std::string PasteboardText(std::string_view text) {
    // Replacements for codes 127..159, in order.
    static constexpr char kGraphics[] = "#*#<=>O++++||--++++++++++++--||+=";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = vx::NextUtf8Scalar(text, i);
        if (c >= 127 && c < 160)
            out.push_back(kGraphics[c - 127]);
        else
            vx::AppendUtf8(out, c == 160 ? U'\u02FD' : c);
    }
    return out;
}

namespace vx {

bool AddMenuItem(const std::string& menuTitle, const std::string& itemTitle, std::int64_t tag,
                 const std::string& keyEquivalent, std::uint64_t keyModifiers) {
    if (menuTitle.empty() || itemTitle.empty()) {
        Log("AddMenuItem: Menu and item need a title.");
        return false;
    }
    return OnUserInterfaceThread([&] {
        Platform& platform = CurrentPlatform();
        MenuItemRef menu = platform.mainMenuItem(menuTitle);
        if (menu == nullptr) menu = platform.addMainMenu(menuTitle);
        if (menu == nullptr) return false;
        MenuItemInfo item;
        item.inMenu = true;
        item.menuTitle = menuTitle;
        item.title = itemTitle;
        std::size_t i = 0;
        if (!keyEquivalent.empty()) {
            item.keyEquivalent.clear();
            AppendUtf8(item.keyEquivalent, NextUtf8Scalar(keyEquivalent, i));
            item.keyModifiers = keyModifiers;
        }
        item.tag = tag;
        platform.addSubmenuItem(menu, item);
        return true;
    });
}

bool RemoveMenuItem(const std::string& menuTitle, const std::string& itemTitle) {
    const std::int64_t i = t_MenuItemIndex(menuTitle, itemTitle);
    if (i < 0) return false;
    t_MenuItemDelete(menuTitle, i);
    return true;
}

}  // namespace vx
