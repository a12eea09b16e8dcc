// The interface description, built in code: the main menu, the eight graphic windows with their views,
// the pasteboard, virtual printer and system console windows, the main and preferences windows.
#pragma once

#include <QList>
#include <array>
#include <functional>

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

namespace vx::shell {

class GraphicView;
class ToolkitWindow;

struct TextWindowParts {
    ToolkitWindow* window = nullptr;
    QPlainTextEdit* text = nullptr;  // both the scroll view and the text view
    QLineEdit* ruler = nullptr;      // null for the pasteboard
};

struct Interface {
    QList<QMenu*> menus;  // the main menu, shared by every window's menu bar
    QAction* quit = nullptr;
    std::function<void(QAction*)> onMenuItem;  // where every item with a tag reports
    std::array<ToolkitWindow*, 8> graphicWindows{};
    std::array<GraphicView*, 8> views{};   // the outlets t_View00 .. t_View07
    TextWindowParts pasteboard;            // window 8
    TextWindowParts printer;               // window 9
    TextWindowParts console;               // window 10
    ToolkitWindow* preferences = nullptr;  // window 11
    ToolkitWindow* main = nullptr;         // window 12
};

// Every top-level window of the interface: graphic windows 0..7, then windows 8..12.
QList<ToolkitWindow*> AllWindows(const Interface& ui);
// Appends an item with a tag to a menu; choosing it reports to ui.onMenuItem.
QAction* AddMenuItem(const Interface& ui, QMenu* menu, const QString& title, qint64 tag);
// Adds a menu to the main menu and to every window's menu bar, before the window menu.
QMenu* AddMainMenu(Interface& ui, const QString& title);

// Builds every object, all windows hidden. `applicationName` titles the main window. Menu items with a
// tag carry it in QAction::data() and report to `onMenuItem` when chosen; the quit item calls `onQuit`.
Interface* BuildInterface(const QString& applicationName, std::function<void(QAction*)> onMenuItem,
                          std::function<void()> onQuit);

}  // namespace vx::shell
