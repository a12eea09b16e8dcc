// The headless platform's own user-interface thread: order of work, the display cycle, and quitting
// while another thread waits on it. Every test runs in a process of its own, so quitting is final here.
#include "headless/headless_platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <tuple>
#include <vector>

#include "core/threads.h"
#include "vxtools/core.h"

namespace {

// Work queued before quitting, and work handed over after it, is dropped.
TEST(HeadlessPlatform, QuittingReleasesAWaiterQueuedBehindBusyWorkAndDropsQueuedWork) {
    vx::HeadlessPlatform& platform = vx::StartHeadlessPlatform();
    std::promise<void> release;
    std::atomic<bool> busy{false};
    platform.Post([&] {
        busy = true;
        release.get_future().wait();
    });
    while (!busy) std::this_thread::yield();
    std::atomic<bool> queuedWorkRan{false}, postedWorkRan{false}, lateWorkRan{false};
    platform.Post([&] { postedWorkRan = true; });
    auto waiter = std::async(std::launch::async,
                             [&] { return platform.invokeBlocking([&] { queuedWorkRan = true; }); });
    // The waiter cannot finish while the user-interface thread is busy; quitting must wake it.
    EXPECT_EQ(waiter.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    platform.BeginQuit();
    EXPECT_FALSE(waiter.get());
    release.set_value();
    EXPECT_EQ(std::pair(platform.isQuitting(), platform.invokeBlocking([&] { lateWorkRan = true; })),
              std::pair(true, false));
    platform.Post([&] { lateWorkRan = true; });
    // Nothing tells when the thread has passed over the dropped work; it gets ample time to run it wrongly.
    vx::SleepNanoseconds(100'000'000);
    EXPECT_FALSE(queuedWorkRan || postedWorkRan || lateWorkRan);
}

// Handed-over work runs in order on thread 1; outlets exist exactly for their numbers; windows, menus and
// their bookkeeping read back as set.
TEST(HeadlessPlatform, RunsHandedOverWorkInOrderOnThreadOneAndOutletsAndWindowsKeepTheirState) {
    vx::HeadlessPlatform& platform = vx::StartHeadlessPlatform();
    std::vector<int> order;
    platform.Post([&] { order.push_back(0); });
    EXPECT_TRUE(platform.invokeBlocking([&] { order.push_back(vx::ThreadNumber()); }));
    EXPECT_EQ(std::pair(order, platform.isUserInterfaceThread()), std::pair(std::vector<int>{0, 1}, false));
    EXPECT_EQ(std::tuple(platform.graphicView(-1), platform.graphicView(8), platform.auxiliaryWindow(7),
                         platform.auxiliaryWindow(13), platform.textView(7), platform.textView(11)),
              std::tuple(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(platform.graphicView(7) && platform.auxiliaryWindow(8) && platform.auxiliaryWindow(12) &&
                platform.textView(8) && platform.textView(10));
    EXPECT_EQ(
        std::tuple(platform.Window(13).frame, platform.Window(12).frame, platform.TextView(9).scrollFrame),
        std::tuple(vx::Rect{}, vx::Rect{50, 50, 800, 600}, vx::Rect{10, 10, 580, 380}));
    platform.RemoveAuxiliaryWindow(8);
    platform.RemoveGraphicView(7);
    // Window 7 is graphic view 7's: gone with it.
    platform.SetMainWindow(7);
    EXPECT_EQ(std::tuple(platform.auxiliaryWindow(8), platform.mainWindow()), std::tuple(nullptr, nullptr));

    // One key window at a time; ordering out another one keeps the main window.
    vx::WindowRef nine = platform.auxiliaryWindow(9), ten = platform.auxiliaryWindow(10);
    platform.makeKeyAndOrderFront(nine);
    platform.makeKeyAndOrderFront(ten);
    EXPECT_EQ(std::pair(platform.Window(9).key, platform.Window(10).key), std::pair(false, true));
    platform.orderOut(nine);
    EXPECT_EQ(platform.mainWindow(), ten);
    platform.orderOut(ten);
    EXPECT_EQ(platform.mainWindow(), nullptr);
    platform.setWindowBackgroundColor(ten, 0.25, 0.5, 0.75, 1);
    const auto tenState = platform.Window(10);
    EXPECT_EQ(std::vector<double>(tenState.background, tenState.background + 4),
              (std::vector<double>{0.25, 0.5, 0.75, 1}));

    // Items without a tag have tag 0; removing past the last item removes nothing.
    vx::HeadlessMenuItem item;
    item.title = "Neu";
    platform.SetMainMenu({{"Ablage", {item}}});
    EXPECT_EQ(platform.menuItemInfo(platform.MenuItem("Ablage", 0)).tag, 0);
    vx::MenuItemRef menu = platform.mainMenuItem("Ablage");
    platform.removeSubmenuItem(menu, 1);
    EXPECT_EQ(platform.submenuItemCount(menu), 1);
}

}  // namespace
