#include <gtest/gtest.h>
#include <spng.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>
#include <cstdio>
#include <string>

#include "display/window_init.h"
#include "input/events.h"
#include "input/mouse_input.h"
#include "qt_test_support.h"
#include "shell/interface.h"
#include "shell/presentation_menu.h"
#include "shell/qt_platform.h"
#include "shell/toolkit_window.h"
#include "shell/views.h"
#include "vxtools/core.h"
#include "vxtools/display.h"
#include "vxtools/extensions.h"
#include "vxtools/graphics.h"

namespace {

using vx::shell::GraphicView;
using vx::shell::ToolkitWindow;
using vx::shell::Zoom;

constexpr int kWidth = 96, kHeight = 64;

struct Window0 {
    ToolkitWindow* window;
    GraphicView* view;
};

// Window 0 as a small 4-bit display with a border, shown and active; every queue empty.
Window0 Start() {
    vx::shell::Interface& ui = vxtest::StartQt().interface();
    vxtest::OffUserInterfaceThread([] {
        t_InitWindow(0, 4, false, kWidth, kHeight, 5, 3, t_Font{}, true);
        t_WindowFront(0);
        t_Color(0, 15);
        g_Plot(0, 0, 0);
        g_Plot(0, kWidth - 1, kHeight - 1);
    });
    ToolkitWindow* window = ui.graphicWindows[0];
    QApplication::setActiveWindow(window);
    vxtest::ProcessEvents();
    MouseEventQueue.Clear();
    vxtest::TakeLog();
    return {window, ui.views[0]};
}

// The pixel the toolkit posts for a click at a point of the view.
std::pair<std::int64_t, std::int64_t> ClickAt(GraphicView* view, QPoint point) {
    MouseEventQueue.Clear();
    // Sent directly: QTest would take the point 0, 0 for the middle of the view.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(point), view->mapToGlobal(QPointF(point)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(point), view->mapToGlobal(QPointF(point)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &press);
    QApplication::sendEvent(view, &release);
    const std::optional<t_Event> event = MouseEventQueue.TakeFirst();
    MouseEventQueue.Clear();
    return event ? std::pair{event->ClickX, event->ClickY} : std::pair{std::int64_t(-9), std::int64_t(-9)};
}

// The pointer state after a move to a point of the view, no button held.
vx::PointerState MoveTo(GraphicView* view, QPointF point) {
    QMouseEvent move(QEvent::MouseMove, point, view->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    return vx::Pointer(view->windowNumber());
}

QAction* WindowMenuItem(const QString& title) {
    for (QMenu* menu : vxtest::StartQt().interface().menus)
        for (QAction* action : menu->actions())
            if (action->text() == title) return action;
    return nullptr;
}

}  // namespace

TEST(Zoom, ClicksLandOnThePixelUnderThePointerAtEveryZoom) {
    auto [window, view] = Start();
    for (const Zoom zoom : {Zoom{false, 1}, Zoom{false, 2}, Zoom{false, 3}, Zoom{true, 1}}) {
        SCOPED_TRACE(zoom.fit ? "fit" : std::to_string(zoom.factor).c_str());
        window->setZoom(zoom);
        vxtest::ProcessEvents();
        // Logical pixels per picture pixel: the offscreen screen has device pixel ratio 1.
        const double s = window->contentScale();
        EXPECT_NEAR(view->width(), kWidth * s, 1.0);
        if (!zoom.fit) {
            EXPECT_DOUBLE_EQ(s, zoom.factor);
        }
        for (const QPoint pixel : {QPoint(0, 0), QPoint(kWidth - 1, kHeight - 1), QPoint(37, 21)}) {
            // The middle of the pixel's block on the screen.
            const QPoint centre(int((pixel.x() + 0.5) * s), int((pixel.y() + 0.5) * s));
            EXPECT_EQ(ClickAt(view, centre), (std::pair<std::int64_t, std::int64_t>{pixel.x(), pixel.y()}));
        }
        // The view's last column and row still belong to the last pixel, its first to the first.
        EXPECT_EQ(ClickAt(view, QPoint(view->width() - 1, view->height() - 1)),
                  (std::pair<std::int64_t, std::int64_t>{kWidth - 1, kHeight - 1}));
        EXPECT_EQ(ClickAt(view, QPoint(0, 0)), (std::pair<std::int64_t, std::int64_t>{0, 0}));
    }
}

TEST(Zoom, PointerFollowsMovesToTheEdgesOfThePictureAtEveryZoom) {
    auto [window, view] = Start();
    EXPECT_TRUE(view->hasMouseTracking());
    for (const Zoom zoom : {Zoom{false, 1}, Zoom{false, 3}, Zoom{true, 1}}) {
        SCOPED_TRACE(zoom.fit ? "fit" : std::to_string(zoom.factor).c_str());
        window->setZoom(zoom);
        vxtest::ProcessEvents();
        const double w = view->width(), h = view->height();
        struct Case {
            QPointF point;
            std::int64_t x, y;
            bool inside;
        };
        const Case cases[] = {
            {{0, 0}, 0, 0, true},
            {{w - 0.5, h - 0.5}, kWidth - 1, kHeight - 1, true},
            {{w - 0.5, 0}, kWidth - 1, 0, true},
            // Outside: the last pixel inside is kept.
            {{w + 2, h / 2}, kWidth - 1, 0, false},
            {{-1, -1}, kWidth - 1, 0, false},
        };
        for (const Case& c : cases) {
            const vx::PointerState p = MoveTo(view, c.point);
            EXPECT_EQ(p.inside, c.inside) << c.point.x() << ", " << c.point.y();
            EXPECT_EQ(p.x, c.x) << c.point.x() << ", " << c.point.y();
            EXPECT_EQ(p.y, c.y) << c.point.x() << ", " << c.point.y();
        }
    }
    // Leaving the view keeps the position, and the button flags come along.
    MoveTo(view, QPointF(5, 5));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view, &leave);
    EXPECT_FALSE(vx::Pointer(0).inside);
    LeftButtonDown.store(true);
    EXPECT_TRUE(vx::Pointer(0).primaryDown);
    LeftButtonDown.store(false);
    EXPECT_FALSE(vx::Pointer(8).inside);
    EXPECT_EQ(vx::Pointer(8).x, -1);
}

