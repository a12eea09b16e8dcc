// The headless platform: just enough of a windowing system to make the toolkit think it has one.
//
// It keeps every window, view, menu, text view, the pasteboard, panels and sound in memory, records
// what the toolkit did to them, and runs a user-interface thread of its own that serves hand-over work
// in order. Tests and programs without a display start it with one call, StartHeadlessPlatform(), and
// inspect or prepare its objects through the methods below (callable from any thread).
//
// Coverage, in the seam's section order:
//  [X] Threads and hand-over: own user-interface thread (number 1), blocking and queued work, quitting.
//  [X] Outlets: eight graphic views and windows, windows 8..12, text/scroll views and rulers; each can
//      be left empty.
//  [X] Windows: frames, titles, style masks, visibility, key window, centring, background colour, a
//      1920 x 1200 screen.
//  [X] Views and images: frames, redisplay marks served by a display cycle, immediate display; every
//      display composes through the toolkit's view callbacks and keeps the last image.
//  [X] Menus: a main menu that a test fills; items with titles, tags and key equivalents.
//  [X] Text views: text, font, substitutions, redisplay marks; scroll view and ruler frames.
//  [X] Pasteboard: text and image.
//  [X] Panels: answers queued by a test, requests recorded.
//  [X] Sound: beeps counted, an optional named sound that plays for a set time.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/platform.h"

namespace vx {

struct HeadlessWindowState {
    std::string title;
    Rect frame;
    bool visible = false;
    bool key = false;
    int styleMask = 7;
    double background[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    int centerCount = 0;
    int orderFrontCount = 0;
    int orderOutCount = 0;
};

struct HeadlessViewState {
    Rect frame;
    int marks = 0;        // markViewNeedsDisplay calls
    int displays = 0;     // compositions the view ran (display cycle or displayViewNow)
    int imagesShown = 0;  // compositions that gave an image
    std::shared_ptr<const WindowImage> lastImage;
};

struct HeadlessTextViewState {
    std::string text;
    std::string fontFamily;
    double fontSize = 0;
    bool substitutionsDisabled = false;
    int redisplayMarks = 0;
    Rect scrollFrame;
    Rect rulerFrame;
};

struct HeadlessMenuItem {
    std::string title;  // "" for a separator
    std::int64_t tag = 0;
    std::string keyEquivalent;
    std::uint64_t keyModifiers = 0;
};

struct HeadlessMenu {
    std::string title;
    std::vector<HeadlessMenuItem> items;
};

class HeadlessPlatform : public Platform {
  public:
    // ---- Preparing and inspecting (any thread) ----

    // Disconnects outlets, as an interface description that lacks them would.
    void RemoveGraphicView(int n);
    void RemoveAuxiliaryWindow(int n);  // 8..12
    void RemoveTextView(int n);         // 8..10
    // Replaces the main menu.
    void SetMainMenu(std::vector<HeadlessMenu> menus);
    std::vector<HeadlessMenu> MainMenu();
    // A menu item handle for t_MenuEventHandler: item `index` of menu `menuTitle`; null if absent.
    // An item that belongs to no menu: OrphanMenuItem().
    MenuItemRef MenuItem(const std::string& menuTitle, int index);
    MenuItemRef OrphanMenuItem(std::int64_t tag);
    // Window n (0..12) as the platform sees it; for 0..7 the window of graphic view n.
    HeadlessWindowState Window(int n);
    HeadlessViewState View(int n);
    HeadlessTextViewState TextView(int n);
    // Makes window n the application's main window (-1: none).
    void SetMainWindow(int n);
    // Sets the frame of a window or a scroll view directly, as a user resizing it would.
    void SetWindowFrame(int n, Rect frame);
    void SetScreenFrame(Rect frame);
    // Pasteboard contents.
    std::optional<std::string> PasteboardText();
    std::shared_ptr<const WindowImage> PasteboardImage();
    void SetPasteboardText(std::optional<std::string> text);
    // Panels: the next answers, and what was asked.
    void QueueOpenPanelAnswer(std::vector<std::string> urls);
    void QueueSavePanelAnswer(std::string url);
    std::vector<OpenPanelRequest> OpenPanelRequests();
    std::vector<SavePanelRequest> SavePanelRequests();
    // Sound: beeps of the standard beep, plays of the named sound, and whether it exists.
    int BeepCount();
    int NamedSoundPlays();
    void ProvideNamedSound(bool available, int durationMillis = 200);
    // Runs everything queued for the user-interface thread so far, and the display cycle, then returns.
    void Flush();
    // Starts quitting: blocked hand-overs give up, queued work is dropped.
    void BeginQuit();

