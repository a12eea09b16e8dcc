// The menus: the one handler of every item and its actions, the program's items, the file panels and the
// text windows.
#include "vxtools/menus.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "core/program.h"
#include "core/strings.h"
#include "display/refresh.h"
#include "menus/file_dialogs.h"
#include "menus/text_windows.h"
#include "support/toolkit_test.h"
#include "vxtools/desktop.h"
#include "vxtools/extensions.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;
using Lines = std::vector<std::string>;

std::atomic<int> programHandlerCalls{0};

// The path and the name a file action left in its record.
std::string FileOf(std::int64_t tag) {
    const t_MenuAction record =
        MenuActionTable.At(std::size_t(t_MenuActionIndex(tag))).value_or(t_MenuAction{});
    return record.FilePath + "|" + record.FileName;
}

}  // namespace

// Every item chosen posts its event, whether its action acts, refuses or belongs to the program. An
// action that cannot act logs why (when it has a reason to give) and beeps; the program's handler runs
// only for tag 0 and for tags without a record. The rows run in order, each on the state the earlier ones
// left: window 0 shows a 16 x 2 text screen with graphic characters (a copy replaces them), the printer
// and the console hold text.
TEST(MenuActions, EachCodeActsOrRefusesWithALineAndABeepAndTheEventIsPosted) {
    vx::HeadlessPlatform& platform = StartToolkit();
    platform.SetMainMenu({{"Ablage", {}}, {"Fenster", {}}});
    ProgramMenuHandler = [] { ++programHandlerCalls; };
    t_Window& w = OpenTextWindow(4, 128, 16);
    t_WindowVisible(0, true);
    const std::uint8_t line[] = {'A', 127, 140, 159, 160, ' ', 0xC4, 'z'};
    std::copy(std::begin(line), std::end(line), VideoMemory + w.TextMemoryStart);
    VideoMemory[w.TextMemoryStart + w.TextWidth] = 'B';
    const std::string printed = "Zeile 1\n\u00C4 \x8A";
    OnUserInterfaceThread([&] {
        platform.setTextViewText(platform.textView(9), printed);
        platform.setTextViewText(platform.textView(10), "Konsole");
    });
    OpenTextWindow(4, 64, 16, Font(), 7);  // a blank text screen
    VirtualPrinterBuffer.Append("alt");
    SystemConsoleBuffer.Append("alt");
    platform.SetPasteboardText("vorher");
    AppendMenuAction(0);  // a record with tag 0 never selects an action
    EXPECT_EQ(t_MenuActionIndex(0), -1);
    EXPECT_EQ(t_MenuActionIndex(4711), -1);  // no record
    MenuActionTable.Append({9001, 100, "Bild laden", "Welches?", "", "png,bmp", ""});
    MenuActionTable.Append({9002, 101, "Bild sichern", "Wohin?", "bild.png", "png", ""});
    TakeLogLines();

    int pastes = 0, programCalls = 0;
    std::size_t queuedAtPaste = 0;
    PasteHandler = [&] {
        queuedAtPaste = MenuEventQueue.Count();
        ++pastes;
    };
    auto program = [&] {  // waits for the handler's call, then a little longer for any stray call
        ++programCalls;
        for (int i = 0; i < 400 && programHandlerCalls < programCalls; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return programHandlerCalls == programCalls;
    };
    auto nothing = [] { return true; };
    auto pasteboard = [&](std::string text) {
        return [&, text] { return platform.PasteboardText() == text; };
    };
    auto visible = [&](int n, bool shown) {
        return [&, n, shown] { return platform.Window(n).visible == shown; };
    };
    const std::string copied = "A#-=\u02FD \u00C4z\rB";  // the text screen, graphic characters replaced
    const char* const kBeep = "";                        // a refusal without a line
    const char* const kNoConsole = "t_MenuEventHandler: System console window is nil, resource undefined.";
    // Each row: the tag, the main window when the item is chosen, the logged line of a refusal (null when
    // the action acts) and what the item must have done. Tag 4711 has no record. The preferences window (11)
    // has nothing to copy and nowhere to paste. The third 9001 is cancelled. With window 0 still on screen,
    // 206 hides the main window; when 201 hides the last window on screen, the main window takes its place,
    // keeping the menus within reach, and alone on screen it stays. From 111 on window 10 the text views are
    // missing, and the windows themselves no longer come and go without them.
    // clang-format off
    const std::tuple<std::int64_t, int, const char*, std::function<bool()>> cases[] = {
        {0, 0, nullptr, program}, {4711, 0, nullptr, program}, {231, 0, nullptr, nothing},
        {110, 11, kBeep, pasteboard("vorher")}, {111, 11, kBeep, pasteboard("vorher")},
        {113, 11, kBeep, [&] { return pastes == 0; }},
        {111, 0, nullptr, pasteboard(copied)}, {111, 8, kBeep, pasteboard(copied)},
        {111, 7, nullptr, pasteboard("")},
        {110, 0, nullptr, [&] { return platform.PasteboardImage()->pixels == WindowPicture(0)->pixels; }},
        {113, 0, nullptr, [&] { return pastes == 1 && queuedAtPaste == MenuEventQueue.Count() - 1; }},
        {113, 7, nullptr, [&] { return pastes == 2; }}, {113, 8, kBeep, [&] { return pastes == 2; }},
        {111, 9, nullptr, pasteboard(printed)},
        {112, 9, nullptr, [&] { return platform.TextView(9).text == "" && VirtualPrinterBuffer.Empty(); }},
        {114, 9, nullptr, [&] { return platform.TextView(10).text == "" && SystemConsoleBuffer.Empty(); }},
        {9001, 0, nullptr, [] { return FileOf(9001) == "/tmp/\u00C4pfel rot.png|\u00C4pfel rot.png"; }},
        {9002, 0, nullptr, [] { return FileOf(9002) == "/tmp/x.png|x.png"; }},
        {9001, 0, nullptr, [] { return FileOf(9001) == "|"; }},
        {211, 0, nullptr, [&] { return platform.Window(8).visible && platform.TextView(8).text == printed; }},
        {212, 0, nullptr, visible(8, false)}, {229, 0, nullptr, visible(10, true)},
        {201, 10, nullptr, [&] { return !platform.Window(10).visible && platform.Window(0).visible; }},
        {230, 0, nullptr, visible(10, false)}, {214, 0, nullptr, visible(0, false)},
        {213, 0, nullptr, [&] { return platform.Window(0).key && WindowTable[0].Visible; }},
        {205, 0, nullptr, visible(12, true)}, {206, 0, nullptr, visible(12, false)},
        {201, 0, nullptr, [&] { return !platform.Window(0).visible && platform.Window(12).visible; }},
        {206, 0, nullptr, visible(12, true)}, {209, 0, nullptr, visible(9, true)},
        {226, 0, "t_MenuEventHandler: Window #6 not initialized.", nothing},
        {200, 0, nullptr, [&] { return !platform.Window(9).visible && platform.Window(12).visible &&
                                       platform.Window(12).key; }},
        {111, 10, kNoConsole, pasteboard(printed)},
        {112, 0, "t_MenuEventHandler: Virtual printer window is nil, resource undefined.", nothing},
        {210, 0, "t_WindowVisible: Virtual printer window is nil, resource undefined.", nothing}};
    // clang-format on
    platform.QueueOpenPanelAnswer({"file:///tmp/A%CC%88pfel%20rot.png"});
    platform.QueueSavePanelAnswer("file:///tmp/x.png");
    int index = -1;
    for (const auto& [tag, front, refusal, effect] : cases) {
        SCOPED_TRACE("tag " + std::to_string(tag) + ", front window " + std::to_string(front));
        if (++index == int(std::size(cases)) - 3)
            for (int n : {9, 10}) platform.RemoveTextView(n);
        platform.SetMainWindow(front);
        const int beeps = platform.BeepCount();
        ASSERT_TRUE(vx::AddMenuItem("Test", "Item " + std::to_string(index), tag, "\u00FC"));
        t_MenuEventHandler(platform.MenuItem("Test", index));
        EXPECT_EQ(std::tuple(MenuEventQueue.Count(), MenuEventQueue.Last().value_or(t_MenuEvent{}).ItemAction,
                             platform.BeepCount() - beeps),
                  std::tuple(std::size_t(index) + 1, tag, refusal ? 1 : 0));
        EXPECT_EQ(TakeLogLines(), refusal && *refusal ? Lines{refusal} : Lines{});
        EXPECT_TRUE(effect());
    }
    // The panels ask with the record's texts and the German defaults.
    const vx::OpenPanelRequest o = platform.OpenPanelRequests().at(0);
    const vx::SavePanelRequest s = platform.SavePanelRequests().at(0);
    EXPECT_EQ((Lines{o.buttonText, o.title, o.message, s.buttonText, s.nameFieldLabel, s.title,
                     s.proposedName, s.message}),
              (Lines{"Öffnen", "Bild laden", "Welches?", "Sichern", "Sichern unter:", "Bild sichern",
                     "bild.png", "Wohin?"}));
    EXPECT_EQ(std::pair(o.fileTypes, s.fileTypes), std::pair(Lines{"png", "bmp"}, Lines{"png"}));

    // The event carries the code point of the item's key and the key's modifiers.
    const t_MenuEvent last = MenuEventQueue.Last().value_or(t_MenuEvent{});
    EXPECT_EQ(last.MenuTitle + "|" + last.ItemTitle + "|" + last.ItemKeyChar,
              "Test|Item " + std::to_string(std::size(cases) - 1) + "|\u00FC");
    EXPECT_EQ(std::tuple(last.Kind, last.ItemKeyAsc, last.ItemKeyMods, last.Time > 0),
              std::tuple(3, 0xFC, vx::kControlFlag, true));
    // An item in no menu gives an empty event, whatever its tag, and the program's handler runs.
    t_MenuEventHandler(platform.OrphanMenuItem(205));
    EXPECT_TRUE(MenuEventQueue.Last()->Kind == 0 && MenuEventQueue.Last()->ItemAction == 0 && program());
}

// Every show and hide code names its own window. Each row starts with every window in the state that the
// code changes away from (while showing, one other window stays on screen, so that the main window does
// not step in), and only the named window may change; codes without an action change nothing.
TEST(MenuActions, EachShowAndHideCodeNamesItsOwnWindow) {
    vx::HeadlessPlatform& platform = StartToolkit();
    for (std::uint8_t n = 0; n < 8; ++n) OpenWindow(n, 1, 32, 32);
    // From 205 to 230 a code shows and the next hides the window of its pair; the others name none.
    const int windows[] = {12, 11, 9, 8, 0, 1, 2, 3, 4, 5, 6, 7, 10};
    for (std::int64_t tag = 202; tag <= 231; ++tag) {
        const bool paired = tag >= 205 && tag <= 230, show = paired && tag % 2 == 1;
        const int window = paired ? windows[(tag - 205) / 2] : -1;
        const int witness = window == 0 ? 1 : 0;
        std::string expected, shown;
        for (int k = 0; k <= 12; ++k) {
            t_WindowVisible(std::uint8_t(k), !show || k == witness);
            expected += (k == window ? show : !show || k == witness) ? '1' : '0';
        }
        ASSERT_TRUE(vx::AddMenuItem("Test", "Item " + std::to_string(tag), tag));
        t_MenuEventHandler(platform.MenuItem("Test", int(tag - 202)));
        for (int k = 0; k <= 12; ++k) shown += platform.Window(k).visible ? '1' : '0';
        EXPECT_EQ(shown, expected) << "tag " << tag;
    }
}

// Called from the program's thread, a panel runs on the user-interface thread while the caller waits.
// What the program changes in a file action's record while the panel is open stands; the panel's
// answer goes into FilePath and FileName alone.
TEST(FilePanels, FileActionsWriteOnlyPathAndNameThePanelsHandBackTheFirstPathAndRefuseSpecialFiles) {
    vx::HeadlessPlatform& platform = StartToolkit();
    platform.SetMainMenu({{"Ablage", {}}});
    MenuActionTable.Append({9101, 101, "Sichern", "Wohin?", "bild.png", "png", ""});
    ASSERT_TRUE(vx::AddMenuItem("Ablage", "Sichern", 9101));
    const std::size_t index = std::size_t(t_MenuActionIndex(9101));
    platform.WhilePanelOpen([index] {
        MenuActionTable.Replace(index, {9101, 101, "Neu", "Anders?", "neu.png", "png,gif", "alt"});
    });
    platform.QueueSavePanelAnswer("file:///tmp/x.png");
    t_MenuEventHandler(platform.MenuItem("Ablage", 0));
    const t_MenuAction record = MenuActionTable.At(index).value_or(t_MenuAction{});
    EXPECT_EQ((Lines{record.Title, record.Note, record.FileName, record.FileTypes, record.FilePath}),
              (Lines{"Neu", "Anders?", "x.png", "png,gif", "/tmp/x.png"}));

    // The first path comes back, with the button the program named, and the types split as given.
    platform.QueueOpenPanelAnswer({"file:///a/x%20y.txt", "file:///a/z.txt"});
    ChoosePromptText = "Ordner nehmen";
    std::string opened = "unset";
    std::thread([&] {
        opened = t_OpenDialog("", "", ",png, bmp,", true, false);
        t_OpenDialog("", "", "", false, true);
    }).join();
    EXPECT_EQ(opened, "/a/x y.txt");
    const std::vector<vx::OpenPanelRequest> open = platform.OpenPanelRequests();
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[0].fileTypes, (Lines{"", "png", " bmp", ""}));                     // nothing trimmed
    EXPECT_TRUE(open[1].buttonText == "Ordner nehmen" && open[1].fileTypes.empty());  // every type allowed

    // What a program would open or write and wait on for ever (a FIFO, also behind a link) or never finish
    // (a device) is not handed back: each refusal has its line and a beep; files, folders and new names pass.
    const std::string dir = ::testing::TempDir() + "panels-" + std::to_string(::getpid());
    const std::string fifo = dir + "/fifo", file = dir + "/file.png", link = dir + "/link.png",
                      socket = dir + "/socket";
    ASSERT_TRUE(::mkdir(dir.c_str(), 0700) == 0 && ::mkfifo(fifo.c_str(), 0600) == 0 &&
                ::symlink(fifo.c_str(), link.c_str()) == 0 && BindSocket(socket));
    std::fclose(std::fopen(file.c_str(), "w"));
    const auto url = [](const std::string& path) { return "file://" + path; };
    TakeLogLines();
    const int beeps = platform.BeepCount();

    platform.QueueOpenPanelAnswer({url(fifo), url(file), url(dir), url(dir + "/new.png"), url("/dev/zero")});
    EXPECT_EQ(OpenPanel("", "", "", true, true, true), (Lines{file, dir, dir + "/new.png"}));
    platform.QueueOpenPanelAnswer({url(link)});
    EXPECT_EQ(t_OpenDialog("", "", "", true, false), "");
    for (const std::string& path : {fifo, link, socket, file, dir + "/new.png"}) {
        platform.QueueSavePanelAnswer(url(path));
        EXPECT_EQ(SavePanel("", "", "", ""), path == file || path == dir + "/new.png" ? path : "");
    }
    const std::string kOpen = "OpenPanel: Not a regular file, refused: ",
                      kSave = "SavePanel: Not a regular file, refused: ";
    EXPECT_EQ(TakeLogLines(), (Lines{kOpen + fifo, kOpen + "/dev/zero", kOpen + link, kSave + fifo,
                                     kSave + link, kSave + socket}));
    EXPECT_EQ(platform.BeepCount() - beeps, 6);
    for (const std::string& path : {link, fifo, file, socket}) std::remove(path.c_str());
    ::rmdir(dir.c_str());
}