TEST(Zoom, GeometryQueriesKeepTheWindowsOwnPixels) {
    auto [window, view] = Start();
    window->setZoom(Zoom{false, 3});
    vxtest::ProcessEvents();
    EXPECT_EQ(view->size(), QSize(3 * kWidth, 3 * kHeight));
    vxtest::OffUserInterfaceThread([] {
        EXPECT_EQ(t_WindowPos(0, 8), kWidth);
        EXPECT_EQ(t_WindowPos(0, 10), kWidth + 10);
        EXPECT_EQ(t_WindowPos(0, 12), kHeight + 6 + t_WindowPos(0, 17));
        // Moving and resizing keeps the zoom: the frame is the toolkit's, the scale the window's.
        t_WindowSize(0, 40, -1, -1, -1);
        EXPECT_EQ(t_WindowPos(0, 13), 40);
    });
    EXPECT_EQ(view->size(), QSize(3 * kWidth, 3 * kHeight));
    const QImage shot = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The first and the last pixel are white 3 x 3 blocks.
    EXPECT_EQ(shot.pixel(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(shot.pixel(3, 0), 0xFF000000u);
    EXPECT_EQ(shot.pixel(3 * kWidth - 3, 3 * kHeight - 3), 0xFFFFFFFFu);
    EXPECT_EQ(shot.pixel(3 * kWidth - 4, 3 * kHeight - 1), 0xFF000000u);
}

TEST(Zoom, MenuItemsAndKeysChangeTheFrontWindowsZoom) {
    auto [window, view] = Start();
    ASSERT_NE(WindowMenuItem("Originalgr\u00f6\u00dfe"), nullptr);
    WindowMenuItem("Originalgr\u00f6\u00dfe")->trigger();
    EXPECT_EQ(window->zoom(), (Zoom{false, 1}));
    WindowMenuItem("Vergr\u00f6\u00dfern")->trigger();
    EXPECT_EQ(window->zoom(), (Zoom{false, 2}));
    WindowMenuItem("An Bildschirm anpassen")->trigger();
    EXPECT_TRUE(window->zoom().fit);

    struct KeyCase {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Zoom expected;
    };
    const KeyCase keys[] = {{Qt::Key_0, Qt::ControlModifier, {false, 1}},
                            {Qt::Key_Plus, Qt::ControlModifier, {false, 2}},
                            {Qt::Key_Equal, Qt::ControlModifier, {false, 3}},
                            {Qt::Key_Minus, Qt::ControlModifier, {false, 2}},
                            {Qt::Key_F, Qt::ControlModifier, {true, 1}}};
    for (const KeyCase& k : keys) {
        QTest::keyClick(view, k.key, k.modifiers);
        EXPECT_EQ(window->zoom().fit, k.expected.fit);
        if (!k.expected.fit) {
            EXPECT_EQ(window->zoom().factor, k.expected.factor);
        }
    }
    // Zoom keys are the window's, not the program's.
    EXPECT_EQ(KeyEventQueue.Count(), 0u);

    QTest::keyClick(view, Qt::Key_F11);
    QTest::qWait(300);
    EXPECT_TRUE(window->fullScreen());
    EXPECT_EQ(window->geometry(), window->screen()->geometry());
    EXPECT_FALSE(window->menuBar()->isVisible());
    QTest::keyClick(view, Qt::Key_F11);
    EXPECT_FALSE(window->fullScreen());
    EXPECT_TRUE(window->menuBar()->isVisible());
}

TEST(Zoom, WindowLargerThanTheScreenOpensFittedInsideIt) {
    vx::shell::Interface& ui = vxtest::StartQt().interface();
    vxtest::OffUserInterfaceThread([] {
        t_InitWindow(1, 4, false, 2048, 2048, 0, 0, t_Font{}, true);
        t_WindowCenter(1);
        t_WindowFront(1);
    });
    ToolkitWindow* window = ui.graphicWindows[1];
    QTest::qWait(300);
    const QRect available = window->screen()->availableGeometry();
    EXPECT_TRUE(window->zoom().fit);
    EXPECT_TRUE(available.contains(window->frameGeometry()));
    EXPECT_LT(window->contentScale(), 1.0);
    vxtest::OffUserInterfaceThread([] { EXPECT_EQ(t_WindowPos(1, 8), 2048); });
}

TEST(Zoom, SavedPictureDecodesToTheComposedImage) {
    auto [window, view] = Start();
    window->setZoom(Zoom{false, 2});
    const std::string path = testing::TempDir() + "zoomed-" + std::to_string(::getpid()) + ".png";
    ASSERT_TRUE(vx::shell::SaveFrontPicture(vxtest::StartQt().interface(), QString::fromStdString(path)));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    spng_ctx* ctx = spng_ctx_new(0);
    spng_set_png_file(ctx, file);
    spng_ihdr header{};
    ASSERT_EQ(spng_get_ihdr(ctx, &header), 0);
    EXPECT_EQ(header.width, std::uint32_t(kWidth));  // 1:1, whatever the zoom
    EXPECT_EQ(header.height, std::uint32_t(kHeight));
    std::vector<std::uint8_t> rgba(std::size_t(kWidth) * kHeight * 4);
    ASSERT_EQ(spng_decode_image(ctx, rgba.data(), rgba.size(), SPNG_FMT_RGBA8, 0), 0);
    spng_ctx_free(ctx);
    std::fclose(file);
    std::remove(path.c_str());
    const auto composed = t_WindowImage(0);
    ASSERT_NE(composed, nullptr);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < composed->pixels.size(); ++i) {
        const std::uint32_t word = std::uint32_t(rgba[4 * i + 3]) << 24 | std::uint32_t(rgba[4 * i]) << 16 |
                                   std::uint32_t(rgba[4 * i + 1]) << 8 | rgba[4 * i + 2];
        differing += word != composed->pixels[i];
    }
    EXPECT_EQ(differing, 0u);
}

// At device pixel ratio 1.5 a window opens at factor 2: each pixel is a 2 x 2 block of device pixels,
// not the uneven 1- and 2-pixel runs of a 1.5 stretch, and clicks still find their pixel.
TEST(Zoom, FractionalDensityOpensAtAWholeNumberOfDevicePixels) {
    if (QCoreApplication::instance() != nullptr) GTEST_SKIP() << "needs a process of its own";
    qputenv("QT_SCALE_FACTOR", "1.5");
    auto [window, view] = Start();
    ASSERT_DOUBLE_EQ(view->devicePixelRatioF(), 1.5);
    EXPECT_EQ(window->zoom(), (Zoom{false, 2}));
    EXPECT_DOUBLE_EQ(view->deviceScale(), 2.0);
    const QImage shot = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(shot.width(), 2 * kWidth);
    // Pixel (0, 0) is white, its neighbours black: the block is exactly device pixels 0..1.
    EXPECT_EQ(shot.pixel(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(shot.pixel(2, 0), 0xFF000000u);
    EXPECT_EQ(shot.pixel(0, 2), 0xFF000000u);
    EXPECT_EQ(shot.pixel(2 * kWidth - 1, 2 * kHeight - 1), 0xFFFFFFFFu);
    EXPECT_EQ(shot.pixel(2 * kWidth - 3, 2 * kHeight - 1), 0xFF000000u);
    // Logical point 31 is device pixel 46.5: picture pixel 23.
    EXPECT_EQ(ClickAt(view, QPoint(31, 31)), (std::pair<std::int64_t, std::int64_t>{23, 23}));
}
