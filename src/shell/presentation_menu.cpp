#include "shell/presentation_menu.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>

#include "shell/interface.h"
#include "shell/toolkit_window.h"
#include "vxtools/display.h"

namespace vx::shell {

namespace {

QMenu* MenuTitled(const Interface& ui, const QString& title) {
    for (QMenu* menu : ui.menus)
        if (menu->title() == title) return menu;
    return nullptr;
}

QAction* AddItem(QMenu* menu, const QString& title, const QList<QKeySequence>& keys,
                 std::function<void()> act) {
    QAction* action = menu->addAction(title);
    action->setShortcuts(keys);
    // The same menus sit in every window's bar; the item is for whichever window is in front.
    action->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(action, &QAction::triggered, action, [act = std::move(act)] { act(); });
    return action;
}

void RunSavePanel(const Interface& ui) {
    int number = 0;
    ToolkitWindow* window = FrontGraphicWindow(ui, &number);
    if (window == nullptr) return;
    QFileDialog dialog(window);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The accept mode resets the labels, so it comes first.
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setLabelText(QFileDialog::FileName, "Sichern unter:");
    dialog.setWindowTitle("Bild sichern");
    dialog.setNameFilters({"PNG (*.png)"});
    dialog.setDefaultSuffix("png");
    dialog.selectFile(QString("Grafik %1.png").arg(number));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    // The window the panel was opened for: once the panel has closed, the front window may be another.
    if (!SavePicture(std::uint8_t(number), dialog.selectedFiles().front().toStdString()))
        QApplication::beep();
}

}  // namespace

ToolkitWindow* FrontGraphicWindow(const Interface& ui, int* number) {
    QWidget* active = QApplication::activeWindow();
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t n = 0; n < ui.graphicWindows.size(); ++n) {
            ToolkitWindow* window = ui.graphicWindows[n];
            if (pass == 0 ? window == active : window->isVisible()) {
                if (number) *number = int(n);
                return window;
            }
        }
    }
    return nullptr;
}

bool SaveFrontPicture(const Interface& ui, const QString& path) {
    int number = 0;
    if (FrontGraphicWindow(ui, &number) == nullptr) return false;
    return SavePicture(std::uint8_t(number), path.toStdString());
}

void AddPresentationItems(Interface& ui) {
    QMenu* file = MenuTitled(ui, "Ablage");
    QMenu* windows = MenuTitled(ui, "Fenster");
    if (file == nullptr || windows == nullptr) return;
    const Interface* shared = &ui;
    auto onFront = [shared](void (*act)(ToolkitWindow*)) {
        return [shared, act] {
            if (ToolkitWindow* window = FrontGraphicWindow(*shared)) act(window);
        };
    };
    QList<QAction*> items;
    // Before "Beenden", which stays last.
    QAction* first = file->actions().isEmpty() ? nullptr : file->actions().front();
    QAction* saveItem = AddItem(file, "Bild sichern \u2026", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
                                [shared] { RunSavePanel(*shared); });
    if (first) {
        file->removeAction(saveItem);
        file->insertAction(first, saveItem);
        file->insertSeparator(first);
    }
    items << saveItem;

    windows->addSeparator();
    items << AddItem(windows, "Originalgr\u00f6\u00dfe", {QKeySequence(Qt::CTRL | Qt::Key_0)},
                     onFront([](ToolkitWindow* w) {
                         w->setZoom(Zoom{false, 1});
                     }));
    items << AddItem(windows, "Vergr\u00f6\u00dfern",
                     // Plus needs Shift on many layouts; Ctrl+= is the same key without it.
                     {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus)},
                     onFront([](ToolkitWindow* w) { w->zoomIn(); }));
    items << AddItem(windows, "Verkleinern", {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
                     onFront([](ToolkitWindow* w) { w->zoomOut(); }));
    items << AddItem(windows, "An Bildschirm anpassen", {QKeySequence(Qt::CTRL | Qt::Key_F)},
                     onFront([](ToolkitWindow* w) {
                         w->setZoom(Zoom{true, 1});
                     }));
    items << AddItem(windows, "Vollbild", {QKeySequence(Qt::Key_F11)},
                     onFront([](ToolkitWindow* w) { w->setFullScreen(!w->fullScreen()); }));
    // A window's own actions keep the shortcuts alive where its menu bar is hidden.
    if (ui.quit) items << ui.quit;
    for (ToolkitWindow* window : ui.graphicWindows) window->addActions(items);
}

}  // namespace vx::shell