// Escapes of either case are decoded and the path composed, Hangul by rule up to the last syllable and
// not beyond the ranges of its parts; bytes that are no UTF-8 (an encoded surrogate) stay as they are. The
// Hangul rows: the last leading, vowel and trailing jamo; just below the trailing jamo; just past the
// leading jamo, the vowels and the trailing jamo.
TEST(FilePanels, PathsDecodeEscapesOfEitherCaseAndComposeHangulWithinItsRanges) {
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"file:///a/%c3%a4%C3%A4", "/a/\u00E4\u00E4"}, {"file:///a/A%cc%88", "/a/\u00C4"},
        {"file:///%e1%84%92%e1%85%b5%e1%87%82", "/\uD7A3"}, {"file:///%e1%84%93%e1%85%a1", "/\u1113\u1161"},
        {"file:///%e1%84%80%e1%85%a1%e1%86%a7", "/\uAC00\u11A7"}, {"file:///%ed%a0%80", "/\xED\xA0\x80"},
        {"file:///%e1%84%80%e1%85%b6", "/\u1100\u1176"}, {"file:///%ea%b0%80%e1%87%83", "/\uAC00\u11C3"},
        {"file:///a%2fb%2Fc%39", "/a/b/c9"}, {"file:///a%2", "/a%2"}, {"file:///a%zz", "/a%zz"},
        {"file://", ""}, {"/x%20y", "/x y"}};
    // clang-format on
    for (const auto& [url, path] : cases) EXPECT_EQ(vx::PathFromFileUrl(url), path) << url;
}

