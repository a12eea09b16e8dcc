#include "shell/qt_platform.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>

#include "core/log.h"
#include "menus/file_dialogs.h"
#include "shell/interface.h"
#include "shell/toolkit_window.h"
#include "shell/views.h"
#include "shell/x11_clipboard.h"

namespace vx::shell {

namespace {

// Handles are the Qt objects themselves; only this file looks inside them.
QWidget* Widget(WindowRef w) {
    return reinterpret_cast<QWidget*>(w);
}
WindowRef Handle(QWidget* w) {
    return reinterpret_cast<WindowRef>(w);
}
GraphicView* View(ViewRef v) {
    return reinterpret_cast<GraphicView*>(v);
}
QPlainTextEdit* Text(TextViewRef t) {
    return reinterpret_cast<QPlainTextEdit*>(t);
}
QPlainTextEdit* Scroll(ScrollViewRef s) {
    return reinterpret_cast<QPlainTextEdit*>(s);
}
QLineEdit* Ruler(RulerRef r) {
    return reinterpret_cast<QLineEdit*>(r);
}
QAction* Action(MenuItemRef m) {
    return reinterpret_cast<QAction*>(m);
}

ToolkitWindow* OwnerWindow(const QWidget* child) {
    return child ? dynamic_cast<ToolkitWindow*>(child->parentWidget()) : nullptr;
}

// The height that turns Qt's top-left screen coordinates into the toolkit's bottom-left ones.
double PrimaryHeight() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

int Rounded(double v) {
    if (!std::isfinite(v)) return 0;
    if (v > 1e9) return 1'000'000'000;
    if (v < -1e9) return -1'000'000'000;
    return int(std::lround(v));
}

Rect FromTopLeft(const QRect& r) {
    return Rect{double(r.x()), PrimaryHeight() - (r.y() + r.height()), double(r.width()), double(r.height())};
}

}  // namespace

QtPlatform::QtPlatform(Interface* ui) : ui_(ui), guiThread_(std::this_thread::get_id()) {}

// ---- Threads and hand-over ----

bool QtPlatform::isUserInterfaceThread() const {
    return std::this_thread::get_id() == guiThread_;
}

bool QtPlatform::invokeBlocking(std::function<void()> work) {
    if (isUserInterfaceThread()) {
        work();
        return true;
    }
    return gate_.RunAndWait(std::move(work), [](std::function<void()> f) {
        QCoreApplication* app = QCoreApplication::instance();
        return app != nullptr && QMetaObject::invokeMethod(app, std::move(f), Qt::QueuedConnection);
    });
}

bool QtPlatform::isQuitting() const {
    return gate_.Quitting();
}

// ---- Outlets ----

ViewRef QtPlatform::graphicView(int n) {
    if (n < 0 || n > 7) return nullptr;
    return reinterpret_cast<ViewRef>(ui_->views[std::size_t(n)]);
}

WindowRef QtPlatform::windowOfView(ViewRef view) {
    GraphicView* v = View(view);
    if (v == nullptr || v->parentWidget() == nullptr) return nullptr;
    return Handle(v->window());
}

WindowRef QtPlatform::auxiliaryWindow(int n) {
    switch (n) {
        case 8:
            return Handle(ui_->pasteboard.window);
        case 9:
            return Handle(ui_->printer.window);
        case 10:
            return Handle(ui_->console.window);
        case 11:
            return Handle(ui_->preferences);
        case 12:
            return Handle(ui_->main);
        default:
            return nullptr;
    }
}

TextViewRef QtPlatform::textView(int n) {
    switch (n) {
        case 8:
            return reinterpret_cast<TextViewRef>(ui_->pasteboard.text);
        case 9:
            return reinterpret_cast<TextViewRef>(ui_->printer.text);
        case 10:
            return reinterpret_cast<TextViewRef>(ui_->console.text);
        default:
            return nullptr;
    }
}

ScrollViewRef QtPlatform::scrollView(int n) {
    // The plain text edit is its own scroll view.
    return reinterpret_cast<ScrollViewRef>(textView(n));
}

RulerRef QtPlatform::ruler(int n) {
    switch (n) {
        case 9:
            return reinterpret_cast<RulerRef>(ui_->printer.ruler);
        case 10:
            return reinterpret_cast<RulerRef>(ui_->console.ruler);
        default:
            return nullptr;
    }
}

WindowRef QtPlatform::windowOfScrollView(ScrollViewRef scroll) {
    QPlainTextEdit* s = Scroll(scroll);
    if (s == nullptr || s->parentWidget() == nullptr) return nullptr;
    return Handle(s->window());
}

WindowRef QtPlatform::mainWindow() {
    return Handle(QApplication::activeWindow());
}

// ---- Windows ----

Rect QtPlatform::windowFrame(WindowRef w) {
    if (w == nullptr) return {};
    // Zoomed windows answer in their own pixel size; the zoom is the Qt layer's business.
    auto* window = dynamic_cast<ToolkitWindow*>(Widget(w));
    QRect frame = window ? window->toolkitGeometry() : Widget(w)->geometry();
    // Where the compositor places windows their position is unknown: the neutral answer is the
    // screen's top-left corner, whatever was asked for, before and after the window is shown.
    if (CompositorPlacesWindows()) frame.moveTopLeft(QPoint(0, 0));
    return FromTopLeft(frame);
}

void QtPlatform::setWindowFrame(WindowRef w, Rect frame, bool display) {
    QWidget* widget = Widget(w);
    if (widget == nullptr) return;
    const int width = std::max(0, Rounded(frame.width));
    const int height = std::max(0, Rounded(frame.height));
    const int top = Rounded(PrimaryHeight() - frame.y - frame.height);
    if (auto* window = dynamic_cast<ToolkitWindow*>(widget)) {
        window->setToolkitGeometry(QRect(Rounded(frame.x), top, width, height));
        window->layoutChildren();
    } else {
        widget->setGeometry(Rounded(frame.x), top, width, height);
    }
    if (display && widget->isVisible()) widget->repaint();
}

Rect QtPlatform::screenFrame(WindowRef w) {
    QScreen* screen = w ? Widget(w)->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return {};
    return FromTopLeft(screen->geometry());
}

namespace {

void ShowTitle(QWidget* widget, const QString& title) {
    widget->setWindowTitle(title);
    // Qt's client-side decorations (Wayland) draw the title only when the window's buffer changes size,
    // and a program that has stopped drawing resizes nothing: one pixel taller and back brings the new
    // title at once.
    if (!widget->isVisible() || widget->isFullScreen() ||
        !QGuiApplication::platformName().startsWith("wayland"))
        return;
    const QSize size = widget->size();
    widget->resize(size.width(), size.height() + 1);
    QTimer::singleShot(0, widget, [widget, size] {
        if (widget->size() == QSize(size.width(), size.height() + 1)) widget->resize(size);
    });
}

}  // namespace

void QtPlatform::setWindowTitle(WindowRef w, const std::string& title) {
    if (w) ShowTitle(Widget(w), QString::fromStdString(title));
}

void QtPlatform::setWindowTitleLater(WindowRef w, const std::string& title) {
    QWidget* widget = Widget(w);
    if (widget == nullptr || gate_.Quitting()) return;
    // The window is the context: the title is dropped with the window, if it ever goes.
    QMetaObject::invokeMethod(
        widget, [widget, title = QString::fromStdString(title)] { ShowTitle(widget, title); },
        Qt::QueuedConnection);
}

void QtPlatform::setWindowStyleMask(WindowRef w, int mask) {
    if (auto* window = dynamic_cast<ToolkitWindow*>(Widget(w))) window->setStyleMask(mask);
}

void QtPlatform::centerWindow(WindowRef w) {
    QWidget* widget = Widget(w);
    if (widget == nullptr || widget->screen() == nullptr || widget->isFullScreen()) return;
    const QRect available = widget->screen()->availableGeometry();
    const QRect g = widget->geometry();
    widget->setGeometry(available.x() + (available.width() - g.width()) / 2,
                        available.y() + (available.height() - g.height()) / 2, g.width(), g.height());
}

void QtPlatform::orderFront(WindowRef w) {
    QWidget* widget = Widget(w);
    if (widget == nullptr) return;
    widget->show();
    widget->raise();
}

void QtPlatform::makeKeyAndOrderFront(WindowRef w) {
    QWidget* widget = Widget(w);
    if (widget == nullptr) return;
    widget->show();
    widget->raise();
    widget->activateWindow();
    // The view (the window's focus proxy) takes the keyboard when the window gets it.
    if (QWidget* proxy = widget->focusProxy()) proxy->setFocus();
}

void QtPlatform::orderOut(WindowRef w) {
    if (w) Widget(w)->hide();
}

bool QtPlatform::isWindowVisible(WindowRef w) {
    return w && Widget(w)->isVisible();
}

void QtPlatform::setWindowBackgroundColor(WindowRef w, double red, double green, double blue, double alpha) {
    auto* window = dynamic_cast<ToolkitWindow*>(Widget(w));
    if (window == nullptr) return;
    QWidget* background = window->background();
    QPalette palette = background->palette();
    auto unit = [](double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; };
    palette.setColor(QPalette::Window, QColor::fromRgbF(float(unit(red)), float(unit(green)),
                                                        float(unit(blue)), float(unit(alpha))));
    background->setPalette(palette);
    background->update();
}

// ---- Views and images ----

void QtPlatform::setViewFrame(ViewRef view, Rect frame) {
    GraphicView* v = View(view);
    if (ToolkitWindow* window = OwnerWindow(v)) window->placeChild(v, frame);
}

void QtPlatform::markViewNeedsDisplay(ViewRef view) {
    if (view) View(view)->update();
}

void QtPlatform::displayViewNow(ViewRef view) {
    if (view) View(view)->repaint();
}

// ---- Menus ----

MenuItemRef QtPlatform::mainMenuItem(const std::string& title) {
    const QString wanted = QString::fromStdString(title);
    for (QMenu* menu : ui_->menus)
        if (menu->title() == wanted) return reinterpret_cast<MenuItemRef>(menu->menuAction());
    return nullptr;
}

int QtPlatform::submenuItemCount(MenuItemRef menu) {
    QMenu* submenu = menu ? Action(menu)->menu() : nullptr;
    return submenu ? int(submenu->actions().size()) : 0;
}

std::string QtPlatform::submenuItemTitle(MenuItemRef menu, int i) {
    QMenu* submenu = menu ? Action(menu)->menu() : nullptr;
    if (submenu == nullptr || i < 0 || i >= submenu->actions().size()) return "";
    QAction* item = submenu->actions()[i];
    return item->isSeparator() ? std::string() : item->text().toStdString();
}

void QtPlatform::removeSubmenuItem(MenuItemRef menu, int i) {
    QMenu* submenu = menu ? Action(menu)->menu() : nullptr;
    if (submenu == nullptr || i < 0 || i >= submenu->actions().size()) return;
    // Removing it from the shared menu removes it from every window's menu bar.
    submenu->removeAction(submenu->actions()[i]);
}

MenuItemInfo QtPlatform::menuItemInfo(MenuItemRef item) {
    MenuItemInfo info;
    QAction* action = Action(item);
    if (action == nullptr) return info;
    QMenu* owner = nullptr;
    for (QObject* object : action->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(object); menu && menu->actions().contains(action)) {
            owner = menu;
            break;
        }
    }
    if (owner == nullptr) return info;
    info.inMenu = true;
    info.menuTitle = owner->title().toStdString();
    info.title = action->text().toStdString();
    info.tag = action->data().toLongLong();
    const QKeySequence shortcut = action->shortcut();
    if (!shortcut.isEmpty()) {
        const QKeyCombination combination = shortcut[0];
        info.keyEquivalent = QKeySequence(combination.key()).toString().toLower().toStdString();
        const Qt::KeyboardModifiers mods = combination.keyboardModifiers();
        if (mods & Qt::ShiftModifier) info.keyModifiers |= 0x20000;
        if (mods & Qt::ControlModifier) info.keyModifiers |= 0x40000;
        if (mods & Qt::AltModifier) info.keyModifiers |= 0x80000;
        if (mods & Qt::MetaModifier) info.keyModifiers |= 0x100000;
    }
    return info;
}

