// The Qt platform: the toolkit's platform seam on Qt Widgets, for Linux desktops (X11, Wayland) and
// Qt's offscreen platform.
//
// Requires: Qt 6.4 Widgets.
//
// Coverage, in the seam's section order:
//  [X] Threads and hand-over: Qt's GUI thread is the user-interface thread; blocking hand-over is a
//      queued call with a cancellable wait (callers give up once quitting starts); queued titles are
//      queued calls on their window.
//  [X] Outlets: the objects of the interface built in code (interface.h).
//  [X] Windows: frames in bottom-left screen coordinates of the primary screen, titles (also queued,
//      shown at once under client-side decorations), style masks 0 and 7 (menu bar and window frame),
//      centring, ordering, visibility, background. Graphic windows zoom (toolkit_window.h): frames stay
//      in the window's own pixels and windows open inside the screen's available area. Where the
//      compositor places windows (Wayland) positions are requests and read back as 0, 0.
//  [X] Views and images: the composed words shown as RGB32 without a copy at whole factors of device
//      pixels (enlarged by word copies), reduced by area averaging when fitted smaller, stretched
//      unsmoothed otherwise; update() marks, repaint() displays now.
//  [X] Menus: one set of parentless menus in every window's menu bar; tags in QAction::data().
//  [X] Text views: QPlainTextEdit as scroll view and text view, QLineEdit rulers.
//      Text substitutions do not exist there, so switching them off does nothing.
//  [X] Pasteboard: QClipboard, plain text and image.
//  [X] Panels: QFileDialog, not native, modal; a FIFO, device or socket is refused in the panel.
//  [ ] Sound: the standard beep only; a "sysbeep.aif" beside the executable is found but plays as the
//      standard beep, since Qt Widgets has no audio.
#pragma once

#include <atomic>
#include <thread>

#include "core/hand_over.h"
#include "core/platform.h"

namespace vx::shell {

struct Interface;

class QtPlatform final : public Platform {
  public:
    // Must be made on the GUI thread, after the QApplication.
    explicit QtPlatform(Interface* ui);

    Interface& interface() { return *ui_; }
    // Quitting has begun: blocked hand-overs give up, queued work is dropped.
    void beginQuit() { gate_.BeginQuit(); }

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
    Interface* ui_;
    std::thread::id guiThread_;
    HandOverGate gate_;
    bool namedSound_ = false;
};

}  // namespace vx::shell
