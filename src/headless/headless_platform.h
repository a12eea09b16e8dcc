// The headless platform: just enough of a windowing system to make the toolkit think it has one.
//
// A mirror of the seam over objects kept in memory (headless_world.h), served by a user-interface thread
// of its own (ui_thread.h), and steered by tests and tools through the controls it inherits
// (headless_controls.h). Tests and programs without a display start it with StartHeadlessPlatform().
//
// What it mirrors, in the seam's section order: own user-interface thread (number 1) with blocking work
// and quitting; eight graphic views and windows, windows 8..12, text and scroll views and rulers, each of
// which can be disconnected; frames, titles, style masks, visibility, key window, centring, background
// colour on a 1920 x 1200 screen; view frames, redisplay marks served by a display cycle that composes
// through the toolkit and keeps the last image; a main menu that a test fills; text view contents;
// pasteboard text and image; panels answered from a queue; beeps counted and a named sound that plays
// for a set time.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/platform.h"
#include "headless/headless_controls.h"

namespace vx {

class HeadlessPlatform final : public Platform, public HeadlessControls {
  public:
    bool isUserInterfaceThread() const override;
    bool invokeBlocking(std::function<void()> work) override;
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
    void appendTextViewText(TextViewRef view, const std::string& text) override;
    void markTextViewNeedsDisplay(TextViewRef view) override;
    Rect scrollViewFrame(ScrollViewRef scroll) override;
    void setScrollViewFrame(ScrollViewRef scroll, Rect frame) override;
    Rect rulerFrame(RulerRef ruler) override;
    void setRulerFrame(RulerRef ruler, Rect frame) override;
    std::string rulerText(RulerRef ruler) override;
    void setRulerText(RulerRef ruler, const std::string& text) override;
    void clearPasteboard() override;
    bool pasteboardText(std::string& text) override;
    bool pasteboardImage(WindowImage& image) override;
    bool pasteboardTextExcerpt(std::size_t limit, std::string& text, std::size_t& total,
                               bool& exact) override;
    void setPasteboardText(const std::string& text) override;
    void setPasteboardImage(const WindowImage& image) override;
    std::vector<std::string> runOpenPanel(const OpenPanelRequest& request) override;
    std::string runSavePanel(const SavePanelRequest& request) override;
    void beep() override;
    bool loadNamedSound(const std::string& name) override;
    bool isNamedSoundPlaying() override;
    void playNamedSound() override;

  private:
    friend HeadlessPlatform& StartHeadlessPlatform();
    void panelIsOpen();
    HeadlessPlatform(HeadlessWorld& world, UiThread& thread);
};

// Starts the headless platform (once; later calls return the same one) and installs it.
HeadlessPlatform& StartHeadlessPlatform();

}  // namespace vx