MenuItemRef QtPlatform::addMainMenu(const std::string& title) {
    return reinterpret_cast<MenuItemRef>(AddMainMenu(*ui_, QString::fromStdString(title))->menuAction());
}

void QtPlatform::addSubmenuItem(MenuItemRef menu, const MenuItemInfo& item) {
    QMenu* submenu = menu ? Action(menu)->menu() : nullptr;
    if (submenu == nullptr) return;
    QAction* action = AddMenuItem(*ui_, submenu, QString::fromStdString(item.title), item.tag);
    if (item.keyEquivalent.empty()) return;
    // Qt numbers character keys by their upper-case letter.
    const QString character = QString::fromStdString(item.keyEquivalent);
    const char32_t key = QChar::toUpper(character.toUcs4().value(0));
    Qt::KeyboardModifiers modifiers;
    if (item.keyModifiers & 0x20000) modifiers |= Qt::ShiftModifier;
    if (item.keyModifiers & 0x40000) modifiers |= Qt::ControlModifier;
    if (item.keyModifiers & 0x80000) modifiers |= Qt::AltModifier;
    if (item.keyModifiers & 0x100000) modifiers |= Qt::MetaModifier;
    action->setShortcut(QKeySequence(QKeyCombination(modifiers, Qt::Key(key))));
    // Every window shows the same menus, so the shortcut must not depend on which bar holds them.
    action->setShortcutContext(Qt::ApplicationShortcut);
}

