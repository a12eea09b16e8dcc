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

// The pixel the toolkit posts for a click at a point of the view.
XY ClickAt(GraphicView* view, QPoint point) {
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
    return event ? XY{event->ClickX, event->ClickY} : XY{-9, -9};
}

// The pointer state after a move to a point of the view, no button held.
vx::PointerState MoveTo(GraphicView* view, QPointF point) {
    QMouseEvent move(QEvent::MouseMove, point, view->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &move);
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
        struct Move {
            QPointF point;
            XY pixel;
            bool inside;
        };
        for (const Move& m :
             {Move{{0, 0}, {0, 0}, true}, Move{{w - 0.5, h - 0.5}, {kWidth - 1, kHeight - 1}, true},
              Move{{w - 0.5, 0}, {kWidth - 1, 0}, true},
              // Outside: the last pixel inside is kept.
              Move{{w + 2, h / 2}, {kWidth - 1, 0}, false}, Move{{-1, -1}, {kWidth - 1, 0}, false}}) {
            const vx::PointerState p = MoveTo(view, m.point);
            EXPECT_EQ(XY(p.x, p.y), m.pixel) << m.point.x() << ", " << m.point.y();
            EXPECT_EQ(p.inside, m.inside) << m.point.x() << ", " << m.point.y();
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

TEST(Zoom, MenuItemsAndKeysChangeTheFrontWindowsZoom) {
    GraphicView* view = vxtest::ShowWindow0();
    struct Step {
        const char* item;  // or else the key with Control
        Qt::Key key;
        Zoom zoom;
    };
    const Step steps[] = {
        {"Originalgr\u00f6\u00dfe", {}, {false, 1}}, {"Vergr\u00f6\u00dfern", {}, {false, 2}},
        {"An Bildschirm anpassen", {}, {true, 1}},   {nullptr, Qt::Key_0, {false, 1}},
        {nullptr, Qt::Key_Plus, {false, 2}},         {nullptr, Qt::Key_Equal, {false, 3}},
        {nullptr, Qt::Key_Minus, {false, 2}},        {nullptr, Qt::Key_F, {true, 1}}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.item ? s.item : QKeySequence(s.key).toString().toStdString());
        if (s.item) {
            ASSERT_NE(vxtest::MenuItem(QString(s.item)), nullptr);
            vxtest::MenuItem(QString(s.item))->trigger();
        } else {
            QTest::keyClick(view, s.key, Qt::ControlModifier);
        }
        EXPECT_EQ(Window0()->zoom().fit, s.zoom.fit);
        EXPECT_TRUE(s.zoom.fit || Window0()->zoom().factor == s.zoom.factor) << Window0()->zoom().factor;
    }
    // Zoom keys are the window's, not the program's.
    EXPECT_EQ(KeyEventQueue.Count(), 0u);

    QTest::keyClick(view, Qt::Key_F11);
    QTest::qWait(300);
    EXPECT_TRUE(Window0()->fullScreen());
    EXPECT_EQ(Window0()->geometry(), Window0()->screen()->geometry());
    EXPECT_FALSE(Window0()->menuBar()->isVisible());
    QTest::keyClick(view, Qt::Key_F11);
    EXPECT_FALSE(Window0()->fullScreen());
    EXPECT_TRUE(Window0()->menuBar()->isVisible());
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
    std::size_t differing = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            differing += saved.pixel(x, y) != composed->pixels[std::size_t(y * kWidth + x)];
    EXPECT_EQ(differing, 0u);
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
    view->setFocus();  // Tab stays with the view
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        std::int64_t index, value;
        bool cursor;
    };
    const Case cases[] = {{Qt::Key_Left, {}, 123, 8, true},
                          {Qt::Key_Tab, {}, 48, 9, false},
                          {Qt::Key_Backtab, Qt::ShiftModifier, 48, 20, false},
                          {Qt::Key_A, Qt::ShiftModifier, 0, 'A', false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        // Letters go as characters, so that they carry their text.
        if (c.key < 0x80)
            QTest::keyClick(view, char(c.key), c.mods);
        else
            QTest::keyClick(view, c.key, c.mods);
        ASSERT_EQ(KeyEventQueue.Count(), 1u);
        const t_Event e = KeyEventQueue.TakeFirst().value_or(t_Event{});
        EXPECT_EQ(e.Kind, 1);
        EXPECT_EQ(e.Window, 0);
        EXPECT_EQ(e.Index, c.index);
        EXPECT_EQ(e.Value, c.value);
        EXPECT_EQ(e.CursorKeyPressed && e.NumericPadPressed && e.FnPressed, c.cursor);
        EXPECT_EQ(e.ShiftPressed, c.mods == Qt::ShiftModifier);
        EXPECT_FALSE(KeyDown);  // the click released the key again
    }
    // The keypad with Control switches the output channel instead.
    QTest::keyClick(view, Qt::Key_8, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(WindowRecord(0).TextRedirectOutput, 2);
    QTest::keyClick(view, Qt::Key_7, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(WindowRecord(0).TextRedirectOutput, 0);

    QTest::keyPress(view, Qt::Key_Shift);
    EXPECT_TRUE(ShiftDown);
    QTest::keyPress(view, Qt::Key_Control, Qt::ShiftModifier);
    EXPECT_TRUE(ControlDown);
    QTest::keyRelease(view, Qt::Key_Control, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_FALSE(ControlDown);
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
