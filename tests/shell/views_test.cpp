// Graphic views and their zoom: clicks, pointer, keys and painting on real widgets.
#include "shell/views.h"

#include <unistd.h>

#include <QMouseEvent>
#include <QScreen>
#include <cstdio>

#include "display/window.h"
#include "input/key_input.h"
#include "input/mouse_input.h"
#include "qt_test_support.h"
#include "shell/presentation_menu.h"
#include "vxtools/extensions.h"

namespace {

using vx::shell::GraphicView;
using vx::shell::Zoom;
using vxtest::kHeight;
using vxtest::kWidth;
using XY = std::pair<std::int64_t, std::int64_t>;

vx::shell::ToolkitWindow* Window0() {
    return vxtest::Ui().graphicWindows[0];
}

// Mouse events are sent directly: QTest would take the point 0, 0 for the middle of the view.
void Send(GraphicView* view, QEvent::Type type, QPointF point, Qt::MouseButton button,
          Qt::MouseButtons held) {
    QMouseEvent event(type, point, view->mapToGlobal(point), button, held, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

// The pixel the toolkit posts for a click at a point of the view.
XY ClickAt(GraphicView* view, QPoint point) {
    MouseEventQueue.Clear();
    Send(view, QEvent::MouseButtonPress, point, Qt::LeftButton, Qt::LeftButton);
    Send(view, QEvent::MouseButtonRelease, point, Qt::LeftButton, Qt::NoButton);
    const std::optional<t_Event> event = MouseEventQueue.TakeFirst();
    MouseEventQueue.Clear();
    return event ? XY{event->ClickX, event->ClickY} : XY{-9, -9};
}

// The pointer state after a move to a point of the view, no button held.
vx::PointerState MoveTo(GraphicView* view, QPointF point) {
    Send(view, QEvent::MouseMove, point, Qt::NoButton, Qt::NoButton);
    return vx::Pointer(view->windowNumber());
}

// The picture's first and last pixel, white among black, cover exactly k x k pixels of the view's shot.
void ExpectWholeBlocks(GraphicView* view, int k) {
    const QImage shot = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(shot.width(), k * kWidth);
    EXPECT_EQ(shot.pixel(k - 1, k - 1), 0xFFFFFFFFu);
    EXPECT_EQ(shot.pixel(k, 0), 0xFF000000u);
    EXPECT_EQ(shot.pixel(0, k), 0xFF000000u);
    EXPECT_EQ(shot.pixel(k * kWidth - k, k * kHeight - k), 0xFFFFFFFFu);
    EXPECT_EQ(shot.pixel(k * kWidth - k - 1, k * kHeight - 1), 0xFF000000u);
}

}  // namespace

TEST(Zoom, ClicksAndThePointerFindThePixelUnderThePointerAtEveryZoom) {
    GraphicView* view = vxtest::ShowWindow0();
    EXPECT_TRUE(view->hasMouseTracking());
    for (const Zoom zoom : {Zoom{false, 1}, Zoom{false, 2}, Zoom{false, 3}, Zoom{true, 1}}) {
        SCOPED_TRACE(zoom.fit ? "fit" : std::to_string(zoom.factor).c_str());
        Window0()->setZoom(zoom);
        vxtest::ProcessEvents();
        // Logical pixels per picture pixel: the offscreen screen has device pixel ratio 1.
        const double s = Window0()->contentScale();
        EXPECT_NEAR(view->width(), kWidth * s, 1.0);
        EXPECT_TRUE(zoom.fit || s == zoom.factor) << s;
        for (const QPoint pixel : {QPoint(0, 0), QPoint(kWidth - 1, kHeight - 1), QPoint(37, 21)}) {
            // The middle of the pixel's block on the screen.
            const QPoint centre(int((pixel.x() + 0.5) * s), int((pixel.y() + 0.5) * s));
            EXPECT_EQ(ClickAt(view, centre), XY(pixel.x(), pixel.y()));
        }
        // The view's last column and row still belong to the last pixel, its first to the first.
        EXPECT_EQ(ClickAt(view, QPoint(view->width() - 1, view->height() - 1)), XY(kWidth - 1, kHeight - 1));
        EXPECT_EQ(ClickAt(view, QPoint(0, 0)), XY(0, 0));

        const double w = view->width(), h = view->height();
        // Outside, the last pixel inside is kept.
        for (const auto& [point, pixel, inside] :
             {std::tuple{QPointF(w - 0.5, h - 0.5), XY(kWidth - 1, kHeight - 1), true},
              std::tuple{QPointF(w - 0.5, 0), XY(kWidth - 1, 0), true},
              std::tuple{QPointF(w + 2, h / 2), XY(kWidth - 1, 0), false},
              std::tuple{QPointF(-1, -1), XY(kWidth - 1, 0), false}}) {
            const vx::PointerState p = MoveTo(view, point);
            EXPECT_EQ(std::tuple(p.x, p.y, p.inside), std::tuple(pixel.first, pixel.second, inside))
                << point.x() << ", " << point.y();
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
    EXPECT_EQ(vx::Pointer(8).x, -1);
}

TEST(Zoom, PictureIsEnlargedInWholeBlocksWhileQueriesKeepTheWindowsOwnPixels) {
    GraphicView* view = vxtest::ShowWindow0();
    Window0()->setZoom(Zoom{false, 3});
    vxtest::ProcessEvents();
    vxtest::OffUserInterfaceThread([] {
        EXPECT_EQ(t_WindowPos(0, 8), kWidth);
        EXPECT_EQ(t_WindowPos(0, 10), kWidth + 10);
        EXPECT_EQ(t_WindowPos(0, 12), kHeight + 6 + t_WindowPos(0, 17));
        // Moving keeps the zoom: the frame is the toolkit's, the scale the window's.
        t_WindowSize(0, 40, -1, -1, -1);
        EXPECT_EQ(t_WindowPos(0, 13), 40);
    });
    EXPECT_EQ(view->size(), QSize(3 * kWidth, 3 * kHeight));
    ExpectWholeBlocks(view, 3);

    // A view frame twice the picture's size stretches it, still without smoothing.
    Window0()->setZoom(Zoom{false, 1});
    vxtest::OffUserInterfaceThread([] { t_WindowSize(0, -1, -1, 2 * kWidth, 2 * kHeight); });
    ASSERT_EQ(view->size(), QSize(2 * kWidth, 2 * kHeight));
    ExpectWholeBlocks(view, 2);
}

// The keys are the shortcuts of the window menu's items.
TEST(Zoom, KeysChangeTheFrontWindowsZoomAndAreNotPostedToTheProgram) {
    GraphicView* view = vxtest::ShowWindow0();
    const std::pair<Qt::Key, Zoom> steps[] = {{Qt::Key_0, {false, 1}},     {Qt::Key_Plus, {false, 2}},
                                              {Qt::Key_Equal, {false, 3}}, {Qt::Key_Minus, {false, 2}},
                                              {Qt::Key_F, {true, 1}},      {Qt::Key_0, {false, 1}}};
    for (const auto& [key, zoom] : steps) {
        QTest::keyClick(view, key, Qt::ControlModifier);
        // A fitted window's factor is its own.
        EXPECT_EQ(Window0()->zoom().fit ? (Zoom{true, 1}) : Window0()->zoom(), zoom)
            << QKeySequence(key).toString().toStdString();
    }
    EXPECT_EQ(KeyEventQueue.Count(), 0u);

    // Full screen hides the menu bar.
    for (const bool full : {true, false}) {
        QTest::keyClick(view, Qt::Key_F11);
        QTest::qWait(300);
        EXPECT_EQ(std::pair(Window0()->fullScreen(), Window0()->menuBar()->isVisible()),
                  std::pair(full, !full));
    }
}

TEST(Zoom, WindowLargerThanTheScreenOpensFittedInsideIt) {
    vx::shell::Interface& ui = vxtest::Ui();
    vxtest::OffUserInterfaceThread([] {
        t_InitWindow(1, 4, false, 2048, 2048, 0, 0, t_Font{}, true);
        t_WindowCenter(1);
        t_WindowFront(1);
    });
    vx::shell::ToolkitWindow* window = ui.graphicWindows[1];
    QTest::qWait(300);
    EXPECT_TRUE(window->zoom().fit);
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));
    EXPECT_LT(window->contentScale(), 1.0);
    vxtest::OffUserInterfaceThread([] { EXPECT_EQ(t_WindowPos(1, 8), 2048); });
}

TEST(Zoom, SavedPictureDecodesToTheComposedImage) {
    vxtest::ShowWindow0();
    Window0()->setZoom(Zoom{false, 2});
    const std::string path = testing::TempDir() + "zoomed-" + std::to_string(::getpid()) + ".png";
    ASSERT_TRUE(vx::shell::SaveFrontPicture(vxtest::Ui(), QString::fromStdString(path)));
    const QImage saved = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_ARGB32);
    std::remove(path.c_str());
    ASSERT_EQ(saved.size(), QSize(kWidth, kHeight));  // 1:1, whatever the zoom
    const auto composed = t_WindowImage(0);
    ASSERT_NE(composed, nullptr);
    EXPECT_EQ(saved, QImage(reinterpret_cast<const uchar*>(composed->pixels.data()), kWidth, kHeight,
                            QImage::Format_ARGB32));
}

// At device pixel ratio 1.5 a window opens at factor 2: each pixel is a 2 x 2 block of device pixels,
// not the uneven 1- and 2-pixel runs of a 1.5 stretch, and clicks still find their pixel.
TEST(Zoom, FractionalDensityOpensAtAWholeNumberOfDevicePixels) {
    if (QCoreApplication::instance() != nullptr) GTEST_SKIP() << "needs a process of its own";
    qputenv("QT_SCALE_FACTOR", "1.5");
    GraphicView* view = vxtest::ShowWindow0();
    ASSERT_DOUBLE_EQ(view->devicePixelRatioF(), 1.5);
    EXPECT_EQ(Window0()->zoom(), (Zoom{false, 2}));
    EXPECT_DOUBLE_EQ(view->deviceScale(), 2.0);
    ExpectWholeBlocks(view, 2);
    // Logical point 31 is device pixel 46.5: picture pixel 23.
    EXPECT_EQ(ClickAt(view, QPoint(31, 31)), XY(23, 23));
}

TEST(ViewKeys, KeysReachTheKeyQueueAndModifierKeysOnlyTheirStates) {
    GraphicView* view = vxtest::ShowWindow0();
    view->setFocus();
    // Tab and Shift+Tab stay with the view instead of moving the focus; a click releases its key again.
    for (const auto& [key, mods, index] :
         {std::tuple{Qt::Key_Left, Qt::NoModifier, 123}, std::tuple{Qt::Key_Tab, Qt::NoModifier, 48},
          std::tuple{Qt::Key_Backtab, Qt::ShiftModifier, 48}}) {
        QTest::keyClick(view, key, mods);
        ASSERT_EQ(KeyEventQueue.Count(), 1u);
        const t_Event e = KeyEventQueue.TakeFirst().value_or(t_Event{});
        EXPECT_EQ(std::tuple(e.Kind, e.Window, e.Index, e.ShiftPressed), std::tuple(1, 0, index, mods != 0))
            << key;
        EXPECT_FALSE(KeyDown);
    }

    QTest::keyPress(view, Qt::Key_Shift);
    EXPECT_TRUE(ShiftDown);
    QTest::keyRelease(view, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_FALSE(ShiftDown);
    QTest::keyClick(view, Qt::Key_CapsLock);
    EXPECT_TRUE(CapsLockDown);
    EXPECT_EQ(KeyEventQueue.Count(), 0u);
}

TEST(ViewPainting, OnlyInitialisedVisibleWindowsAreComposed) {
    GraphicView* view = vxtest::ShowWindow0();
    // Uninitialised: nothing drawn, one line logged.
    GraphicView* other = vxtest::Ui().views[3];
    EXPECT_FALSE(other->grab().isNull());
    EXPECT_EQ(other->lastImage(), nullptr);
    EXPECT_EQ(vxtest::TakeLog(),
              (std::vector<std::string>{"t_WindowImage: Graphic window #3 not initialized."}));

    // Hidden: nothing composed, the last picture kept.
    view->grab();
    std::shared_ptr<const vx::WindowImage> shown = view->lastImage();
    ASSERT_NE(shown, nullptr);
    vxtest::OffUserInterfaceThread([] { t_WindowVisible(0, false); });
    const std::int64_t finished = WindowRecord(0).UpdateFinished;
    vxtest::TakeLog();
    view->grab();
    EXPECT_EQ(view->lastImage(), shown);
    EXPECT_EQ(WindowRecord(0).UpdateFinished, finished);
    EXPECT_TRUE(vxtest::TakeLog().empty());
}
