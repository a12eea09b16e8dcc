#include "shell/interface.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "shell/presentation_menu.h"
#include "shell/toolkit_window.h"
#include "shell/views.h"

namespace vx::shell {

namespace {

QAction* AddItem(QMenu* menu, const QString& title, qint64 tag,
                 const std::function<void(QAction*)>& onMenuItem) {
    QAction* action = menu->addAction(title);
    action->setData(tag);
    QObject::connect(action, &QAction::triggered, action, [action, onMenuItem] {
        if (onMenuItem) onMenuItem(action);
    });
    return action;
}

// The Window menu: hide all, hide the front window, and one show and one hide item per window.
QMenu* BuildWindowMenu(const std::function<void(QAction*)>& onMenuItem) {
    auto* menu = new QMenu("Fenster");
    AddItem(menu, "Alle ausblenden", 200, onMenuItem);
    AddItem(menu, "Fenster ausblenden", 201, onMenuItem);
    menu->addSeparator();
    auto* show = new QMenu("Zeigen");
    auto* hide = new QMenu("Ausblenden");
    struct Pair {
        const char* title;
        int showTag, hideTag;
    };
    const Pair named[] = {{"Hauptfenster", 205, 206},
                          {"Einstellungen", 207, 208},
                          {"Drucker", 209, 210},
                          {"Zwischenablage", 211, 212},
                          {"Systemkonsole", 229, 230}};
    for (const Pair& p : named) {
        AddItem(show, p.title, p.showTag, onMenuItem);
        AddItem(hide, p.title, p.hideTag, onMenuItem);
    }
    show->addSeparator();
    hide->addSeparator();
    for (int k = 0; k < 8; ++k) {
        AddItem(show, QString("Grafik %1").arg(k), 213 + 2 * k, onMenuItem);
        AddItem(hide, QString("Grafik %1").arg(k), 214 + 2 * k, onMenuItem);
    }
    menu->addMenu(show);
    menu->addMenu(hide);
    return menu;
}

QString RulerText() {
    QString text;
    for (int column = 1; column <= 200; ++column) {
        if (column % 10 == 0) {
            text += QString::number(column / 10 % 10);
        } else {
            text += column % 5 == 0 ? QChar('|') : QChar('.');
        }
    }
    return text;
}

QFont FixedFont() {
    QFont font("Monospace");
    font.setStyleHint(QFont::Monospace);
    return font;
}

int MenuBarHeight(const ToolkitWindow* window) {
    return window->menuBar()->sizeHint().height();
}

// The pasteboard: a text view 10 points inside the window on every side, below the menu bar, so that
// the window's height less the view's height less 20 is the menu bar's height.
TextWindowParts BuildPasteboard(const QList<QMenu*>& menus) {
    TextWindowParts parts;
    parts.window = new ToolkitWindow(menus);
    parts.window->setWindowTitle("Zwischenablage");
    const int t = MenuBarHeight(parts.window);
    const int w = 520, h = 360 + t;
    parts.window->resize(w, h);
    parts.text = new QPlainTextEdit(parts.window);
    parts.window->placeChild(parts.text, Rect{10, 10, double(w - 20), double(h - 20 - t)});
    return parts;
}

// The virtual printer and the system console: a one-line ruler above a text view.
TextWindowParts BuildRulerWindow(const QList<QMenu*>& menus, const QString& title, int left, int top) {
    TextWindowParts parts;
    parts.window = new ToolkitWindow(menus);
    parts.window->setWindowTitle(title);
    const int t = MenuBarHeight(parts.window);
    const int w = 680, h = 440 + t;
    parts.window->setGeometry(left, top, w, h);
    parts.text = new QPlainTextEdit(parts.window);
    parts.text->setFont(FixedFont());
    parts.text->setLineWrapMode(QPlainTextEdit::NoWrap);
    const double scrollHeight = h - 40 - t - 15;
    parts.window->placeChild(parts.text, Rect{20, 20, double(w - 40), scrollHeight});
    parts.ruler = new QLineEdit(parts.window);
    parts.ruler->setReadOnly(true);
    parts.ruler->setFrame(false);
    parts.ruler->setFocusPolicy(Qt::NoFocus);
    parts.ruler->setFont(FixedFont());
    parts.ruler->setText(RulerText());
    parts.ruler->setCursorPosition(0);
    parts.window->placeChild(parts.ruler, Rect{24, 20 + scrollHeight + 2, double(w - 48), 19}, true);
    return parts;
}

ToolkitWindow* BuildPlainWindow(const QList<QMenu*>& menus, const QString& title, const QString& text) {
    auto* window = new ToolkitWindow(menus);
    window->setWindowTitle(title);
    const int t = MenuBarHeight(window);
    window->resize(420, 160 + t);
    auto* label = new QLabel(text, window);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    window->placeChild(label, Rect{20, 20, 380, 120});
    return window;
}

GraphicView* MakeView(int n) {
    switch (n) {
        case 0:
            return new View00;
        case 1:
            return new View01;
        case 2:
            return new View02;
        case 3:
            return new View03;
        case 4:
            return new View04;
        case 5:
            return new View05;
        case 6:
            return new View06;
        default:
            return new View07;
    }
}

}  // namespace

QList<ToolkitWindow*> AllWindows(const Interface& ui) {
    QList<ToolkitWindow*> windows(ui.graphicWindows.begin(), ui.graphicWindows.end());
    windows << ui.pasteboard.window << ui.printer.window << ui.console.window << ui.preferences << ui.main;
    windows.removeAll(nullptr);
    return windows;
}

QAction* AddMenuItem(const Interface& ui, QMenu* menu, const QString& title, qint64 tag) {
    return AddItem(menu, title, tag, ui.onMenuItem);
}

QMenu* AddMainMenu(Interface& ui, const QString& title) {
    auto* menu = new QMenu(title);
    QMenu* before = nullptr;
    for (QMenu* m : ui.menus)
        if (m->title() == "Fenster" || m->title() == "Window") before = m;
    if (before) {
        ui.menus.insert(ui.menus.indexOf(before), menu);
    } else {
        ui.menus.append(menu);
    }
    // The same menu in every bar: one action, shown by each bar that holds it.
    for (ToolkitWindow* window : AllWindows(ui)) {
        if (before)
            window->menuBar()->insertMenu(before->menuAction(), menu);
        else
            window->menuBar()->addMenu(menu);
    }
    return menu;
}

Interface* BuildInterface(const QString& applicationName, std::function<void(QAction*)> onMenuItem,
                          std::function<void()> onQuit) {
    auto* ui = new Interface;
    ui->onMenuItem = onMenuItem;

    auto* file = new QMenu("Ablage");
    ui->quit = file->addAction("Beenden");
    ui->quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // Every window shows the same menus, so the shortcut must not depend on which bar holds them.
    ui->quit->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(ui->quit, &QAction::triggered, ui->quit, [onQuit] {
        if (onQuit) onQuit();
    });

    auto* edit = new QMenu("Bearbeiten");
    AddItem(edit, "Bild kopieren", 110, onMenuItem);
    AddItem(edit, "Text kopieren", 111, onMenuItem);
    AddItem(edit, "Einsetzen", 113, onMenuItem);
    edit->addSeparator();
    AddItem(edit, "Drucker leeren", 112, onMenuItem);
    AddItem(edit, "Systemkonsole leeren", 114, onMenuItem);

    ui->menus = {file, edit, BuildWindowMenu(onMenuItem)};

    for (int n = 0; n < 8; ++n) {
        auto* window = new ToolkitWindow(ui->menus);
        window->setWindowTitle(QString("%1 %2").arg(applicationName).arg(n));
        const int t = MenuBarHeight(window);
        window->setGeometry(80 + 30 * n, 80 + 30 * n, 640, 480 + t);
        window->makeZoomable();
        GraphicView* view = MakeView(n);
        view->setParent(window);
        window->placeChild(view, Rect{0, 0, 640, 480});
        window->setFocusProxy(view);
        view->setFocus();
        ui->graphicWindows[std::size_t(n)] = window;
        ui->views[std::size_t(n)] = view;
    }

    ui->pasteboard = BuildPasteboard(ui->menus);
    ui->printer = BuildRulerWindow(ui->menus, "Drucker", 120, 120);
    ui->console = BuildRulerWindow(ui->menus, "Systemkonsole", 160, 160);
    ui->preferences = BuildPlainWindow(ui->menus, "Einstellungen", "Keine Einstellungen.");
    // The main window appears when every other window has been closed: it says how to go on.
    ui->main = BuildPlainWindow(ui->menus, applicationName,
                                applicationName +
                                    "\n\nDas Men\u00FC \u201EFenster\u201C zeigt die Fenster wieder;\n"
                                    "Ablage \u203A Beenden (Strg+Q) beendet das Programm.");
    AddPresentationItems(*ui);
    return ui;
}

}  // namespace vx::shell