// ---- Text views ----

void QtPlatform::disableTextSubstitutions(TextViewRef) {}

void QtPlatform::setTextViewFont(TextViewRef view, const std::string& family, double size) {
    if (view == nullptr) return;
    QFont font(QString::fromStdString(family));
    // Families that this system lacks fall back to a fixed-pitch one, as the text is laid out in columns.
    font.setStyleHint(QFont::Monospace);
    if (std::isfinite(size) && size > 0) font.setPointSizeF(size);
    Text(view)->setFont(font);
}

void QtPlatform::setTextViewText(TextViewRef view, const std::string& text) {
    if (view) Text(view)->setPlainText(QString::fromStdString(text));
}

std::string QtPlatform::textViewText(TextViewRef view) {
    return view ? Text(view)->toPlainText().toStdString() : std::string();
}

void QtPlatform::appendTextViewText(TextViewRef view, const std::string& text) {
    if (view == nullptr) return;
    QPlainTextEdit* edit = Text(view);
    edit->moveCursor(QTextCursor::End);
    edit->insertPlainText(QString::fromStdString(text));
    edit->ensureCursorVisible();
}

void QtPlatform::markTextViewNeedsDisplay(TextViewRef view) {
    if (view) Text(view)->viewport()->update();
}

Rect QtPlatform::scrollViewFrame(ScrollViewRef scroll) {
    QPlainTextEdit* s = Scroll(scroll);
    ToolkitWindow* window = OwnerWindow(s);
    return window ? window->childFrame(s) : Rect{};
}

