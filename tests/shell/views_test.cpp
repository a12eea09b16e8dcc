#include "shell/views.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QTest>

#include "core/clock.h"
#include "core/log.h"
#include "display/geometry.h"
#include "display/window.h"
#include "display/window_init.h"
#include "graphics/pixels.h"
#include "input/events.h"
#include "input/key_input.h"
#include "menus/text_windows.h"
#include "qt_test_support.h"
#include "shell/interface.h"
#include "shell/qt_platform.h"

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

TEST(ViewKeys, LettersAndEscapeReachTheKeyQueue) {
    GraphicView* view = StartWithWindow0();
    QTest::keyClick(view, Qt::Key_A);
    t_Event a = TakeOnlyEvent();
    EXPECT_EQ(a.Kind, 1);
    EXPECT_EQ(a.Index, 0);
    EXPECT_EQ(a.Description, "a");
    EXPECT_EQ(a.Value, 97);
    EXPECT_EQ(a.Window, 0);
    EXPECT_FALSE(KeyDown);  // the click released the key again

    QTest::keyClick(view, 'A', Qt::ShiftModifier);
    t_Event shifted = TakeOnlyEvent();
    EXPECT_EQ(shifted.Value, 'A');
    EXPECT_TRUE(shifted.ShiftPressed);

    QTest::keyClick(view, Qt::Key_Escape);
    t_Event escape = TakeOnlyEvent();
    EXPECT_EQ(escape.Index, 53);
    EXPECT_EQ(escape.Value, 27);
}

TEST(ViewKeys, ArrowsFunctionKeysAndDeletionKeysGetTheirCodes) {
    GraphicView* view = StartWithWindow0();
    QTest::keyClick(view, Qt::Key_Left);
    t_Event left = TakeOnlyEvent();
    EXPECT_EQ(left.Index, 123);
    EXPECT_EQ(left.Description, "\uF702");
    EXPECT_EQ(left.Value, 8);
    EXPECT_TRUE(left.CursorKeyPressed);
    EXPECT_TRUE(left.NumericPadPressed);
    EXPECT_TRUE(left.FnPressed);

    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(TakeOnlyEvent().Value, 11);

    QTest::keyClick(view, Qt::Key_F1);
    t_Event f1 = TakeOnlyEvent();
    EXPECT_EQ(f1.Index, 122);
    EXPECT_EQ(f1.Description, "\uF704");
    EXPECT_EQ(f1.Value, 129);
    EXPECT_TRUE(f1.FunctionKeyPressed);
    QTest::keyClick(view, Qt::Key_F12);
    EXPECT_EQ(TakeOnlyEvent().Value, 140);

    QTest::keyClick(view, Qt::Key_Backspace);
    t_Event backspace = TakeOnlyEvent();
    EXPECT_EQ(backspace.Index, 51);
    EXPECT_EQ(backspace.Description, "\x7f");
    EXPECT_EQ(backspace.Value, 127);

    QTest::keyClick(view, Qt::Key_Delete);
    t_Event forward = TakeOnlyEvent();
    EXPECT_EQ(forward.Index, 117);
    EXPECT_EQ(forward.Description, "\uF728");
    EXPECT_EQ(forward.Value, 7);
}

TEST(ViewKeys, TabStaysWithTheView) {
    GraphicView* view = StartWithWindow0();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Tab);
    EXPECT_EQ(TakeOnlyEvent().Value, 9);
    QTest::keyClick(view, Qt::Key_Backtab, Qt::ShiftModifier);
    t_Event backtab = TakeOnlyEvent();
    EXPECT_EQ(backtab.Index, 48);
    EXPECT_EQ(backtab.Description, "\x19");
    EXPECT_EQ(backtab.Value, 20);
}

TEST(ViewKeys, KeypadWithControlSwitchesTheOutputChannel) {
    GraphicView* view = StartWithWindow0();
    QTest::keyClick(view, Qt::Key_8, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(KeyEventQueue.Count(), 0u);
    EXPECT_EQ(WindowRecord(0).TextRedirectOutput, 2);
    QTest::keyClick(view, Qt::Key_7, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(WindowRecord(0).TextRedirectOutput, 0);

    QTest::keyClick(view, Qt::Key_8, Qt::KeypadModifier);
    t_Event eight = TakeOnlyEvent();
    EXPECT_EQ(eight.Index, 91);
    EXPECT_EQ(eight.Value, '8');
    EXPECT_TRUE(eight.NumericPadPressed);
    QTest::keyClick(view, Qt::Key_Enter, Qt::KeypadModifier);
    t_Event enter = TakeOnlyEvent();
    EXPECT_EQ(enter.Index, 76);
    EXPECT_EQ(enter.Description, "\x03");
    EXPECT_EQ(enter.Value, 13);
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
