// A program that sees nothing but the public header: every name a program may use must be reachable
// (and link) through it. Running it checks a few values; building it is the real test.
#include <vxtools/vxtools.h>

// The toolkit's inside is not on a program's include path.
#if __has_include("core/platform.h") || __has_include("display/window.h") || \
                                                      __has_include("headless/headless_platform.h")
#error "the toolkit's private headers are reachable from a program"
#endif

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

template <class... T>
std::size_t Count(const T&... names) {
    // Each name is taken by reference, so every function and variable must exist and link.
    return (0 + ... + (&names != nullptr));
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t functions = Count(
        // windows and video memory
        t_InitWindow, t_InitMemory, EnsureMemory, t_WindowPos, t_WindowSize, t_WindowTitle,
        t_WindowTitleVisible, t_WindowCenter, t_WindowFront, t_WindowVisible, t_WindowUpdate, t_WindowImage,
        t_ColorBorder,
        // drawing
        t_Color, t_PaletteColor, g_Plot, g_Scrn, g_Line, g_LineTo, g_ClearScreen, t_FullArea,
        // text
        t_Print, t_PrintChar, t_PrintTab, t_PrintControl, t_PrintSymbol, t_Htab, t_Cr, t_CursorUp,
        t_CursorDown, t_CursorLeft, t_CursorRight, t_CursorHome, t_CursorEnd, t_ClearEndOfLine,
        t_ClearEndOfWindow, t_ScrollUp, t_ScrollDown, t_DisplayMode, t_Normal, t_Inverse, t_Reverse,
        t_RedirectOutput, t_GetScreen,
        // events, keys and mouse
        t_NextKeyEvent, t_WindowNumber, t_FrontWindowNumber, t_EventMouse, t_EventMenu,
        // menus, panels and the text windows
        t_MenuItemIndex, t_MenuItemDelete, t_MenuItemTitle, t_MenuActionIndex, AppendMenuAction,
        t_MenuEventHandler, PasteboardText, t_OpenDialog, t_SaveDialog, OpenPanel, SavePanel, SystemBeep,
        ClearVirtualPrinterText, ClearSystemConsoleText, vx::AddMenuItem, vx::RemoveMenuItem,
        // the program and the application
        startprocess, RunInBackground, t_QuitProgram, initvxtools, HexString, DecodeBytes,
        static_cast<int (*)(int, char**, std::function<void()>)>(vx::RunApplication),
        // additions for programs of your own
        static_cast<int (*)(int, char**, std::function<void()>, const std::string&)>(vx::RunApplication),
        vx::QuitApplication, vx::RequestedExitStatus, vx::ReadyFont, vx::Pointer, vx::SetRGBColor,
        vx::SetLogLevel, vx::CurrentLogLevel, vx::LogLevelFromText, vx::SetDrawMode, vx::DrawRect,
        vx::FillRect, vx::Circle, vx::FillCircle, vx::Ellipse, vx::FillEllipse, vx::FloodFill, vx::CopyRect,
        vx::LoadPicture);
    const std::size_t variables =
        Count(VideoMemory, HighMemory, WindowTable, MemoryInitialised, FirstWindow, TitleBarHeight,
              LaunchFinished, ApplicationActive, ToolkitInitialised, TerminationHandler, UpperCaseTable,
              LowerCaseTable, KeyEventQueue, MouseEventQueue, MenuEventQueue, KeyEvent, KeyEventAvailable,
              MouseEventAvailable, MenuEventAvailable, ProgramMouseHandler, ProgramMenuHandler, KeyDown,
              CapsLockDown, ShiftDown, ControlDown, OptionDown, CommandDown, FunctionDown, LeftButtonDown,
              RightButtonDown, MenuActionTable, OpenPromptText, ChoosePromptText, SysbeepSound, PasteHandler,
              VirtualPrinterBuffer, SystemConsoleBuffer);

    // The records and the values a program fills in.
    t_MenuAction save{9002, 101, "Bild sichern", "Wohin?", "bild.png", "png", ""};
    MenuActionTable.Append(save);
    t_MenuEvent menuEvent;
    t_Event event;
    t_Font font;
    const bool ok = t_MenuActionIndex(9002) == 0 && menuEvent.Kind == 0 && event.Kind == 0 &&
                    font.Data.empty() && std::string(OpenPromptText) == "Öffnen" &&
                    vx::kShiftFlag == 0x20000 && vx::Colour::SkyBlue == 7;
    if (argc > 1 && std::strcmp(argv[1], "--verbose") == 0)
        std::printf("%zu functions, %zu variables\n", functions, variables);
    return ok ? 0 : 1;
}