// Codes 127 to 160 have pasteboard stand-ins, their neighbours pass as they are, and bytes that are no
// character (an encoded surrogate) become replacement characters.
TEST(PasteboardText, ReplacesEachCodeFrom127To160AndKeepsTheOthers) {
    std::string text;
    for (char32_t c = 126; c <= 161; ++c) vx::AppendUtf8(text, c);
    EXPECT_EQ(PasteboardText(text + "\xED\xA0\x80"),
              "~#*#<=>O++++||--++++++++++++--||+=\u02FD\u00A1\uFFFD\uFFFD\uFFFD");
}

// Positions count from 0 and 65535 stands for the last item.
TEST(MenuItems, FindReadAndDeleteByPositionAndStayInsideTheMenuAndStartUpRemovesTheSystemsEditItems) {
    vx::HeadlessPlatform& platform = StartToolkit();
    platform.SetMainMenu(
        {{"Ablage",
          {{"Öffnen …", 100, "o", 0}, {"", 0, "", 0}, {"Sichern", 101, "s", 0}, {"Öffnen …", 102, "", 0}}},
         {"Leer", {}},
         {"Eins", {{"Nur", 7, "", 0}}}});
    // Two items share the title: the lower wins.
    EXPECT_EQ((std::tuple{t_MenuItemIndex("Ablage", "Öffnen …"), t_MenuItemIndex("Ablage", "Drucken"),
                          t_MenuItemIndex("Hilfe", "x")}),
              std::tuple(0, -1, -2));
    EXPECT_EQ(t_MenuItemTitle("Ablage", 65535), "Öffnen …");
    for (std::int64_t position : {4, -1}) EXPECT_EQ(t_MenuItemTitle("Ablage", position), "");
    EXPECT_EQ(t_MenuItemTitle("Leer", 65535), "");
    EXPECT_EQ(t_MenuItemTitle("Eins", 65535), "Nur");
    t_MenuItemDelete("Eins", 65535);
    EXPECT_TRUE(platform.MainMenu()[2].items.empty());
    EXPECT_EQ(t_MenuItemTitle("Hilfe", 0), "");
    t_MenuItemDelete("Leer", 65535);  // empty menu: nothing to remove
    t_MenuItemDelete("Ablage", 65535);
    t_MenuItemDelete("Ablage", 0);
    for (std::int64_t position : {2, -1}) t_MenuItemDelete("Ablage", position);  // two items are left
    t_MenuItemDelete("Hilfe", 0);
    const std::vector<vx::HeadlessMenuItem> items = platform.MainMenu()[0].items;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].title + "|" + items[1].title, "|Sichern");
    EXPECT_FALSE(vx::AddMenuItem("Ablage", "", 7));
    EXPECT_TRUE(vx::RemoveMenuItem("Ablage", "Sichern"));
    EXPECT_FALSE(vx::RemoveMenuItem("Ablage", "Sichern"));
    EXPECT_EQ(platform.MainMenu()[0].items.size(), 1u);
    const std::string kTitleRange = "t_MenuItemTitle: Item position out of range",
                      kDeleteRange = "t_MenuItemDelete: Item position out of range";
    EXPECT_EQ(TakeLogLines(),
              (Lines{"t_MenuItemIndex: Menu not found.", kTitleRange, kTitleRange, kTitleRange,
                     "t_MenuItemTitle: Menu not found.", kDeleteRange, kDeleteRange, kDeleteRange,
                     "t_MenuItemDelete: Menu not found.", "AddMenuItem: Menu and item need a title."}));

    // At start-up the system's edit items go wherever they stand, the first place included.
    platform.SetMainMenu({{"Edit", {{"Special Characters…", 0, "", 0}, {"Undo", 0, "z", 0}}}});
    t_InitMemory();
    EXPECT_TRUE(platform.MainMenu()[0].items.size() == 1 && platform.MainMenu()[0].items[0].title == "Undo");
}