void QtPlatform::setScrollViewFrame(ScrollViewRef scroll, Rect frame) {
    QPlainTextEdit* s = Scroll(scroll);
    if (ToolkitWindow* window = OwnerWindow(s)) window->placeChild(s, frame);
}

Rect QtPlatform::rulerFrame(RulerRef ruler) {
    QLineEdit* r = Ruler(ruler);
    ToolkitWindow* window = OwnerWindow(r);
    return window ? window->childFrame(r) : Rect{};
}

void QtPlatform::setRulerFrame(RulerRef ruler, Rect frame) {
    QLineEdit* r = Ruler(ruler);
    if (ToolkitWindow* window = OwnerWindow(r)) window->placeChild(r, frame);
}

std::string QtPlatform::rulerText(RulerRef ruler) {
    return ruler ? Ruler(ruler)->text().toStdString() : std::string();
}

void QtPlatform::setRulerText(RulerRef ruler, const std::string& text) {
    if (ruler) Ruler(ruler)->setText(QString::fromStdString(text));
}

// ---- Pasteboard ----

void QtPlatform::clearPasteboard() {
    QGuiApplication::clipboard()->clear();
}

bool QtPlatform::pasteboardText(std::string& text) {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) return false;
    text = data->text().toStdString();
    return true;
}

bool QtPlatform::pasteboardImage(WindowImage& image) {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasImage()) return false;
    const QImage picture = qvariant_cast<QImage>(data->imageData()).convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) return false;
    image.width = picture.width();
    image.height = picture.height();
    image.pixels.resize(std::size_t(image.width) * std::size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(picture.constScanLine(y));
        std::copy(row, row + image.width, image.pixels.begin() + std::ptrdiff_t(y) * image.width);
    }
    return true;
}

