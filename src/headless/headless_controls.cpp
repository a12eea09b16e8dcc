#include "headless/headless_controls.h"

#include "headless/headless_world.h"
#include "headless/ui_thread.h"

namespace vx {

void HeadlessControls::RemoveGraphicView(int n) {
    std::lock_guard lock(world_.mutex);
    if (n >= 0 && n < 8) world_.viewConnected[n] = false;
}

void HeadlessControls::RemoveAuxiliaryWindow(int n) {
    std::lock_guard lock(world_.mutex);
    if (n >= 8 && n < 13) world_.windowConnected[n] = false;
}

void HeadlessControls::RemoveTextView(int n) {
    std::lock_guard lock(world_.mutex);
    if (n >= 8 && n <= 10) world_.textViewConnected[n - 8] = false;
}

void HeadlessControls::SetMainMenu(std::vector<HeadlessMenu> menus) {
    std::lock_guard lock(world_.mutex);
    world_.menus.clear();
    for (auto& m : menus) {
        auto menu = std::make_unique<HMenu>();
        menu->title = m.title;
        for (auto& item : m.items) menu->items.push_back(std::make_unique<HItem>(HItem{item}));
        world_.menus.push_back(std::move(menu));
    }
}

std::vector<HeadlessMenu> HeadlessControls::MainMenu() {
    std::lock_guard lock(world_.mutex);
    std::vector<HeadlessMenu> out;
    for (auto& menu : world_.menus) {
        HeadlessMenu m{menu->title, {}};
        for (auto& item : menu->items) m.items.push_back(item->item);
        out.push_back(std::move(m));
    }
    return out;
}

MenuItemRef HeadlessControls::MenuItem(const std::string& menuTitle, int index) {
    std::lock_guard lock(world_.mutex);
    for (auto& menu : world_.menus) {
        if (menu->title != menuTitle) continue;
        if (index < 0 || index >= static_cast<int>(menu->items.size())) return nullptr;
        return reinterpret_cast<MenuItemRef>(menu->items[index].get());
    }
    return nullptr;
}

MenuItemRef HeadlessControls::OrphanMenuItem(std::int64_t tag) {
    std::lock_guard lock(world_.mutex);
    world_.orphans.push_back(std::make_unique<HItem>(HItem{{"", tag, "", 0}}));
    return reinterpret_cast<MenuItemRef>(world_.orphans.back().get());
}

HeadlessWindowState HeadlessControls::Window(int n) {
    std::lock_guard lock(world_.mutex);
    return n >= 0 && n < 13 ? world_.windows[n].state : HeadlessWindowState{};
}

HeadlessViewState HeadlessControls::View(int n) {
    std::lock_guard lock(world_.mutex);
    return n >= 0 && n < 8 ? world_.views[n].state : HeadlessViewState{};
}

HeadlessTextViewState HeadlessControls::TextView(int n) {
    std::lock_guard lock(world_.mutex);
    return n >= 8 && n <= 10 ? world_.textViews[n - 8].state : HeadlessTextViewState{};
}

void HeadlessControls::SetMainWindow(int n) {
    std::lock_guard lock(world_.mutex);
    world_.mainWindow = n;
}

void HeadlessControls::SetWindowFrame(int n, Rect frame) {
    std::lock_guard lock(world_.mutex);
    if (n >= 0 && n < 13) world_.windows[n].state.frame = frame;
}

void HeadlessControls::SetScreenFrame(Rect frame) {
    std::lock_guard lock(world_.mutex);
    world_.screen = frame;
}

std::optional<std::string> HeadlessControls::PasteboardText() {
    std::lock_guard lock(world_.mutex);
    return world_.pasteboardText;
}

std::shared_ptr<const WindowImage> HeadlessControls::PasteboardImage() {
    std::lock_guard lock(world_.mutex);
    return world_.pasteboardImage;
}

void HeadlessControls::SetPasteboardText(std::optional<std::string> text) {
    std::lock_guard lock(world_.mutex);
    world_.pasteboardText = std::move(text);
    world_.pasteboardImage.reset();
}

void HeadlessControls::QueueOpenPanelAnswer(std::vector<std::string> urls) {
    std::lock_guard lock(world_.mutex);
    world_.openAnswers.push_back(std::move(urls));
}

void HeadlessControls::QueueSavePanelAnswer(std::string url) {
    std::lock_guard lock(world_.mutex);
    world_.saveAnswers.push_back(std::move(url));
}

std::vector<OpenPanelRequest> HeadlessControls::OpenPanelRequests() {
    std::lock_guard lock(world_.mutex);
    return world_.openRequests;
}

std::vector<SavePanelRequest> HeadlessControls::SavePanelRequests() {
    std::lock_guard lock(world_.mutex);
    return world_.saveRequests;
}

void HeadlessControls::WhilePanelOpen(std::function<void()> work) {
    std::lock_guard lock(world_.mutex);
    world_.whilePanelOpen = std::move(work);
}

int HeadlessControls::BeepCount() {
    std::lock_guard lock(world_.mutex);
    return world_.beeps;
}

int HeadlessControls::NamedSoundPlays() {
    std::lock_guard lock(world_.mutex);
    return world_.soundPlays;
}

void HeadlessControls::ProvideNamedSound(bool available, int durationMillis) {
    std::lock_guard lock(world_.mutex);
    world_.soundAvailable = available;
    world_.soundMillis = durationMillis;
}

void HeadlessControls::Post(std::function<void()> work) {
    thread_.Post(std::move(work));
}

void HeadlessControls::Flush() {
    // Two rounds: work queued by the first (display cycles marked by hand-over work) runs in the second.
    for (int round = 0; round < 2; ++round) {
        if (thread_.IsCurrent()) return;
        thread_.RunAndWait([] {});
    }
}

void HeadlessControls::BeginQuit() {
    thread_.BeginQuit();
}

}  // namespace vx
