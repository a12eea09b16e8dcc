#include "textfenster.h"

#include <string>

namespace textfenster {

namespace {

constexpr std::int64_t kEscape = 27;

// Without a console font the demonstration still runs, with plain boxes for glyphs.
t_Font BoxFont() {
    return vx::BuildFont(8, 16, [](int code, int x, int row) -> std::uint8_t {
        const bool edge = row == 3 || row == 12 || x == 1 || x == 6;
        return code >= 33 && row >= 3 && row < 13 && x >= 1 && x < 7 && edge ? 255 : 0;
    });
}

void Pause(int milliseconds) {
    vx::SleepNanoseconds(std::int64_t(milliseconds) * 1'000'000);
}

void ShowColours() {
    t_Print(kWindow,
            "\x0C\x1BO\x1BP Textfenster \x1B@\x1BP  \xE2\x80\x94  Farben, Modi, Escape-Befehle, Rollen\r\r");
    const char* names[] = {"Schwarz",    "Rot",  "Dunkelblau",  "Magenta", "Dunkelgr\xC3\xBCn",
                           "Grau",       "Blau", "Himmelblau",  "Braun",   "Orange",
                           "Hellgrau",   "Rosa", "Gr\xC3\xBCn", "Gelb",    "T\xC3\xBCrkis",
                           "Wei\xC3\x9F"};
    for (int i = 0; i < 16; ++i) {
        // ESC + '@' + i sets the ink, ESC + 'P' + paper the paper.
        const char paper = i == 0 ? 'Z' : 'P';
        t_Print(kWindow, std::string("\x1B") + char('@' + i) + "\x1B" + paper + " " + names[i] + " ");
        t_Print(kWindow, "\x1BL\x1BP");
        if (i % 4 == 3)
            t_Print(kWindow, "\r");
        else
            t_PrintTab(kWindow, 20 * (i % 4 + 1) + 1, ' ');
    }
    t_Print(kWindow, "\r\x0FInvers\x0E normal \x11umgekehrt\x11 \xE2\x82\xAC\r");
    t_Print(kWindow,
            "Modus 1: \x14"
            "ABC\x13  Modus 2: \x1F"
            "abc\x13  ");
    t_DisplayMode(kWindow, 3);
    t_Print(kWindow, "Modus 3: \x01\x02\x03  ");
    t_DisplayMode(kWindow, 4);
    t_Print(kWindow, "Modus 4: \x01\x02\x03");
    t_DisplayMode(kWindow, 0);  // in modes 3 and 4 a carriage return would be shown, not executed
    t_Print(kWindow, "\r");
    t_Print(kWindow, "Tabulatoren:\x1Bi|10\x1Bi|20\x1Bj|40\x1Bk");  // stop 81 lies beyond: next line
    t_Print(
        kWindow,
        "Latin-1: \xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F \xC2\xA9 \xC2\xBD \xC2\xB1 \xC3\x86\xC3\x98\xC3\x85\r\r");
}

void ShowScrolling() {
    t_Window& w = WindowTable[kWindow];
    // A narrow text window in the middle of the screen scrolls by itself, cell by cell.
    w.TextFirstColumn = 45, w.TextLastColumn = 78, w.TextFirstLine = 12, w.TextLastLine = 18;
    t_CursorHome(kWindow);
    t_Print(kWindow, "\x1BN\x1BR\x0C");
    const char inks[] = {'O', 'M', 'N', 'L', 'K', 'I', 'C', 'A'};  // colours that show on dark blue
    for (int i = 1; i <= 16; ++i) {
        t_Print(kWindow, std::string("\x1B") + inks[i % 8] + "Zeile " + std::to_string(i) + " im Fenster\r");
        Pause(60);
    }
    t_FullArea(kWindow);
    t_Print(kWindow, "\x1BL\x1BP");
    w.TextHpos = 1, w.TextVpos = 20;
}

void EchoKeys() {
    t_Print(kWindow, "\x1BM\x1BPTippen Sie etwas (Escape beendet):\x1BL\r");
    t_Print(kWindow, "\x1BO> ");
    for (;;) {
        const std::int64_t key = t_NextKeyEvent();
        if (key < 0) {
            Pause(10);
            continue;
        }
        if (key == kEscape) break;
        if (key == 13 || key == 3) {
            t_Print(kWindow, "\r> ");
        } else if (key == 127) {
            t_CursorLeft(kWindow);
            t_PrintChar(kWindow, ' ');
            t_CursorLeft(kWindow);
        } else if (key >= 32 && key <= 255) {
            t_PrintChar(kWindow, std::uint8_t(key));
        }
    }
}

}  // namespace

t_Font ConsoleFont(t_Font ready) {
    if (!ready.Data.empty() && ready.Width == 8 && ready.Height == 16) return ready;
    vx::Log("Textfenster: No 8 x 16 console font found; drawing boxes instead.");
    return BoxFont();
}

void Program() {
    t_InitWindow(kWindow, 4, true, kWidth, kHeight, 12, 12, ConsoleFont(vx::ReadyFont()), true);
    t_WindowFront(kWindow);
    ShowColours();
    ShowScrolling();
    EchoKeys();
    t_QuitProgram(kWindow);
}

}  // namespace textfenster
