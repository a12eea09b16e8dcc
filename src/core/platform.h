// The platform seam: everything the toolkit needs from a windowing system, and nothing more.
//
// The toolkit never includes a windowing header. It reaches windows, views, menus, text views, the
// pasteboard, file panels and sound only through the abstract class below. Two implementations exist:
// the headless platform (src/headless), an in-memory stand-in with a user-interface thread of its own
// that every toolkit test runs on, and the Qt platform (src/shell).
//
// The toolkit owns all state (titles it set, window records, video memory); a platform only mirrors it
// onto real objects and answers questions about them. Platform objects are reached through opaque
// handles that only the platform that made them looks inside. Unless a comment says otherwise, every
// operation must be called on the user-interface thread; the toolkit hands work over with
// OnUserInterfaceThread (core/program.h). Where a platform cannot do something (a null handle, a feature
// it lacks), the operation does nothing and queries answer neutrally: null, 0, false or empty.
//
// Sections: threads and hand-over; outlets; windows; views and images; menus; text views; pasteboard;
// panels; sound.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vxtools/records.h"

namespace vx {

// What a menu item says about itself when it is chosen.
struct MenuItemInfo {
    bool inMenu = false;             // false: the item belongs to no menu
    std::string menuTitle;           // title of the menu that holds the item
    std::string title;               // the item's own title
    std::string keyEquivalent;       // "" when the item has no shortcut
    std::uint64_t keyModifiers = 0;  // modifier flags of the shortcut, in the toolkit's flag numbering
    std::int64_t tag = 0;
};

struct OpenPanelRequest {
    std::string buttonText, title, message;
    std::vector<std::string> fileTypes;  // empty: every type allowed
    bool multiple = false, files = true, directories = false;
};

struct SavePanelRequest {
    std::string buttonText, nameFieldLabel, title, message, proposedName;
    std::vector<std::string> fileTypes;
};

class Platform {
  public:
    Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;
    virtual ~Platform() = default;

    // ---- Threads and hand-over (any thread) ----

    // True on the platform's user-interface thread.
    virtual bool isUserInterfaceThread() const = 0;
    // Runs work on the user-interface thread and waits for it. Returns false, without having run it,
    // when the platform is shutting down. Never called on the user-interface thread itself.
    virtual bool invokeBlocking(std::function<void()> work) = 0;
    // True once the application has begun to quit; waiting threads give up.
    virtual bool isQuitting() const = 0;

    // ---- Outlets: the objects the interface description provides (null when not connected) ----

    // The graphic view of window 0..7.
    virtual ViewRef graphicView(int n) = 0;
    // The window that holds a view; null for a null view or a view outside any window.
    virtual WindowRef windowOfView(ViewRef view) = 0;
    // Windows 8..12: pasteboard, virtual printer, system console, preferences, main window.
    virtual WindowRef auxiliaryWindow(int n) = 0;
    // Text view, its scroll view and (9, 10 only) ruler of text windows 8..10.
    virtual TextViewRef textView(int n) = 0;
    // The scroll view around text view n (8..10).
    virtual ScrollViewRef scrollView(int n) = 0;
    // The ruler above text view n (9, 10; null for 8).
    virtual RulerRef ruler(int n) = 0;
    // The window that holds a scroll view; null when none.
    virtual WindowRef windowOfScrollView(ScrollViewRef scroll) = 0;
    // The application's main (active) window; null when there is none.
    virtual WindowRef mainWindow() = 0;

    // ---- Windows ----

    // Position and size of the client area (screen coordinates, origin bottom left).
    virtual Rect windowFrame(WindowRef w) = 0;
    // Sets position and size of the client area; display redraws at once.
    virtual void setWindowFrame(WindowRef w, Rect frame, bool display) = 0;
    // Frame of the screen the window lies on (screen coordinates, origin bottom left).
    virtual Rect screenFrame(WindowRef w) = 0;
    // Shows the title at once.
    virtual void setWindowTitle(WindowRef w, const std::string& title) = 0;
    // Queues the title for the user-interface thread; callable from any thread, does not wait.
    virtual void setWindowTitleLater(WindowRef w, const std::string& title) = 0;
    // 0 borderless (title strip hidden), 7 titled, closable and miniaturisable.
    virtual void setWindowStyleMask(WindowRef w, int mask) = 0;
    // Centres the window on its screen.
    virtual void centerWindow(WindowRef w) = 0;
    // Shows the window in front without giving it the keyboard.
    virtual void orderFront(WindowRef w) = 0;
    // Shows the window in front and gives it the keyboard.
    virtual void makeKeyAndOrderFront(WindowRef w) = 0;
    // Hides the window.
    virtual void orderOut(WindowRef w) = 0;
    // True while the window is shown (minimised windows count as shown).
    virtual bool isWindowVisible(WindowRef w) = 0;
    // Background shown in the border around a graphic view; components 0..1.
    virtual void setWindowBackgroundColor(WindowRef w, double red, double green, double blue,
                                          double alpha) = 0;

    // ---- Views and images ----

