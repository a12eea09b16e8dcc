#include "headless/headless_platform.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>

#include "headless/headless_world.h"
#include "headless/ui_thread.h"
#include "menus/toolkit_hooks.h"

namespace vx {

HeadlessPlatform::HeadlessPlatform(HeadlessWorld& world, UiThread& thread)
    : HeadlessControls(world, thread) {}

HeadlessPlatform& StartHeadlessPlatform() {
    // The thread starts first, so that it holds thread number 1; all three live as long as the process.
    static HeadlessPlatform* platform = [] {
        auto* thread = new UiThread;
        auto* p = new HeadlessPlatform(*new HeadlessWorld, *thread);
        InstallPlatform(p);
        InstallToolkitHooks();
        return p;
    }();
    return *platform;
}

// ---- Threads and hand-over ----

bool HeadlessPlatform::isUserInterfaceThread() const {
    return thread_.IsCurrent();
}

bool HeadlessPlatform::invokeBlocking(std::function<void()> work) {
    return thread_.RunAndWait(std::move(work));
}

bool HeadlessPlatform::isQuitting() const {
    return thread_.Quitting();
}

// ---- Outlets ----

ViewRef HeadlessPlatform::graphicView(int n) {
    std::lock_guard lock(world_.mutex);
    if (n < 0 || n >= 8 || !world_.viewConnected[n]) return nullptr;
    return reinterpret_cast<ViewRef>(&world_.views[n]);
}

WindowRef HeadlessPlatform::windowOfView(ViewRef view) {
    if (view == nullptr) return nullptr;
    return reinterpret_cast<WindowRef>(world_.ViewFor(view)->window);
}

WindowRef HeadlessPlatform::auxiliaryWindow(int n) {
    std::lock_guard lock(world_.mutex);
    if (n < 8 || n > 12 || !world_.windowConnected[n]) return nullptr;
    return reinterpret_cast<WindowRef>(&world_.windows[n]);
}

TextViewRef HeadlessPlatform::textView(int n) {
    std::lock_guard lock(world_.mutex);
    if (n < 8 || n > 10 || !world_.textViewConnected[n - 8]) return nullptr;
    return reinterpret_cast<TextViewRef>(&world_.textViews[n - 8]);
}

ScrollViewRef HeadlessPlatform::scrollView(int n) {
    std::lock_guard lock(world_.mutex);
    if (n < 8 || n > 10 || !world_.textViewConnected[n - 8]) return nullptr;
    return reinterpret_cast<ScrollViewRef>(&world_.scrolls[n - 8]);
}

RulerRef HeadlessPlatform::ruler(int n) {
    std::lock_guard lock(world_.mutex);
    if (n < 9 || n > 10 || !world_.textViewConnected[n - 8]) return nullptr;
    return reinterpret_cast<RulerRef>(&world_.rulers[n - 8]);
}

WindowRef HeadlessPlatform::windowOfScrollView(ScrollViewRef scroll) {
    if (scroll == nullptr) return nullptr;
    int n = reinterpret_cast<HScroll*>(scroll)->number;
    std::lock_guard lock(world_.mutex);
    return world_.windowConnected[n] ? reinterpret_cast<WindowRef>(&world_.windows[n]) : nullptr;
}

WindowRef HeadlessPlatform::mainWindow() {
    std::lock_guard lock(world_.mutex);
    int n = world_.mainWindow;
    if (n < 0 || n > 12) return nullptr;
    if (n < 8 ? !world_.viewConnected[n] : !world_.windowConnected[n]) return nullptr;
    return reinterpret_cast<WindowRef>(&world_.windows[n]);
}

// ---- Windows ----

Rect HeadlessPlatform::windowFrame(WindowRef w) {
    std::lock_guard lock(world_.mutex);
    return w ? world_.WindowFor(w)->state.frame : Rect{};
}

void HeadlessPlatform::setWindowFrame(WindowRef w, Rect frame, bool) {
    std::lock_guard lock(world_.mutex);
    if (w) world_.WindowFor(w)->state.frame = frame;
}

Rect HeadlessPlatform::screenFrame(WindowRef) {
    std::lock_guard lock(world_.mutex);
    return world_.screen;
}

void HeadlessPlatform::setWindowTitle(WindowRef w, const std::string& title) {
    std::lock_guard lock(world_.mutex);
    if (w) world_.WindowFor(w)->state.title = title;
}

void HeadlessPlatform::setWindowTitleLater(WindowRef w, const std::string& title) {
    thread_.Post([this, w, title] { setWindowTitle(w, title); });
}

void HeadlessPlatform::setWindowStyleMask(WindowRef w, int mask) {
    std::lock_guard lock(world_.mutex);
    if (w) world_.WindowFor(w)->state.styleMask = mask;
}

void HeadlessPlatform::centerWindow(WindowRef w) {
    std::lock_guard lock(world_.mutex);
    if (!w) return;
    HeadlessWindowState& s = world_.WindowFor(w)->state;
    s.frame.x = world_.screen.x + (world_.screen.width - s.frame.width) / 2;
    s.frame.y = world_.screen.y + (world_.screen.height - s.frame.height) / 2;
    s.centerCount++;
}

void HeadlessPlatform::orderFront(WindowRef w) {
    std::lock_guard lock(world_.mutex);
    if (!w) return;
    world_.WindowFor(w)->state.visible = true;
    world_.WindowFor(w)->state.orderFrontCount++;
}

void HeadlessPlatform::makeKeyAndOrderFront(WindowRef w) {
    std::lock_guard lock(world_.mutex);
    if (!w) return;
    for (HWindow& other : world_.windows) other.state.key = false;
    HWindow* window = world_.WindowFor(w);
    window->state.visible = true;
    window->state.key = true;
    window->state.orderFrontCount++;
    world_.mainWindow = window->number;
}

void HeadlessPlatform::orderOut(WindowRef w) {
    std::lock_guard lock(world_.mutex);
    if (!w) return;
    HWindow* window = world_.WindowFor(w);
    window->state.visible = false;
    window->state.key = false;
    window->state.orderOutCount++;
    if (world_.mainWindow == window->number) world_.mainWindow = -1;
}

bool HeadlessPlatform::isWindowVisible(WindowRef w) {
    std::lock_guard lock(world_.mutex);
    return w && world_.WindowFor(w)->state.visible;
}

void HeadlessPlatform::setWindowBackgroundColor(WindowRef w, double red, double green, double blue,
                                                double alpha) {
    std::lock_guard lock(world_.mutex);
    if (!w) return;
    double* bg = world_.WindowFor(w)->state.background;
    bg[0] = red;
    bg[1] = green;
    bg[2] = blue;
    bg[3] = alpha;
}

// ---- Views and images ----

void HeadlessPlatform::setViewFrame(ViewRef view, Rect frame) {
    std::lock_guard lock(world_.mutex);
    if (view) world_.ViewFor(view)->state.frame = frame;
}

void HeadlessPlatform::markViewNeedsDisplay(ViewRef view) {
    if (!view) return;
    HView* v = world_.ViewFor(view);
    bool schedule = false;
    {
        std::lock_guard lock(world_.mutex);
        v->state.marks++;
        schedule = !v->displayPending;
        v->displayPending = true;
    }
    // The display cycle runs after the work already queued, as a real event loop's would.
    if (schedule) thread_.Enqueue([this, n = v->number] { world_.Display(n); });
}

void HeadlessPlatform::displayViewNow(ViewRef view) {
    if (view) world_.Display(world_.ViewFor(view)->number);
}

// ---- Menus ----

MenuItemRef HeadlessPlatform::mainMenuItem(const std::string& title) {
    std::lock_guard lock(world_.mutex);
    for (auto& menu : world_.menus) {
        if (menu->title == title) return reinterpret_cast<MenuItemRef>(menu.get());
    }
    return nullptr;
}

int HeadlessPlatform::submenuItemCount(MenuItemRef menu) {
    std::lock_guard lock(world_.mutex);
    HMenu* m = world_.MenuFor(menu);
    return m ? static_cast<int>(m->items.size()) : 0;
}

std::string HeadlessPlatform::submenuItemTitle(MenuItemRef menu, int i) {
    std::lock_guard lock(world_.mutex);
    HMenu* m = world_.MenuFor(menu);
    if (!m || i < 0 || i >= static_cast<int>(m->items.size())) return "";
    return m->items[i]->item.title;
}

void HeadlessPlatform::removeSubmenuItem(MenuItemRef menu, int i) {
    std::lock_guard lock(world_.mutex);
    HMenu* m = world_.MenuFor(menu);
    if (!m || i < 0 || i >= static_cast<int>(m->items.size())) return;
    // Keep the item alive: a handle to it may still be in a test's hand.
    world_.orphans.push_back(std::move(m->items[i]));
    m->items.erase(m->items.begin() + i);
}

MenuItemInfo HeadlessPlatform::menuItemInfo(MenuItemRef item) {
    std::lock_guard lock(world_.mutex);
    MenuItemInfo info;
    if (!item) return info;
    auto* target = reinterpret_cast<HItem*>(item);
    for (auto& menu : world_.menus) {
        for (auto& candidate : menu->items) {
            if (candidate.get() != target) continue;
            info.inMenu = true;
            info.menuTitle = menu->title;
            info.title = target->item.title;
            info.keyEquivalent = target->item.keyEquivalent;
            info.keyModifiers = target->item.keyModifiers;
            info.tag = target->item.tag;
            return info;
        }
    }
    return info;
}

MenuItemRef HeadlessPlatform::addMainMenu(const std::string& title) {
    std::lock_guard lock(world_.mutex);
    auto menu = std::make_unique<HMenu>();
    menu->title = title;
    MenuItemRef handle = reinterpret_cast<MenuItemRef>(menu.get());
    auto before = std::find_if(world_.menus.begin(), world_.menus.end(),
                               [](const auto& m) { return m->title == "Fenster" || m->title == "Window"; });
    world_.menus.insert(before, std::move(menu));
    return handle;
}

void HeadlessPlatform::addSubmenuItem(MenuItemRef menu, const MenuItemInfo& item) {
    std::lock_guard lock(world_.mutex);
    HMenu* m = world_.MenuFor(menu);
    if (m == nullptr) return;
    m->items.push_back(
        std::make_unique<HItem>(HItem{{item.title, item.tag, item.keyEquivalent, item.keyModifiers}}));
}

// ---- Text views ----

void HeadlessPlatform::disableTextSubstitutions(TextViewRef view) {
    std::lock_guard lock(world_.mutex);
    if (view) world_.TextFor(view)->state.substitutionsDisabled = true;
}

void HeadlessPlatform::setTextViewFont(TextViewRef view, const std::string& family, double size) {
    std::lock_guard lock(world_.mutex);
    if (!view) return;
    world_.TextFor(view)->state.fontFamily = family;
    world_.TextFor(view)->state.fontSize = size;
}

void HeadlessPlatform::setTextViewText(TextViewRef view, const std::string& text) {
    std::lock_guard lock(world_.mutex);
    if (view) world_.TextFor(view)->state.text = text;
}

std::string HeadlessPlatform::textViewText(TextViewRef view) {
    std::lock_guard lock(world_.mutex);
    return view ? world_.TextFor(view)->state.text : std::string();
}

void HeadlessPlatform::appendTextViewText(TextViewRef view, const std::string& text) {
    std::lock_guard lock(world_.mutex);
    if (view) world_.TextFor(view)->state.text += text;
}

void HeadlessPlatform::markTextViewNeedsDisplay(TextViewRef view) {
    std::lock_guard lock(world_.mutex);
    if (view) world_.TextFor(view)->state.redisplayMarks++;
}

Rect HeadlessPlatform::scrollViewFrame(ScrollViewRef scroll) {
    std::lock_guard lock(world_.mutex);
    return scroll ? world_.textViews[reinterpret_cast<HScroll*>(scroll)->number - 8].state.scrollFrame
                  : Rect{};
}

void HeadlessPlatform::setScrollViewFrame(ScrollViewRef scroll, Rect frame) {
    std::lock_guard lock(world_.mutex);
    if (scroll) world_.textViews[reinterpret_cast<HScroll*>(scroll)->number - 8].state.scrollFrame = frame;
}

Rect HeadlessPlatform::rulerFrame(RulerRef ruler) {
    std::lock_guard lock(world_.mutex);
    return ruler ? world_.textViews[reinterpret_cast<HRuler*>(ruler)->number - 8].state.rulerFrame : Rect{};
}

void HeadlessPlatform::setRulerFrame(RulerRef ruler, Rect frame) {
    std::lock_guard lock(world_.mutex);
    if (ruler) world_.textViews[reinterpret_cast<HRuler*>(ruler)->number - 8].state.rulerFrame = frame;
}

std::string HeadlessPlatform::rulerText(RulerRef ruler) {
    std::lock_guard lock(world_.mutex);
    return ruler ? world_.textViews[reinterpret_cast<HRuler*>(ruler)->number - 8].state.rulerText
                 : std::string();
}

void HeadlessPlatform::setRulerText(RulerRef ruler, const std::string& text) {
    std::lock_guard lock(world_.mutex);
    if (ruler) world_.textViews[reinterpret_cast<HRuler*>(ruler)->number - 8].state.rulerText = text;
}

// ---- Pasteboard ----

void HeadlessPlatform::clearPasteboard() {
    std::lock_guard lock(world_.mutex);
    world_.pasteboardText.reset();
    world_.pasteboardImage.reset();
}

bool HeadlessPlatform::pasteboardText(std::string& text) {
    std::lock_guard lock(world_.mutex);
    if (!world_.pasteboardText) return false;
    text = *world_.pasteboardText;
    return true;
}

bool HeadlessPlatform::pasteboardImage(WindowImage& image) {
    std::lock_guard lock(world_.mutex);
    if (!world_.pasteboardImage) return false;
    image = *world_.pasteboardImage;
    return true;
}

bool HeadlessPlatform::pasteboardTextExcerpt(std::size_t limit, std::string& text, std::size_t& total,
                                             bool& exact) {
    std::lock_guard lock(world_.mutex);
    if (!world_.pasteboardText) return false;
    total = world_.pasteboardText->size();
    exact = true;
    text = world_.pasteboardText->substr(0, limit);
    return true;
}

void HeadlessPlatform::setPasteboardText(const std::string& text) {
    std::lock_guard lock(world_.mutex);
    world_.pasteboardText = text;
}

void HeadlessPlatform::setPasteboardImage(const WindowImage& image) {
    std::lock_guard lock(world_.mutex);
    world_.pasteboardImage = std::make_shared<const WindowImage>(image);
}

// ---- Panels ----

void HeadlessPlatform::panelIsOpen() {
    std::function<void()> work;
    {
        std::lock_guard lock(world_.mutex);
        work = world_.whilePanelOpen;
    }
    if (work) work();
}

std::vector<std::string> HeadlessPlatform::runOpenPanel(const OpenPanelRequest& request) {
    panelIsOpen();
    std::lock_guard lock(world_.mutex);
    world_.openRequests.push_back(request);
    if (world_.openAnswers.empty()) return {};
    auto answer = std::move(world_.openAnswers.front());
    world_.openAnswers.pop_front();
    return answer;
}

std::string HeadlessPlatform::runSavePanel(const SavePanelRequest& request) {
    panelIsOpen();
    std::lock_guard lock(world_.mutex);
    world_.saveRequests.push_back(request);
    if (world_.saveAnswers.empty()) return "";
    auto answer = std::move(world_.saveAnswers.front());
    world_.saveAnswers.pop_front();
    return answer;
}

// ---- Sound ----

void HeadlessPlatform::beep() {
    std::lock_guard lock(world_.mutex);
    world_.beeps++;
}

bool HeadlessPlatform::loadNamedSound(const std::string& name) {
    std::lock_guard lock(world_.mutex);
    return world_.soundAvailable && name == "sysbeep.aif";
}

bool HeadlessPlatform::isNamedSoundPlaying() {
    std::lock_guard lock(world_.mutex);
    return std::chrono::steady_clock::now() < world_.soundEnds;
}

void HeadlessPlatform::playNamedSound() {
    std::lock_guard lock(world_.mutex);
    world_.soundPlays++;
    world_.soundEnds = std::chrono::steady_clock::now() + std::chrono::milliseconds(world_.soundMillis);
}

}  // namespace vx
