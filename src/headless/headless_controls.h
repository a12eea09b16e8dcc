// What tests and tools may do to the headless platform beyond the seam: disconnect outlets, fill the
// menu, look at windows, views, text views and the pasteboard, answer panels, count beeps, and steer its
// user-interface thread. Every method may be called from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/platform.h"

namespace vx {

struct HeadlessWorld;
class UiThread;

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
    std::string rulerText;
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

class HeadlessControls {
  public:
    HeadlessControls(HeadlessWorld& world, UiThread& thread) : world_(world), thread_(thread) {}
    HeadlessControls(const HeadlessControls&) = delete;
    HeadlessControls& operator=(const HeadlessControls&) = delete;

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
    // Runs `work` on the user-interface thread while each following panel is open, before it answers:
    // what another thread does while the user takes their time.
    void WhilePanelOpen(std::function<void()> work);
    // Sound: beeps of the standard beep, plays of the named sound, and whether it exists.
    int BeepCount();
    int NamedSoundPlays();
    void ProvideNamedSound(bool available, int durationMillis = 200);
    // Queues work for the user-interface thread; dropped once quitting has begun.
    void Post(std::function<void()> work);
    // Runs everything queued for the user-interface thread so far, and the display cycle, then returns.
    void Flush();
    // Starts quitting: blocked hand-overs give up, queued work is dropped.
    void BeginQuit();

  protected:
    // Shared with the seam's side of the platform.
    HeadlessWorld& world_;
    UiThread& thread_;
};

}  // namespace vx
