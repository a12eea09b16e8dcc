#include "headless/headless_platform.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "core/hand_over.h"
#include "core/threads.h"
#include "display/refresh.h"
#include "menus/toolkit_hooks.h"

namespace vx {

namespace {

struct HWindow {
    int number;
    HeadlessWindowState state;
};

struct HView {
    int number;
    HWindow* window;
    HeadlessViewState state;
    bool displayPending = false;
};

struct HTextView {
    int number;
    HeadlessTextViewState state;
};

struct HScroll {
    int number;
};

struct HRuler {
    int number;
};

struct HItem {
    HeadlessMenuItem item;
};

struct HMenu {
    std::string title;
    std::vector<std::unique_ptr<HItem>> items;
};

// A piece of work handed to the user-interface thread; the caller may give up on it while it is queued.
constexpr Rect kDefaultScreen{0, 0, 1920, 1200};

}  // namespace

struct HeadlessPlatform::Impl {
    std::mutex mutex;  // guards every object below
    HWindow windows[13];
    HView views[8];
    HTextView textViews[3];
    HScroll scrolls[3];
    HRuler rulers[3];
    bool viewConnected[8];
    bool windowConnected[13];
    bool textViewConnected[3];
    std::vector<std::unique_ptr<HMenu>> menus;
    std::vector<std::unique_ptr<HItem>> orphans;
    int mainWindow = -1;
    Rect screen = kDefaultScreen;
    std::optional<std::string> pasteboardText;
    std::shared_ptr<const WindowImage> pasteboardImage;
    std::deque<std::vector<std::string>> openAnswers;
    std::deque<std::string> saveAnswers;
    std::vector<OpenPanelRequest> openRequests;
    std::vector<SavePanelRequest> saveRequests;
    int beeps = 0;
    int soundPlays = 0;
    bool soundAvailable = false;
    int soundMillis = 200;
    std::chrono::steady_clock::time_point soundEnds{};

    std::mutex queueMutex;
    std::condition_variable queueChanged;
    std::deque<std::function<void()>> queue;  // the user-interface thread's work, in order
    HandOverGate gate;
    std::thread::id uiThread;

    Impl() {
        for (int n = 0; n < 13; ++n) {
            windows[n].number = n;
            windowConnected[n] = true;
        }
        for (int n = 0; n < 8; ++n) {
            views[n].number = n;
            views[n].window = &windows[n];
            viewConnected[n] = true;
            windows[n].state.frame = {100.0 + 20 * n, 100.0, 640, 480};
            views[n].state.frame = {0, 0, 640, 480};
        }
        // Text windows: a 22-point title strip above a scroll view with margins, as the real layout has.
        for (int i = 0; i < 3; ++i) {
            int n = 8 + i;
            textViews[i].number = n;
            scrolls[i].number = n;
            rulers[i].number = n;
            textViewConnected[i] = true;
            windows[n].state.frame = {200, 200, 600, 422};
            textViews[i].state.scrollFrame = {10, 10, 580, 380};
            textViews[i].state.rulerFrame = {20, 380, 552, 19};
        }
        windows[11].state.frame = {300, 300, 400, 300};
        windows[12].state.frame = {50, 50, 800, 600};
    }

    void Run() {
        uiThread = std::this_thread::get_id();
        RegisterUserInterfaceThread();
        SetCurrentThreadName("AppDelegate");
        for (;;) {
            std::function<void()> work;
            {
                std::unique_lock lock(queueMutex);
                queueChanged.wait(lock, [&] { return !queue.empty(); });
                work = std::move(queue.front());
                queue.pop_front();
            }
            work();
        }
    }

    bool Enqueue(std::function<void()> work) {
        {
            std::lock_guard lock(queueMutex);
            queue.push_back(std::move(work));
        }
        queueChanged.notify_one();
        return true;
    }

    // Composes view n as a display cycle would.
    void Display(int n) {
        std::shared_ptr<const WindowImage> image = ViewComposeImage(static_cast<std::uint8_t>(n));
        std::lock_guard lock(mutex);
        HView& v = views[n];
        v.displayPending = false;
        v.state.displays++;
        if (image) {
            v.state.imagesShown++;
            v.state.lastImage = std::move(image);
        }
    }

