#include "malkasten.h"

#include <vxtools/vxtools.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace malkasten {

namespace {

constexpr std::array<const char*, 16> kColourNames{
    "Schwarz",         "Rot",        "Dunkelblau",  "Magenta",
    "Dunkelgr\u00FCn", "Dunkelgrau", "Blau",        "Hellblau",
    "Braun",           "Orange",     "Grau",        "Rosa",
    "Gr\u00FCn",       "Gelb",       "T\u00FCrkis", "Wei\u00DF"};
constexpr std::int64_t kWhite = 15;
constexpr std::int64_t kEscape = 27;

void ShowColour(std::int64_t colour) {
    t_Color(kWindow, colour);
    t_WindowTitle(kWindow, std::string("Malkasten \u2014 ") + kColourNames[std::size_t(colour)]);
}

// The path a file action left in its record; "" when the panel was cancelled.
std::string ChosenPath(std::int64_t tag) {
    const std::int64_t index = t_MenuActionIndex(tag);
    if (index < 0) return "";
    return MenuActionTable.At(std::size_t(index)).value_or(t_MenuAction{}).FilePath;
}

bool HasPngExtension(const std::string& path) {
    return path.ends_with(".png") || path.ends_with(".PNG");
}

// The name a picture is written under: the chosen one, or with ".png" added when it has none. A name with
// ".png" added is asked for again when a file of that name exists, so that the panel's question about
// replacing it is asked about the file that is really replaced. "" when the user cancels.
std::string NameToWrite(std::string path) {
    while (!path.empty() && !HasPngExtension(path)) {
        const std::string withExtension = path + ".png";
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(withExtension, error)))
            return withExtension;
        const std::string name = withExtension.substr(withExtension.rfind('/') + 1);
        path = t_SaveDialog(withExtension, "Bild sichern",
                            "\u201E" + name + "\u201C gibt es schon. Ersetzen oder anders nennen?", "png");
    }
    return path;
}

// A failure the user should see: in the title, with what went wrong, and the beep.
void ShowFailure(const std::string& path, const std::string& what) {
    const std::string& reason = vx::PictureError();
    t_WindowTitle(kWindow, "Malkasten \u2014 " + path.substr(path.rfind('/') + 1) + " " + what +
                               (reason.empty() ? std::string() : " (" + reason + ")"));
    SystemBeep();
}

void SetUpMenus() {
    for (std::size_t i = 0; i < kColourNames.size(); ++i)
        vx::AddMenuItem("Farbe", kColourNames[i], kColourTag + std::int64_t(i));
    MenuActionTable.Append(
        {kOpenTag, 100, "Bild \u00F6ffnen", "Welches Bild soll in den Malkasten?", "", "png", ""});
    MenuActionTable.Append({kSaveTag, 101, "Bild sichern", "Wohin soll das Bild?", "bild.png", "png", ""});
    vx::AddMenuItem("Bild", "\u00D6ffnen \u2026", kOpenTag, "o");
    vx::AddMenuItem("Bild", "Sichern \u2026", kSaveTag, "s");
}

}  // namespace

bool LoadPicture(std::uint8_t window, const std::string& path) {
    vx::PictureSize size;
    if (!vx::LoadPicture(window, path, 0, 0, &size)) return false;
    // A picture smaller than the page leaves the rest of it white.
    t_Color(window, vx::Colour::White);
    vx::FillRect(window, size.width, 0, kWidth, kHeight);
    vx::FillRect(window, 0, size.height, size.width, kHeight);
    return true;
}

bool Save(const std::string& chosen) {
    const std::string path = NameToWrite(chosen);
    if (path.empty()) return false;
    if (!vx::SavePicture(kWindow, path)) {
        ShowFailure(path, "nicht gesichert");
        return false;
    }
    vx::Log("Malkasten: Saved " + path);
    return true;
}

bool Open(const std::string& path) {
    if (path.empty()) return false;
    if (!LoadPicture(kWindow, path)) {
        ShowFailure(path, "nicht ge\u00F6ffnet");
        return false;
    }
    vx::Log("Malkasten: Loaded " + path);
    return true;
}

void Program() {
    t_InitWindow(kWindow, 4, true, kWidth, kHeight, 0, 0, t_Font{}, true);
    g_ClearScreen(kWindow, kWhite, -1);
    SetUpMenus();
    std::int64_t colour = 0;
    ShowColour(colour);
    t_WindowFront(kWindow);

    // The pen: where the next line starts, once a click has put it down.
    bool penDown = false;
    std::int64_t penX = 0, penY = 0;
    for (;;) {
        const std::int64_t key = t_NextKeyEvent();
        if (key == kEscape) break;
        if (key == 'c' || key == 'C') {
            g_ClearScreen(kWindow, kWhite, -1);
            penDown = false;
        }
        while (std::optional<t_Event> click = MouseEventQueue.TakeFirst()) {
            if (click->Window != kWindow || click->ClickX < 0 || click->ClickY < 0) continue;
            // The primary button draws from the pen to the click; the secondary one only moves the pen.
            if ((click->Index & 1) != 0) {
                t_Color(kWindow, colour);
                if (penDown)
                    g_Line(kWindow, penX, penY, click->ClickX, click->ClickY);
                else
                    g_Plot(kWindow, click->ClickX, click->ClickY);
            }
            penDown = true;
            penX = click->ClickX;
            penY = click->ClickY;
        }
        while (std::optional<t_MenuEvent> choice = MenuEventQueue.TakeFirst()) {
            const std::int64_t tag = choice->ItemAction;
            if (tag >= kColourTag && tag < kColourTag + 16) {
                colour = tag - kColourTag;
                ShowColour(colour);
            } else if (tag == kOpenTag) {
                if (Open(ChosenPath(kOpenTag))) penDown = false;
            } else if (tag == kSaveTag) {
                Save(ChosenPath(kSaveTag));
            }
        }
        vx::SleepNanoseconds(10'000'000);
    }
    t_WindowTitle(kWindow, "Malkasten \u2014 Programm Ende");
    t_QuitProgram(255);
}

}  // namespace malkasten
