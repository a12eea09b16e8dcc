#include "shell/views.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QTest>

#include "core/log.h"
#include "display/window.h"
#include "display/window_init.h"
#include "input/events.h"
#include "input/key_input.h"
#include "menus/text_windows.h"
#include "qt_test_support.h"
#include "shell/interface.h"
#include "shell/qt_platform.h"
#include "vxtools/core.h"
#include "vxtools/display.h"
#include "vxtools/graphics.h"

namespace {

using vx::shell::GraphicView;

GraphicView* ViewOf(int n) {
    return vxtest::StartQt().interface().views[std::size_t(n)];
}

// Window 0 set up as a small 4-bit display and shown, the key queue empty.
GraphicView* StartWithWindow0() {
    vxtest::StartQt();
    vxtest::OffUserInterfaceThread([] {
        t_InitWindow(0, 4, false, 64, 64, 0, 0, t_Font{}, true);
        t_WindowFront(0);
        // The refresh process logs its first line on its own thread; it must not land in a test's log.
        for (int i = 0; i < 5000; ++i) {
            if (std::string(vx::CapturedLog()).find("t_WindowAutoUpdateProcess: Start.") != std::string::npos)
                break;
            vx::SleepNanoseconds(1'000'000);
        }
    });
    KeyEventQueue.Clear();
    vxtest::TakeLog();
    return ViewOf(0);
}

t_Event TakeOnlyEvent() {
    EXPECT_EQ(KeyEventQueue.Count(), 1u);
    std::optional<t_Event> event = KeyEventQueue.TakeFirst();
    KeyEventQueue.Clear();
    return event ? *event : t_Event{};
}

}  // namespace

TEST(ViewKeys, KeysReachTheKeyQueueWithTheirCodesAndFlags) {
    GraphicView* view = StartWithWindow0();
    view->setFocus();  // Tab stays with the view
    enum { kCursor = 1, kPad = 2, kFn = 4, kFunction = 8 };
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        std::int64_t index;  // -1: not checked
        const char* description;
        std::int64_t value;
        int flags;
    };
    // clang-format off
    const Case cases[] = {
        {Qt::Key_A, {}, 0, "a", 97, 0}, {Qt::Key_Escape, {}, 53, nullptr, 27, 0},
        {Qt::Key_Left, {}, 123, "\uF702", 8, kCursor | kPad | kFn}, {Qt::Key_Up, {}, -1, nullptr, 11, 0},
        {Qt::Key_F1, {}, 122, "\uF704", 129, kFunction}, {Qt::Key_F12, {}, -1, nullptr, 140, 0},
        {Qt::Key_Backspace, {}, 51, "\x7f", 127, 0}, {Qt::Key_Delete, {}, 117, "\uF728", 7, 0},
        {Qt::Key_Tab, {}, -1, nullptr, 9, 0}, {Qt::Key_Backtab, Qt::ShiftModifier, 48, "\x19", 20, 0},
        {Qt::Key_8, Qt::KeypadModifier, 91, nullptr, '8', kPad},
        {Qt::Key_Enter, Qt::KeypadModifier, 76, "\x03", 13, 0}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        QTest::keyClick(view, c.key, c.mods);
        const t_Event e = TakeOnlyEvent();
        EXPECT_EQ(e.Kind, 1);
        EXPECT_EQ(e.Window, 0);
        EXPECT_TRUE(c.index < 0 || e.Index == c.index) << e.Index;
        EXPECT_TRUE(!c.description || e.Description == c.description) << e.Description;
        EXPECT_EQ(e.Value, c.value);
        EXPECT_TRUE(!(c.flags & kCursor) || e.CursorKeyPressed);
        EXPECT_TRUE(!(c.flags & kPad) || e.NumericPadPressed);
        EXPECT_TRUE(!(c.flags & kFn) || e.FnPressed);
        EXPECT_TRUE(!(c.flags & kFunction) || e.FunctionKeyPressed);
        EXPECT_FALSE(KeyDown);  // the click released the key again
    }
    QTest::keyClick(view, 'A', Qt::ShiftModifier);
    t_Event shifted = TakeOnlyEvent();
    EXPECT_EQ(shifted.Value, 'A');
    EXPECT_TRUE(shifted.ShiftPressed);

    // The keypad with Control switches the output channel instead.
    QTest::keyClick(view, Qt::Key_8, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(KeyEventQueue.Count(), 0u);
    EXPECT_EQ(WindowRecord(0).TextRedirectOutput, 2);
    QTest::keyClick(view, Qt::Key_7, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(WindowRecord(0).TextRedirectOutput, 0);
}

TEST(ViewKeys, ModifierKeysChangeStatesWithoutPostingKeys) {
    GraphicView* view = StartWithWindow0();
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
    EXPECT_FALSE(KeyDown);
}

TEST(ViewPainting, UninitialisedWindowDrawsNothingAndLogsItsLine) {
    StartWithWindow0();
    GraphicView* view = ViewOf(3);
    const QPixmap shot = view->grab();
    EXPECT_EQ(view->lastImage(), nullptr);
    EXPECT_EQ(vxtest::TakeLog(),
              (std::vector<std::string>{"t_WindowImage: Graphic window #3 not initialized."}));
    EXPECT_FALSE(shot.isNull());
}

TEST(ViewPainting, HiddenWindowComposesNothingAndKeepsItsPicture) {
    GraphicView* view = StartWithWindow0();
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

TEST(ViewPainting, ImageIsStretchedOverTheViewWithoutSmoothing) {
    GraphicView* view = StartWithWindow0();
    vxtest::OffUserInterfaceThread([] {
        t_Color(0, 15);
        g_Plot(0, 0, 0);
        g_Plot(0, 63, 63);
        // Twice the size: every pixel becomes a 2 x 2 block.
        t_WindowSize(0, -1, -1, 128, 128);
    });
    ASSERT_EQ(view->size(), QSize(128, 128));
    const QImage shot = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(shot.pixel(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(shot.pixel(2, 0), 0xFF000000u);
    EXPECT_EQ(shot.pixel(0, 2), 0xFF000000u);
    EXPECT_EQ(shot.pixel(126, 126), 0xFFFFFFFFu);
    EXPECT_EQ(shot.pixel(125, 126), 0xFF000000u);
}