namespace {

// How long the pasteboard window waits for another program's clipboard text.
constexpr std::chrono::milliseconds kClipboardWait{300};

}  // namespace

bool QtPlatform::pasteboardTextExcerpt(std::size_t limit, std::string& text, std::size_t& total,
                                       bool& exact) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    // Qt reads another program's clipboard whole and waits seconds for an owner that does not answer;
    // on X11 it is read here instead, over a connection of its own, with a deadline and a size cap.
    if (QGuiApplication::platformName() == "xcb" && !clipboard->ownsClipboard()) {
        X11ClipboardText excerpt = ReadX11ClipboardText(limit, kClipboardWait);
        if (!excerpt.answered)
            Log("QtPlatform: The program that owns the clipboard did not answer within " +
                std::to_string(kClipboardWait.count()) + " ms.");
        if (!excerpt.hasText) return false;
        text = std::move(excerpt.text);
        total = excerpt.total;
        exact = excerpt.complete;
        return true;
    }
    const QMimeData* data = clipboard->mimeData();
    if (data == nullptr || !data->hasText()) return false;
    const QString whole = data->text();
    // This application's own text: the length in UTF-8 without converting all of it.
    exact = true;
    total = 0;
    for (const QChar c : whole) {
        const char16_t u = c.unicode();
        total += u < 0x80 ? 1 : u < 0x800 ? 2 : c.isHighSurrogate() ? 4 : c.isLowSurrogate() ? 0 : 3;
    }
    text = whole.left(qsizetype(std::min<std::size_t>(limit, std::size_t(whole.size())))).toStdString();
    if (text.size() > limit) text.resize(limit);
    return true;
}

void QtPlatform::setPasteboardText(const std::string& text) {
    // The toolkit separates lines with carriage returns; other programs on this system expect line feeds.
    QString plain = QString::fromStdString(text);
    plain.replace("\r\n", "\n").replace('\r', '\n');
    QGuiApplication::clipboard()->setText(plain);
}

void QtPlatform::setPasteboardImage(const WindowImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < std::size_t(image.width) * std::size_t(image.height))
        return;
    const QImage view(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                      qsizetype(image.width) * 4, QImage::Format_RGB32);
    // The clipboard keeps its own copy; the words belong to the caller.
    QGuiApplication::clipboard()->setImage(view.copy());
}

// ---- Panels ----

namespace {

// The file types as given, each a file-name extension or a MIME type ("image/png"), nothing trimmed:
// patterns for names, matched without regard to case. Empty when every file is allowed.
QList<QRegularExpression> TypePatterns(const std::vector<std::string>& types) {
    QList<QRegularExpression> patterns;
    QStringList globs;
    for (const std::string& type : types) {
        const QString t = QString::fromStdString(type);
        if (t.isEmpty()) continue;
        if (t.contains('/'))
            globs << QMimeDatabase().mimeTypeForName(t).globPatterns();
        else
            globs << "*." + t;
    }
    for (const QString& glob : globs)
        patterns << QRegularExpression(QRegularExpression::wildcardToRegularExpression(glob),
                                       QRegularExpression::CaseInsensitiveOption);
    return patterns;
}

// Shows folders and the files whose names match one of the patterns. Qt's own name filters split
// patterns at blanks, so a type with a blank could never match through them.
class TypeFilter : public QSortFilterProxyModel {
  public:
    TypeFilter(QList<QRegularExpression> patterns, QObject* parent)
        : QSortFilterProxyModel(parent), patterns_(std::move(patterns)) {}

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        const QModelIndex index = sourceModel()->index(row, 0, parent);
        if (files == nullptr || files->isDir(index)) return true;
        const QString name = files->fileName(index);
        return std::any_of(patterns_.begin(), patterns_.end(),
                           [&](const QRegularExpression& p) { return p.match(name).hasMatch(); });
    }

  private:
    QList<QRegularExpression> patterns_;
};

// A panel that limits the files it lists to the given types, and that hands back a chosen folder when
// files and folders may both be chosen (Qt's own would only open it).
class Panel : public QFileDialog {
  public:
    explicit Panel(bool acceptsFolders) : acceptsFolders_(acceptsFolders) {
        setOption(QFileDialog::DontUseNativeDialog);
    }