    // Places a graphic view inside its window's content area (origin bottom left).
    virtual void setViewFrame(ViewRef view, Rect frame) = 0;
    // Asks for a redraw in the next display cycle.
    virtual void markViewNeedsDisplay(ViewRef view) = 0;
    // Redraws now: the view has composed its image when this returns.
    virtual void displayViewNow(ViewRef view) = 0;

    // ---- Menus ----

    // The first top-level item of the main menu with this title; null when none.
    virtual MenuItemRef mainMenuItem(const std::string& title) = 0;
    // Items of the submenu of a top-level item (0 when it has none).
    virtual int submenuItemCount(MenuItemRef menu) = 0;
    // Title of item i of the submenu ("" for a separator).
    virtual std::string submenuItemTitle(MenuItemRef menu, int i) = 0;
    // Removes item i of the submenu; nothing when there is none.
    virtual void removeSubmenuItem(MenuItemRef menu, int i) = 0;
    // What a chosen item says about itself.
    virtual MenuItemInfo menuItemInfo(MenuItemRef item) = 0;
    // Adds a top-level item with an empty submenu to every window's menu bar (before the window menu
    // where there is one) and returns it; null where a platform has no menus.
    virtual MenuItemRef addMainMenu(const std::string& title) = 0;
    // Appends an item (title, key equivalent, modifiers, tag of `item`) to the submenu of a top-level
    // item; choosing it reaches t_MenuEventHandler like every other item. Nothing for a null menu.
    virtual void addSubmenuItem(MenuItemRef menu, const MenuItemInfo& item) = 0;

    // ---- Text views ----

    // Switches off quote, dash and text substitution, link and data detection.
    virtual void disableTextSubstitutions(TextViewRef view) = 0;
    // Font family and size in points for the whole text.
    virtual void setTextViewFont(TextViewRef view, const std::string& family, double size) = 0;
    // Replaces the whole text (UTF-8).
    virtual void setTextViewText(TextViewRef view, const std::string& text) = 0;
    // The whole text (UTF-8), as the user may have edited it.
    virtual std::string textViewText(TextViewRef view) = 0;
    // Adds text (UTF-8) at the end and scrolls it into sight.
    virtual void appendTextViewText(TextViewRef view, const std::string& text) = 0;
    // Asks for a redraw of the text view in the next display cycle.
    virtual void markTextViewNeedsDisplay(TextViewRef view) = 0;
    // Frames of the scroll view and the ruler, in their window's content area (origin bottom left).
    virtual Rect scrollViewFrame(ScrollViewRef scroll) = 0;
    virtual void setScrollViewFrame(ScrollViewRef scroll, Rect frame) = 0;
    virtual Rect rulerFrame(RulerRef ruler) = 0;
    virtual void setRulerFrame(RulerRef ruler, Rect frame) = 0;
    // The one line of a ruler field (UTF-8).
    virtual std::string rulerText(RulerRef ruler) = 0;
    virtual void setRulerText(RulerRef ruler, const std::string& text) = 0;

    // ---- Pasteboard ----

    // Empties the pasteboard before new contents are put there.
    virtual void clearPasteboard() = 0;
    // Plain text on the pasteboard; false when it holds none.
    virtual bool pasteboardText(std::string& text) = 0;
    // An image on the pasteboard as 0xAARRGGBB words; false when it holds none.
    virtual bool pasteboardImage(WindowImage& image) = 0;
    // At most `limit` bytes of the pasteboard's plain text (cut anywhere: the caller finds a character
    // boundary) and the whole text's length in `total`, or only how much of it is known to exist when
    // `exact` is false; false when it holds none. Waits only briefly for another program that owns the
    // pasteboard, and gives up (false, or a shorter text) when it does not answer in time.
    virtual bool pasteboardTextExcerpt(std::size_t limit, std::string& text, std::size_t& total,
                                       bool& exact) = 0;
    // Adds plain text (UTF-8, carriage returns as line ends) or an image to the pasteboard.
    virtual void setPasteboardText(const std::string& text) = 0;
    virtual void setPasteboardImage(const WindowImage& image) = 0;

    // ---- Panels (modal, user-interface thread) ----

    // File URLs ("file:///...") of the chosen items; empty when cancelled.
    virtual std::vector<std::string> runOpenPanel(const OpenPanelRequest& request) = 0;
    // File URL of the chosen location; "" when cancelled.
    virtual std::string runSavePanel(const SavePanelRequest& request) = 0;

    // ---- Sound ----

    // The standard beep.
    virtual void beep() = 0;
    // Looks up a named sound once; false when there is none.
    virtual bool loadNamedSound(const std::string& name) = 0;
    // True while the loaded sound is still playing.
    virtual bool isNamedSoundPlaying() = 0;
    // Plays the loaded sound; nothing when none was loaded.
    virtual void playNamedSound() = 0;
};

// The platform the toolkit talks to. Before a platform is installed this is a null platform: no
// outlets, no windows, work runs on the calling thread, so the toolkit still works without a display.
Platform& CurrentPlatform();
// Installs a platform for the rest of the run (it is never destroyed).
void InstallPlatform(Platform* platform);
// True once a platform other than the built-in empty one is installed.
[[nodiscard]] bool PlatformInstalled();

}  // namespace vx
