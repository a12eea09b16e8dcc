// The headless platform's objects in memory: windows, views, text views, menus, pasteboard, panels and
// sound, guarded by one mutex. Shared by the seam and the controls; private to the headless platform.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "display/refresh.h"
#include "headless/headless_controls.h"

namespace vx {

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

constexpr Rect kDefaultScreen{0, 0, 1920, 1200};

struct HeadlessWorld {
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
    std::function<void()> whilePanelOpen;
    int beeps = 0;
    int soundPlays = 0;
    bool soundAvailable = false;
    int soundMillis = 200;
    std::chrono::steady_clock::time_point soundEnds{};

    HeadlessWorld() {
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

}  // namespace vx
