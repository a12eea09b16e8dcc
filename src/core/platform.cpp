#include "core/platform.h"

#include <atomic>

namespace vx {
namespace {

// The platform before any other is installed: no outlets and no windows, and work runs where it is
// asked for. The toolkit then logs "resource undefined" instead of touching anything.
class NullPlatform final : public Platform {
  public:
    bool isUserInterfaceThread() const override { return true; }
    bool invokeBlocking(std::function<void()> work) override {
        work();
        return true;
    }
    bool isQuitting() const override { return false; }
    ViewRef graphicView(int) override { return nullptr; }
    WindowRef windowOfView(ViewRef) override { return nullptr; }
    WindowRef auxiliaryWindow(int) override { return nullptr; }
    TextViewRef textView(int) override { return nullptr; }
    ScrollViewRef scrollView(int) override { return nullptr; }
    RulerRef ruler(int) override { return nullptr; }
    WindowRef windowOfScrollView(ScrollViewRef) override { return nullptr; }
    WindowRef mainWindow() override { return nullptr; }
    Rect windowFrame(WindowRef) override { return {}; }
    void setWindowFrame(WindowRef, Rect, bool) override {}
    Rect screenFrame(WindowRef) override { return {}; }
    void setWindowTitle(WindowRef, const std::string&) override {}
    void setWindowTitleLater(WindowRef, const std::string&) override {}
    void setWindowStyleMask(WindowRef, int) override {}
    void centerWindow(WindowRef) override {}
    void orderFront(WindowRef) override {}
    void makeKeyAndOrderFront(WindowRef) override {}
    void orderOut(WindowRef) override {}
    bool isWindowVisible(WindowRef) override { return false; }
    void setWindowBackgroundColor(WindowRef, double, double, double, double) override {}
    void setViewFrame(ViewRef, Rect) override {}
    void markViewNeedsDisplay(ViewRef) override {}
    void displayViewNow(ViewRef) override {}
    MenuItemRef mainMenuItem(const std::string&) override { return nullptr; }
    int submenuItemCount(MenuItemRef) override { return 0; }
    std::string submenuItemTitle(MenuItemRef, int) override { return {}; }
    void removeSubmenuItem(MenuItemRef, int) override {}
    MenuItemInfo menuItemInfo(MenuItemRef) override { return {}; }
    MenuItemRef addMainMenu(const std::string&) override { return nullptr; }
    void addSubmenuItem(MenuItemRef, const MenuItemInfo&) override {}
    void disableTextSubstitutions(TextViewRef) override {}
    void setTextViewFont(TextViewRef, const std::string&, double) override {}
    void setTextViewText(TextViewRef, const std::string&) override {}
    std::string textViewText(TextViewRef) override { return {}; }
    void appendTextViewText(TextViewRef, const std::string&) override {}
    void markTextViewNeedsDisplay(TextViewRef) override {}
    Rect scrollViewFrame(ScrollViewRef) override { return {}; }
    void setScrollViewFrame(ScrollViewRef, Rect) override {}
    Rect rulerFrame(RulerRef) override { return {}; }
    void setRulerFrame(RulerRef, Rect) override {}
    std::string rulerText(RulerRef) override { return {}; }
    void setRulerText(RulerRef, const std::string&) override {}
    void clearPasteboard() override {}
    bool pasteboardText(std::string&) override { return false; }
    bool pasteboardImage(WindowImage&) override { return false; }
    bool pasteboardTextExcerpt(std::size_t, std::string&, std::size_t&, bool&) override { return false; }
    void setPasteboardText(const std::string&) override {}
    void setPasteboardImage(const WindowImage&) override {}
    std::vector<std::string> runOpenPanel(const OpenPanelRequest&) override { return {}; }
    std::string runSavePanel(const SavePanelRequest&) override { return {}; }
    void beep() override {}
    bool loadNamedSound(const std::string&) override { return false; }
    bool isNamedSoundPlaying() override { return false; }
    void playNamedSound() override {}
};

std::atomic<Platform*> installed{nullptr};

}  // namespace

Platform& CurrentPlatform() {
    if (Platform* p = installed.load(std::memory_order_acquire)) return *p;
    static Platform* fallback = new NullPlatform;
    return *fallback;
}

void InstallPlatform(Platform* platform) {
    installed.store(platform, std::memory_order_release);
}

bool PlatformInstalled() {
    return installed.load(std::memory_order_acquire) != nullptr;
}

}  // namespace vx