    // ---- The seam ----
    bool isUserInterfaceThread() const override;
    bool invokeBlocking(std::function<void()> work) override;
    void invokeAsync(std::function<void()> work) override;
    bool isQuitting() const override;
    ViewRef graphicView(int n) override;
    WindowRef windowOfView(ViewRef view) override;
    WindowRef auxiliaryWindow(int n) override;
    TextViewRef textView(int n) override;
    ScrollViewRef scrollView(int n) override;
    RulerRef ruler(int n) override;
    WindowRef windowOfScrollView(ScrollViewRef scroll) override;
    WindowRef mainWindow() override;
    Rect windowFrame(WindowRef w) override;
    void setWindowFrame(WindowRef w, Rect frame, bool display) override;
    Rect screenFrame(WindowRef w) override;
    void setWindowTitle(WindowRef w, const std::string& title) override;
    void setWindowTitleLater(WindowRef w, const std::string& title) override;
    void setWindowStyleMask(WindowRef w, int mask) override;
    void centerWindow(WindowRef w) override;
    void orderFront(WindowRef w) override;
    void makeKeyAndOrderFront(WindowRef w) override;
    void orderOut(WindowRef w) override;
    bool isWindowVisible(WindowRef w) override;
    void setWindowBackgroundColor(WindowRef w, double red, double green, double blue, double alpha) override;
    void setViewFrame(ViewRef view, Rect frame) override;
    void markViewNeedsDisplay(ViewRef view) override;
    void displayViewNow(ViewRef view) override;
    MenuItemRef mainMenuItem(const std::string& title) override;
    int submenuItemCount(MenuItemRef menu) override;
    std::string submenuItemTitle(MenuItemRef menu, int i) override;
    void removeSubmenuItem(MenuItemRef menu, int i) override;
    MenuItemInfo menuItemInfo(MenuItemRef item) override;
    MenuItemRef addMainMenu(const std::string& title) override;
    void addSubmenuItem(MenuItemRef menu, const MenuItemInfo& item) override;
    void disableTextSubstitutions(TextViewRef view) override;
    void setTextViewFont(TextViewRef view, const std::string& family, double size) override;
    void setTextViewText(TextViewRef view, const std::string& text) override;
    std::string textViewText(TextViewRef view) override;
    void markTextViewNeedsDisplay(TextViewRef view) override;
    Rect scrollViewFrame(ScrollViewRef scroll) override;
    void setScrollViewFrame(ScrollViewRef scroll, Rect frame) override;
    Rect rulerFrame(RulerRef ruler) override;
    void setRulerFrame(RulerRef ruler, Rect frame) override;
    void clearPasteboard() override;
    bool pasteboardText(std::string& text) override;
    void setPasteboardText(const std::string& text) override;
    void setPasteboardImage(const WindowImage& image) override;
    std::vector<std::string> runOpenPanel(const OpenPanelRequest& request) override;
    std::string runSavePanel(const SavePanelRequest& request) override;
    void beep() override;
    bool loadNamedSound(const std::string& name) override;
    bool isNamedSoundPlaying() override;
    void playNamedSound() override;

    struct Impl;

  private:
    friend HeadlessPlatform& StartHeadlessPlatform();
    HeadlessPlatform();
    Impl* impl_;  // lives as long as the process
};

// Starts the headless platform (once; later calls return the same one) and installs it.
HeadlessPlatform& StartHeadlessPlatform();

}  // namespace vx