    HWindow* WindowFor(WindowRef w) { return reinterpret_cast<HWindow*>(w); }
    HView* ViewFor(ViewRef v) { return reinterpret_cast<HView*>(v); }
    HTextView* TextFor(TextViewRef t) { return reinterpret_cast<HTextView*>(t); }
    HMenu* MenuFor(MenuItemRef m) {
        for (auto& menu : menus) {
            if (reinterpret_cast<MenuItemRef>(menu.get()) == m) return menu.get();
        }
        return nullptr;
    }
};

HeadlessPlatform::HeadlessPlatform() : impl_(new Impl) {}

HeadlessPlatform& StartHeadlessPlatform() {
    static HeadlessPlatform* platform = [] {
        auto* p = new HeadlessPlatform;
        std::thread([impl = p->impl_] { impl->Run(); }).detach();
        // Wait until the user-interface thread is serving work, so that it holds thread number 1.
        std::atomic<bool> ready{false};
        p->impl_->Enqueue([&] { ready = true; });
        while (!ready) std::this_thread::sleep_for(std::chrono::microseconds(100));
        InstallPlatform(p);
        InstallToolkitHooks();
        return p;
    }();
    return *platform;
}

// ---- Preparing and inspecting ----

void HeadlessPlatform::RemoveGraphicView(int n) {
    std::lock_guard lock(impl_->mutex);
    if (n >= 0 && n < 8) impl_->viewConnected[n] = false;
}

void HeadlessPlatform::RemoveAuxiliaryWindow(int n) {
    std::lock_guard lock(impl_->mutex);
    if (n >= 8 && n < 13) impl_->windowConnected[n] = false;
}

void HeadlessPlatform::RemoveTextView(int n) {
    std::lock_guard lock(impl_->mutex);
    if (n >= 8 && n <= 10) impl_->textViewConnected[n - 8] = false;
}

void HeadlessPlatform::SetMainMenu(std::vector<HeadlessMenu> menus) {
    std::lock_guard lock(impl_->mutex);
    impl_->menus.clear();
    for (auto& m : menus) {
        auto menu = std::make_unique<HMenu>();
        menu->title = m.title;
        for (auto& item : m.items) menu->items.push_back(std::make_unique<HItem>(HItem{item}));
        impl_->menus.push_back(std::move(menu));
    }
}

std::vector<HeadlessMenu> HeadlessPlatform::MainMenu() {
    std::lock_guard lock(impl_->mutex);
    std::vector<HeadlessMenu> out;
    for (auto& menu : impl_->menus) {
        HeadlessMenu m{menu->title, {}};
        for (auto& item : menu->items) m.items.push_back(item->item);
        out.push_back(std::move(m));
    }
    return out;
}

MenuItemRef HeadlessPlatform::MenuItem(const std::string& menuTitle, int index) {
    std::lock_guard lock(impl_->mutex);
    for (auto& menu : impl_->menus) {
        if (menu->title != menuTitle) continue;
        if (index < 0 || index >= static_cast<int>(menu->items.size())) return nullptr;
        return reinterpret_cast<MenuItemRef>(menu->items[index].get());
    }
    return nullptr;
}

MenuItemRef HeadlessPlatform::OrphanMenuItem(std::int64_t tag) {
    std::lock_guard lock(impl_->mutex);
    impl_->orphans.push_back(std::make_unique<HItem>(HItem{{"", tag, "", 0}}));
    return reinterpret_cast<MenuItemRef>(impl_->orphans.back().get());
}

HeadlessWindowState HeadlessPlatform::Window(int n) {
    std::lock_guard lock(impl_->mutex);
    return n >= 0 && n < 13 ? impl_->windows[n].state : HeadlessWindowState{};
}

HeadlessViewState HeadlessPlatform::View(int n) {
    std::lock_guard lock(impl_->mutex);
    return n >= 0 && n < 8 ? impl_->views[n].state : HeadlessViewState{};
}

HeadlessTextViewState HeadlessPlatform::TextView(int n) {
    std::lock_guard lock(impl_->mutex);
    return n >= 8 && n <= 10 ? impl_->textViews[n - 8].state : HeadlessTextViewState{};
}

void HeadlessPlatform::SetMainWindow(int n) {
    std::lock_guard lock(impl_->mutex);
    impl_->mainWindow = n;
}

void HeadlessPlatform::SetWindowFrame(int n, Rect frame) {
    std::lock_guard lock(impl_->mutex);
    if (n >= 0 && n < 13) impl_->windows[n].state.frame = frame;
}

void HeadlessPlatform::SetScreenFrame(Rect frame) {
    std::lock_guard lock(impl_->mutex);
    impl_->screen = frame;
}

std::optional<std::string> HeadlessPlatform::PasteboardText() {
    std::lock_guard lock(impl_->mutex);
    return impl_->pasteboardText;
}

std::shared_ptr<const WindowImage> HeadlessPlatform::PasteboardImage() {
    std::lock_guard lock(impl_->mutex);
    return impl_->pasteboardImage;
}

void HeadlessPlatform::SetPasteboardText(std::optional<std::string> text) {
    std::lock_guard lock(impl_->mutex);
    impl_->pasteboardText = std::move(text);
    impl_->pasteboardImage.reset();
}

void HeadlessPlatform::QueueOpenPanelAnswer(std::vector<std::string> urls) {
    std::lock_guard lock(impl_->mutex);
    impl_->openAnswers.push_back(std::move(urls));
}

void HeadlessPlatform::QueueSavePanelAnswer(std::string url) {
    std::lock_guard lock(impl_->mutex);
    impl_->saveAnswers.push_back(std::move(url));
}

std::vector<OpenPanelRequest> HeadlessPlatform::OpenPanelRequests() {
    std::lock_guard lock(impl_->mutex);
    return impl_->openRequests;
}

std::vector<SavePanelRequest> HeadlessPlatform::SavePanelRequests() {
    std::lock_guard lock(impl_->mutex);
    return impl_->saveRequests;
}

int HeadlessPlatform::BeepCount() {
    std::lock_guard lock(impl_->mutex);
    return impl_->beeps;
}

int HeadlessPlatform::NamedSoundPlays() {
    std::lock_guard lock(impl_->mutex);
    return impl_->soundPlays;
}

void HeadlessPlatform::ProvideNamedSound(bool available, int durationMillis) {
    std::lock_guard lock(impl_->mutex);
    impl_->soundAvailable = available;
    impl_->soundMillis = durationMillis;
}

void HeadlessPlatform::Flush() {
    // Two rounds: work queued by the first (display cycles marked by hand-over work) runs in the second.
    for (int round = 0; round < 2; ++round) {
        if (isUserInterfaceThread()) return;
        invokeBlocking([] {});
    }
}

void HeadlessPlatform::BeginQuit() {
    impl_->gate.BeginQuit();
}

// ---- Threads and hand-over ----

bool HeadlessPlatform::isUserInterfaceThread() const {
    return std::this_thread::get_id() == impl_->uiThread;
}

bool HeadlessPlatform::invokeBlocking(std::function<void()> work) {
    if (isUserInterfaceThread()) {
        work();
        return true;
    }
    return impl_->gate.RunAndWait(std::move(work),
                                  [this](std::function<void()> f) { return impl_->Enqueue(std::move(f)); });
}

void HeadlessPlatform::invokeAsync(std::function<void()> work) {
    if (impl_->gate.Quitting()) return;
    impl_->Enqueue([gate = &impl_->gate, work = std::move(work)] {
        if (!gate->Quitting()) work();
    });
}

bool HeadlessPlatform::isQuitting() const {
    return impl_->gate.Quitting();
}

// ---- Outlets ----

ViewRef HeadlessPlatform::graphicView(int n) {
    std::lock_guard lock(impl_->mutex);
    if (n < 0 || n >= 8 || !impl_->viewConnected[n]) return nullptr;
    return reinterpret_cast<ViewRef>(&impl_->views[n]);
}

WindowRef HeadlessPlatform::windowOfView(ViewRef view) {
    if (view == nullptr) return nullptr;
    return reinterpret_cast<WindowRef>(impl_->ViewFor(view)->window);
}

WindowRef HeadlessPlatform::auxiliaryWindow(int n) {
    std::lock_guard lock(impl_->mutex);
    if (n < 8 || n > 12 || !impl_->windowConnected[n]) return nullptr;
    return reinterpret_cast<WindowRef>(&impl_->windows[n]);
}

TextViewRef HeadlessPlatform::textView(int n) {
    std::lock_guard lock(impl_->mutex);
    if (n < 8 || n > 10 || !impl_->textViewConnected[n - 8]) return nullptr;
    return reinterpret_cast<TextViewRef>(&impl_->textViews[n - 8]);
}

ScrollViewRef HeadlessPlatform::scrollView(int n) {
    std::lock_guard lock(impl_->mutex);
    if (n < 8 || n > 10 || !impl_->textViewConnected[n - 8]) return nullptr;
    return reinterpret_cast<ScrollViewRef>(&impl_->scrolls[n - 8]);
}

RulerRef HeadlessPlatform::ruler(int n) {
    std::lock_guard lock(impl_->mutex);
    if (n < 9 || n > 10 || !impl_->textViewConnected[n - 8]) return nullptr;
    return reinterpret_cast<RulerRef>(&impl_->rulers[n - 8]);
}

WindowRef HeadlessPlatform::windowOfScrollView(ScrollViewRef scroll) {
    if (scroll == nullptr) return nullptr;
    int n = reinterpret_cast<HScroll*>(scroll)->number;
    std::lock_guard lock(impl_->mutex);
    return impl_->windowConnected[n] ? reinterpret_cast<WindowRef>(&impl_->windows[n]) : nullptr;
}

WindowRef HeadlessPlatform::mainWindow() {
    std::lock_guard lock(impl_->mutex);
    int n = impl_->mainWindow;
    if (n < 0 || n > 12) return nullptr;
    if (n < 8 ? !impl_->viewConnected[n] : !impl_->windowConnected[n]) return nullptr;
    return reinterpret_cast<WindowRef>(&impl_->windows[n]);
}

// ---- Windows ----

Rect HeadlessPlatform::windowFrame(WindowRef w) {
    std::lock_guard lock(impl_->mutex);
    return w ? impl_->WindowFor(w)->state.frame : Rect{};
}

void HeadlessPlatform::setWindowFrame(WindowRef w, Rect frame, bool) {
    std::lock_guard lock(impl_->mutex);
    if (w) impl_->WindowFor(w)->state.frame = frame;
}

Rect HeadlessPlatform::screenFrame(WindowRef) {
    std::lock_guard lock(impl_->mutex);
    return impl_->screen;
}

void HeadlessPlatform::setWindowTitle(WindowRef w, const std::string& title) {
    std::lock_guard lock(impl_->mutex);
    if (w) impl_->WindowFor(w)->state.title = title;
}

void HeadlessPlatform::setWindowTitleLater(WindowRef w, const std::string& title) {
    invokeAsync([this, w, title] { setWindowTitle(w, title); });
}

void HeadlessPlatform::setWindowStyleMask(WindowRef w, int mask) {
    std::lock_guard lock(impl_->mutex);
    if (w) impl_->WindowFor(w)->state.styleMask = mask;
}

void HeadlessPlatform::centerWindow(WindowRef w) {
    std::lock_guard lock(impl_->mutex);
    if (!w) return;
    HeadlessWindowState& s = impl_->WindowFor(w)->state;
    s.frame.x = impl_->screen.x + (impl_->screen.width - s.frame.width) / 2;
    s.frame.y = impl_->screen.y + (impl_->screen.height - s.frame.height) / 2;
    s.centerCount++;
}

void HeadlessPlatform::orderFront(WindowRef w) {
    std::lock_guard lock(impl_->mutex);
    if (!w) return;
    impl_->WindowFor(w)->state.visible = true;
    impl_->WindowFor(w)->state.orderFrontCount++;
}

void HeadlessPlatform::makeKeyAndOrderFront(WindowRef w) {
    std::lock_guard lock(impl_->mutex);
    if (!w) return;
    for (HWindow& other : impl_->windows) other.state.key = false;
    HWindow* window = impl_->WindowFor(w);
    window->state.visible = true;
    window->state.key = true;
    window->state.orderFrontCount++;
    impl_->mainWindow = window->number;
}

void HeadlessPlatform::orderOut(WindowRef w) {
    std::lock_guard lock(impl_->mutex);
    if (!w) return;
    HWindow* window = impl_->WindowFor(w);
    window->state.visible = false;
    window->state.key = false;
    window->state.orderOutCount++;
    if (impl_->mainWindow == window->number) impl_->mainWindow = -1;
}

bool HeadlessPlatform::isWindowVisible(WindowRef w) {
    std::lock_guard lock(impl_->mutex);
    return w && impl_->WindowFor(w)->state.visible;
}

void HeadlessPlatform::setWindowBackgroundColor(WindowRef w, double red, double green, double blue,
                                                double alpha) {
    std::lock_guard lock(impl_->mutex);
    if (!w) return;
    double* bg = impl_->WindowFor(w)->state.background;
    bg[0] = red;
    bg[1] = green;
    bg[2] = blue;
    bg[3] = alpha;
}

// ---- Views and images ----

void HeadlessPlatform::setViewFrame(ViewRef view, Rect frame) {
    std::lock_guard lock(impl_->mutex);
    if (view) impl_->ViewFor(view)->state.frame = frame;
}

void HeadlessPlatform::markViewNeedsDisplay(ViewRef view) {
    if (!view) return;
    HView* v = impl_->ViewFor(view);
    bool schedule = false;
    {
        std::lock_guard lock(impl_->mutex);
        v->state.marks++;
        schedule = !v->displayPending;
        v->displayPending = true;
    }
    // The display cycle runs after the work already queued, as a real event loop's would.
    if (schedule) impl_->Enqueue([impl = impl_, n = v->number] { impl->Display(n); });
}

void HeadlessPlatform::displayViewNow(ViewRef view) {
    if (view) impl_->Display(impl_->ViewFor(view)->number);
}

// ---- Menus ----

MenuItemRef HeadlessPlatform::mainMenuItem(const std::string& title) {
    std::lock_guard lock(impl_->mutex);
    for (auto& menu : impl_->menus) {
        if (menu->title == title) return reinterpret_cast<MenuItemRef>(menu.get());
    }
    return nullptr;
}

int HeadlessPlatform::submenuItemCount(MenuItemRef menu) {
    std::lock_guard lock(impl_->mutex);
    HMenu* m = impl_->MenuFor(menu);
    return m ? static_cast<int>(m->items.size()) : 0;
}

std::string HeadlessPlatform::submenuItemTitle(MenuItemRef menu, int i) {
    std::lock_guard lock(impl_->mutex);
    HMenu* m = impl_->MenuFor(menu);
    if (!m || i < 0 || i >= static_cast<int>(m->items.size())) return "";
    return m->items[i]->item.title;
}

void HeadlessPlatform::removeSubmenuItem(MenuItemRef menu, int i) {
    std::lock_guard lock(impl_->mutex);
    HMenu* m = impl_->MenuFor(menu);
    if (!m || i < 0 || i >= static_cast<int>(m->items.size())) return;
    // Keep the item alive: a handle to it may still be in a test's hand.
    impl_->orphans.push_back(std::move(m->items[i]));
    m->items.erase(m->items.begin() + i);
}

MenuItemInfo HeadlessPlatform::menuItemInfo(MenuItemRef item) {
    std::lock_guard lock(impl_->mutex);
    MenuItemInfo info;
    if (!item) return info;
    auto* target = reinterpret_cast<HItem*>(item);
    for (auto& menu : impl_->menus) {
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
    std::lock_guard lock(impl_->mutex);
    auto menu = std::make_unique<HMenu>();
    menu->title = title;
    MenuItemRef handle = reinterpret_cast<MenuItemRef>(menu.get());
    auto before = std::find_if(impl_->menus.begin(), impl_->menus.end(),
                               [](const auto& m) { return m->title == "Fenster" || m->title == "Window"; });
    impl_->menus.insert(before, std::move(menu));
    return handle;
}

void HeadlessPlatform::addSubmenuItem(MenuItemRef menu, const MenuItemInfo& item) {
    std::lock_guard lock(impl_->mutex);
    HMenu* m = impl_->MenuFor(menu);
    if (m == nullptr) return;
    m->items.push_back(
        std::make_unique<HItem>(HItem{{item.title, item.tag, item.keyEquivalent, item.keyModifiers}}));
}

// ---- Text views ----

void HeadlessPlatform::disableTextSubstitutions(TextViewRef view) {
    std::lock_guard lock(impl_->mutex);
    if (view) impl_->TextFor(view)->state.substitutionsDisabled = true;
}

void HeadlessPlatform::setTextViewFont(TextViewRef view, const std::string& family, double size) {
    std::lock_guard lock(impl_->mutex);
    if (!view) return;
    impl_->TextFor(view)->state.fontFamily = family;
    impl_->TextFor(view)->state.fontSize = size;
}

void HeadlessPlatform::setTextViewText(TextViewRef view, const std::string& text) {
    std::lock_guard lock(impl_->mutex);
    if (view) impl_->TextFor(view)->state.text = text;
}

std::string HeadlessPlatform::textViewText(TextViewRef view) {
    std::lock_guard lock(impl_->mutex);
    return view ? impl_->TextFor(view)->state.text : std::string();
}

void HeadlessPlatform::markTextViewNeedsDisplay(TextViewRef view) {
    std::lock_guard lock(impl_->mutex);
    if (view) impl_->TextFor(view)->state.redisplayMarks++;
}

Rect HeadlessPlatform::scrollViewFrame(ScrollViewRef scroll) {
    std::lock_guard lock(impl_->mutex);
    return scroll ? impl_->textViews[reinterpret_cast<HScroll*>(scroll)->number - 8].state.scrollFrame
                  : Rect{};
}

void HeadlessPlatform::setScrollViewFrame(ScrollViewRef scroll, Rect frame) {
    std::lock_guard lock(impl_->mutex);
    if (scroll) impl_->textViews[reinterpret_cast<HScroll*>(scroll)->number - 8].state.scrollFrame = frame;
}

Rect HeadlessPlatform::rulerFrame(RulerRef ruler) {
    std::lock_guard lock(impl_->mutex);
    return ruler ? impl_->textViews[reinterpret_cast<HRuler*>(ruler)->number - 8].state.rulerFrame : Rect{};
}

void HeadlessPlatform::setRulerFrame(RulerRef ruler, Rect frame) {
    std::lock_guard lock(impl_->mutex);
    if (ruler) impl_->textViews[reinterpret_cast<HRuler*>(ruler)->number - 8].state.rulerFrame = frame;
}

// ---- Pasteboard ----

void HeadlessPlatform::clearPasteboard() {
    std::lock_guard lock(impl_->mutex);
    impl_->pasteboardText.reset();
    impl_->pasteboardImage.reset();
}

bool HeadlessPlatform::pasteboardText(std::string& text) {
    std::lock_guard lock(impl_->mutex);
    if (!impl_->pasteboardText) return false;
    text = *impl_->pasteboardText;
    return true;
}

void HeadlessPlatform::setPasteboardText(const std::string& text) {
    std::lock_guard lock(impl_->mutex);
    impl_->pasteboardText = text;
}

void HeadlessPlatform::setPasteboardImage(const WindowImage& image) {
    std::lock_guard lock(impl_->mutex);
    impl_->pasteboardImage = std::make_shared<const WindowImage>(image);
}

// ---- Panels ----

std::vector<std::string> HeadlessPlatform::runOpenPanel(const OpenPanelRequest& request) {
    std::lock_guard lock(impl_->mutex);
    impl_->openRequests.push_back(request);
    if (impl_->openAnswers.empty()) return {};
    auto answer = std::move(impl_->openAnswers.front());
    impl_->openAnswers.pop_front();
    return answer;
}

std::string HeadlessPlatform::runSavePanel(const SavePanelRequest& request) {
    std::lock_guard lock(impl_->mutex);
    impl_->saveRequests.push_back(request);
    if (impl_->saveAnswers.empty()) return "";
    auto answer = std::move(impl_->saveAnswers.front());
    impl_->saveAnswers.pop_front();
    return answer;
}

// ---- Sound ----

void HeadlessPlatform::beep() {
    std::lock_guard lock(impl_->mutex);
    impl_->beeps++;
}

bool HeadlessPlatform::loadNamedSound(const std::string& name) {
    std::lock_guard lock(impl_->mutex);
    return impl_->soundAvailable && name == "sysbeep.aif";
}

bool HeadlessPlatform::isNamedSoundPlaying() {
    std::lock_guard lock(impl_->mutex);
    return std::chrono::steady_clock::now() < impl_->soundEnds;
}

void HeadlessPlatform::playNamedSound() {
    std::lock_guard lock(impl_->mutex);
    impl_->soundPlays++;
    impl_->soundEnds = std::chrono::steady_clock::now() + std::chrono::milliseconds(impl_->soundMillis);
}

}  // namespace vx