// Hiding a window while none is on screen changes nothing. A text window's scroll view (and ruler) follow its
// size, for the window named or else the main window; other windows are left alone.
TEST(TextWindows, ViewsFitOnlyPrinterAndConsoleTakeTextAndTheClipboardReadsBack) {
    vx::HeadlessPlatform& platform = StartToolkit();
    t_WindowVisible(12, false);  // nothing was on screen: nothing changes
    EXPECT_FALSE(platform.Window(12).visible);

    TitleBarHeight = 22;
    for (int n : {0, 8, 9}) platform.SetWindowFrame(n, vx::Rect{0, 0, 600, 400});
    platform.SetWindowFrame(10, vx::Rect{0, 0, 500, 300});
    platform.SetMainWindow(10);
    OnUserInterfaceThread([] {
        for (std::uint8_t n : {0, 8, 9}) LayoutTextWindow(PlatformWindow(n));
        LayoutTextWindow();
    });
    const auto view = [&](int n) { return platform.TextView(n); };
    EXPECT_EQ((std::vector{view(8).scrollFrame, view(9).scrollFrame, view(10).scrollFrame}),
              (std::vector<vx::Rect>{{10, 10, 580, 358}, {20, 20, 560, 323}, {20, 20, 460, 223}}));
    EXPECT_EQ(std::tuple(view(9).rulerFrame.width, view(9).rulerFrame.height, view(10).rulerFrame.width),
              std::tuple(552, 19, 452));

    // A program writes into the printer (9) and the console (10) and their rulers; every other number, and a
    // text window the interface lacks, is refused with the call's own line.
    OnUserInterfaceThread([&] { platform.setTextViewText(platform.textView(9), "alt "); });
    for (auto [n, text] : {std::pair{9, "Zeile 1\n"}, {9, "\u00C4"}, {10, "Konsole"}})
        vx::AppendText(std::uint8_t(n), text);
    vx::SetRulerText(10, "a\nb\rc");
    EXPECT_EQ((Lines{platform.TextView(9).text, vx::WindowText(10), platform.TextView(10).rulerText,
                     vx::RulerText(10), vx::RulerText(9)}),
              (Lines{"alt Zeile 1\n\u00C4", "Konsole", "a b c", "a b c", ""}));
    // The clear calls empty the views only; the program's buffers are emptied by the menu's clear actions.
    VirtualPrinterBuffer.Append("Zeile");
    SystemConsoleBuffer.Append("Zeile");
    const std::size_t buffered = VirtualPrinterBuffer.Count() + SystemConsoleBuffer.Count();
    ClearVirtualPrinterText();
    ClearSystemConsoleText();
    EXPECT_TRUE(platform.TextView(9).text + platform.TextView(10).text == "" &&
                VirtualPrinterBuffer.Count() + SystemConsoleBuffer.Count() == buffered);
    TakeLogLines();

    vx::AppendText(8, "x");
    EXPECT_EQ(vx::WindowText(11), "");
    vx::SetRulerText(0, "x");
    EXPECT_EQ(vx::RulerText(255), "");
    platform.RemoveTextView(10);
    vx::AppendText(10, "x");
    vx::SetRulerText(10, "x");
    const std::string kNeither = " is neither the virtual printer (9) nor the system console (10).",
                      kNil = ": System console window is nil, resource undefined.";
    EXPECT_EQ(TakeLogLines(),
              (Lines{"vx::AppendText: Window #8" + kNeither, "vx::WindowText: Window #11" + kNeither,
                     "vx::SetRulerText: Window #0" + kNeither, "vx::RulerText: Window #255" + kNeither,
                     "vx::AppendText" + kNil, "vx::SetRulerText" + kNil}));
    EXPECT_EQ(platform.TextView(10).rulerText, "a b c");

    // Copying a picture replaces the text on the clipboard and the other way round; what is there is read
    // back as it was put there. A window without a picture is refused and leaves the clipboard alone.
    OpenShown(1, 32, false, 64, 32);
    vx::SetRGBColor(1, 255, 0, 0);
    g_Plot(1, 3, 1);
    platform.SetPasteboardText("vorher");
    ASSERT_TRUE(vx::CopyPicture(1));
    const std::optional<vx::ClipboardPicture> picture = vx::ClipboardImage();
    ASSERT_TRUE(picture.has_value() && picture->pixels.size() == 64u * 32u);
    EXPECT_EQ(
        std::tuple(picture->width, picture->height, picture->pixels[64 + 3], vx::ClipboardText().has_value()),
        std::tuple(64, 32, 0xFFFF0000u, false));
    EXPECT_NE(picture->pixels[3 * 64 + 1], 0xFFFF0000u);

    vx::CopyText("Zeile\rzwei");
    EXPECT_TRUE(vx::ClipboardText().value_or("-") == "Zeile\rzwei" && !vx::ClipboardImage().has_value());
    TakeLogLines();
    t_WindowVisible(1, false);
    EXPECT_FALSE(vx::CopyPicture(1) || vx::CopyPicture(5) || vx::CopyPicture(8));
    EXPECT_EQ(TakeLogLines(), (Lines{"vx::CopyPicture: Window #1 has no picture to copy.",
                                     "vx::CopyPicture: Window #5 has no picture to copy.",
                                     "vx::CopyPicture: Window is not a graphic window."}));
    EXPECT_EQ(vx::ClipboardText().value_or("-"), "Zeile\rzwei");
}