    void limitToTypes(const std::vector<std::string>& types) {
        QList<QRegularExpression> patterns = TypePatterns(types);
        if (patterns.isEmpty()) return;
        QStringList names;
        for (const std::string& type : types) names << QString::fromStdString(type);
        setNameFilter(names.join(", ") + " (*)");
        setProxyModel(new TypeFilter(std::move(patterns), this));
    }

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (acceptsFolders_ && chosen.size() == 1 && QFileInfo(chosen.front()).isDir()) {
            QDialog::accept();
            return;
        }
        // A FIFO, a device or a socket is not accepted: the panel stays open and says why, so that the
        // user can choose again (the toolkit would refuse the choice anyway, once the panel had closed).
        for (const QString& path : chosen) {
            if (!IsSpecialFile(path.toStdString())) continue;
            QMessageBox::warning(this, "Keine gew\u00F6hnliche Datei",
                                 "\u201E" + path + "\u201C ist keine gew\u00F6hnliche Datei.");
            return;
        }
        QFileDialog::accept();
    }

  private:
    bool acceptsFolders_;
};

// The panel's other labels in the language of the toolkit's own.
void GermanLabels(QFileDialog& dialog) {
    dialog.setLabelText(QFileDialog::LookIn, "Suchen in:");
    dialog.setLabelText(QFileDialog::FileType, "Dateityp:");
    dialog.setLabelText(QFileDialog::Reject, "Abbrechen");
}

// A modal panel keeps the menu bars' shortcuts from firing, so it carries the quit key of its own.
void QuitFromPanel(QFileDialog& dialog, QAction* quit) {
    if (quit == nullptr) return;
    auto* shortcut = new QShortcut(quit->shortcut(), &dialog);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, quit, &QAction::trigger);
    QObject::connect(shortcut, &QShortcut::activatedAmbiguously, quit, &QAction::trigger);
}

QString PanelTitle(const std::string& title, const std::string& message) {
    QString t = QString::fromStdString(title);
    const QString m = QString::fromStdString(message);
    if (m.isEmpty()) return t;
    return t.isEmpty() ? m : t + " \u2014 " + m;
}

}  // namespace

std::vector<std::string> QtPlatform::runOpenPanel(const OpenPanelRequest& request) {
    Panel dialog(request.directories && request.files);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (request.directories && !request.files) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    }
    if (!request.buttonText.empty())
        dialog.setLabelText(QFileDialog::Accept, QString::fromStdString(request.buttonText));
    dialog.setWindowTitle(PanelTitle(request.title, request.message));
    dialog.limitToTypes(request.fileTypes);
    GermanLabels(dialog);
    QuitFromPanel(dialog, ui_->quit);
    std::vector<std::string> urls;
    if (dialog.exec() != QDialog::Accepted) return urls;
    for (const QString& path : dialog.selectedFiles())
        urls.push_back(QUrl::fromLocalFile(path).toString().toStdString());
    return urls;
}

std::string QtPlatform::runSavePanel(const SavePanelRequest& request) {
    Panel dialog(false);
    // The accept mode resets the labels, so it comes first.
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!request.buttonText.empty())
        dialog.setLabelText(QFileDialog::Accept, QString::fromStdString(request.buttonText));
    if (!request.nameFieldLabel.empty())
        dialog.setLabelText(QFileDialog::FileName, QString::fromStdString(request.nameFieldLabel));
    dialog.setWindowTitle(PanelTitle(request.title, request.message));
    dialog.limitToTypes(request.fileTypes);
    if (!request.proposedName.empty()) dialog.selectFile(QString::fromStdString(request.proposedName));
    GermanLabels(dialog);
    QuitFromPanel(dialog, ui_->quit);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return "";
    return QUrl::fromLocalFile(dialog.selectedFiles().front()).toString().toStdString();
}

// ---- Sound ----

void QtPlatform::beep() {
    QApplication::beep();
}

bool QtPlatform::loadNamedSound(const std::string& name) {
    namedSound_ = QFile::exists(QCoreApplication::applicationDirPath() + "/" + QString::fromStdString(name));
    return namedSound_;
}

bool QtPlatform::isNamedSoundPlaying() {
    return false;
}

void QtPlatform::playNamedSound() {
    QApplication::beep();
}

}  // namespace vx::shell
