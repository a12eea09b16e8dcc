#include "shell/toolkit_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace vx::shell {

namespace {

std::function<void(ToolkitWindow*)>& CloseBoxHandler() {
    static auto* handler = new std::function<void(ToolkitWindow*)>;
    return *handler;
}

std::function<void(ToolkitWindow*)>& ResizeHandler() {
    static auto* handler = new std::function<void(ToolkitWindow*)>;
    return *handler;
}

int Rounded(double v) {
    return int(std::lround(v));
}

constexpr int kLargestFactor = 16;
// Physical density from which a screen at device pixel ratio 1 counts as dense (1.5 × 96).
constexpr double kDenseDotsPerInch = 144;
// Room left for a Wayland desktop's panels, which clients are not told about.
constexpr int kPanelAllowance = 48;
// Time for a window manager to act on a newly shown or full-screen window.
constexpr int kSettleMillis = 150;
// Below this many device pixels of slack a scaled size counts as fitting (rounding of logical sizes).
constexpr double kSlack = 0.5;

}  // namespace

ToolkitWindow::ToolkitWindow(const QList<QMenu*>& menus) : QWidget(nullptr, Qt::Window) {
    background_ = new QWidget(this);
    background_->setAutoFillBackground(true);
    background_->setGeometry(rect());
    background_->lower();
    bar_ = new QMenuBar(this);
    // Native (global) menu bars would take the bar out of the client area, where the toolkit measures it.
    bar_->setNativeMenuBar(false);
    for (QMenu* menu : menus) bar_->addMenu(menu);
    bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
}

void ToolkitWindow::placeChild(QWidget* child, Rect frame, bool pinnedToTop) {
    const double top = height() - frame.y - frame.height;
    if (!zoomable_)
        child->setGeometry(Rounded(frame.x), Rounded(top), Rounded(frame.width), Rounded(frame.height));
    bool known = false;
    for (Placement& p : placements_) {
        if (p.child == child) {
            p.distanceFromBottom = frame.y;
            p.distanceFromTop = top;
            p.pinnedToTop = pinnedToTop || p.pinnedToTop;
            p.frame = frame;
            known = true;
        }
    }
    if (!known) placements_.push_back({child, frame.y, top, pinnedToTop, frame});
    if (zoomable_) layoutZoomed();
}

Rect ToolkitWindow::childFrame(const QWidget* child) const {
    if (zoomable_) {
        for (const Placement& p : placements_)
            if (p.child == child) return p.frame;
    }
    const QRect g = child->geometry();
    return Rect{double(g.x()), double(height() - g.y() - g.height()), double(g.width()), double(g.height())};
}

void ToolkitWindow::setStyleMask(int mask) {
    const bool titled = mask != 0;
    styleMask_ = mask;
    const bool wasVisible = isVisible();
    bar_->setVisible(titled && !fullScreen_);
    setWindowFlag(Qt::FramelessWindowHint, !titled);
    // Changing window flags hides a window; bring it back as it was.
    if (wasVisible) show();
}

void ToolkitWindow::SetCloseBoxHandler(std::function<void(ToolkitWindow*)> handler) {
    CloseBoxHandler() = std::move(handler);
}

void ToolkitWindow::SetResizeHandler(std::function<void(ToolkitWindow*)> handler) {
    ResizeHandler() = std::move(handler);
}

void ToolkitWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (CloseBoxHandler()) CloseBoxHandler()(this);
}

void ToolkitWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
    // A window resized while hidden gets its resize event only when it is shown, without an old size:
    // that is no new size, and the toolkit has laid out what it set (a text window's scroll view).
    if (!event->oldSize().isValid() || event->oldSize() == event->size()) return;
    if (ResizeHandler()) ResizeHandler()(this);
}

void ToolkitWindow::wheelEvent(QWheelEvent* event) {
    const bool sideways = event->angleDelta().x() != 0 || (event->modifiers() & Qt::ShiftModifier);
    QScrollBar* bar = sideways ? horizontal_ : vertical_;
    if (bar && bar->isVisible()) {
        QCoreApplication::sendEvent(bar, event);
        return;
    }
    QWidget::wheelEvent(event);
}

void ToolkitWindow::layoutChildren() {
    if (zoomable_) {
        layoutZoomed();
        return;
    }
    background_->setGeometry(rect());
    bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
    for (Placement& p : placements_) {
        QRect g = p.child->geometry();
        if (p.pinnedToTop) {
            g.moveTop(Rounded(p.distanceFromTop));
        } else {
            // Children keep their distance from the bottom edge; Qt kept their distance from the top.
            g.moveTop(height() - Rounded(p.distanceFromBottom) - g.height());
        }
        p.child->setGeometry(g);
    }
}

}  // namespace vx::shell

namespace vx::shell {

// ---- Zoom ----

bool CompositorPlacesWindows() {
    return QGuiApplication::platformName().startsWith("wayland");
}

void ToolkitWindow::makeZoomable() {
    if (zoomable_) return;
    zoomable_ = true;
    toolkitSize_ = size();
    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    vertical_ = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        bar->hide();
        // The keyboard belongs to the view.
        bar->setFocusPolicy(Qt::NoFocus);
        connect(bar, &QScrollBar::valueChanged, this, [this] { layoutZoomed(); });
    }
}

int ToolkitWindow::barHeight() const {
    return styleMask_ != 0 && !fullScreen_ ? bar_->sizeHint().height() : 0;
}

QSize ToolkitWindow::contentSize() const {
    // The toolkit counts the menu bar in its frame whenever the window is titled, full screen or not.
    const int title = styleMask_ != 0 ? bar_->sizeHint().height() : 0;
    return QSize(std::max(1, toolkitSize_.width()), std::max(1, toolkitSize_.height() - title));
}

// The screen's available area less the window manager's frame, where the frame is known (on X11 only
// once the window is shown; client-side decorations as soon as the native window exists).
QRect ToolkitWindow::availableArea() const {
    QScreen* s = screen();
    if (s == nullptr) return QRect(0, 0, 1024, 768);
    QRect area = s->availableGeometry();
    // Wayland tells clients neither the panels' place nor their size; leave room for the usual ones.
    if (CompositorPlacesWindows() && area == s->geometry()) area.adjust(0, 0, 0, -kPanelAllowance);
    if (fullScreen_) return area;
    if (isVisible()) {
        const QRect frame = frameGeometry();
        const QRect client = geometry();
        area.adjust(client.left() - frame.left(), client.top() - frame.top(), client.right() - frame.right(),
                    client.bottom() - frame.bottom());
    } else if (windowHandle() != nullptr) {
        const QMargins m = windowHandle()->frameMargins();
        area.adjust(m.left(), m.top(), -m.right(), -m.bottom());
    }
    return area;
}

double ToolkitWindow::scaleFor(Zoom zoom, QSize area) const {
    const double ratio = devicePixelRatioF();
    if (!zoom.fit) return zoom.factor / ratio;
    const QSize content = contentSize();
    return std::max(1e-3, std::min(double(area.width()) / content.width(),
                                   double(std::max(1, area.height())) / content.height()));
}

// The zoom a window opens with: each picture pixel as a whole number of device pixels, the one
// nearest the screen's device pixel ratio (2 at ratio 1.5 and 2, 1 at 1.25), or 2 on a dense screen
// that the desktop leaves at ratio 1 (a 4K monitor without scaling), or the next smaller factor that
// fits the screen's available area; fitted (reduced) when not even 1 fits.
Zoom ToolkitWindow::defaultZoom() const {
    const double ratio = devicePixelRatioF();
    const QRect area = availableArea();
    const QSize content = contentSize();
    const int bar = barHeight();
    int nearest = std::max(1, int(std::lround(ratio)));
    if (nearest == 1 && screen() != nullptr && screen()->physicalDotsPerInch() >= kDenseDotsPerInch)
        nearest = 2;
    for (int k = nearest; k >= 1; --k) {
        const double s = k / ratio;
        if (content.width() * s <= area.width() + kSlack &&
            bar + content.height() * s <= area.height() + kSlack)
            return Zoom{false, k};
    }
    return Zoom{true, 1};
}

QRect ToolkitWindow::toolkitGeometry() const {
    if (!zoomable_) return geometry();
    return QRect(fullScreen_ ? normalGeometry_.topLeft() : geometry().topLeft(), toolkitSize_);
}

void ToolkitWindow::setToolkitGeometry(const QRect& frame) {
    if (!zoomable_) {
        setGeometry(frame);
        return;
    }
    toolkitSize_ = frame.size();
    if (fullScreen_) {
        normalGeometry_.moveTopLeft(frame.topLeft());
        layoutZoomed();
        return;
    }
    if (!zoomChosen_) zoom_ = defaultZoom();
    showZoom(frame.topLeft());
}

// Sizes the window for its zoom, within the screen's available area, and keeps it inside that area.
void ToolkitWindow::showZoom(QPoint topLeft) {
    const QRect area = availableArea();
    const int bar = barHeight();
    const QSize content = contentSize();
    const double s = scaleFor(zoom_, QSize(area.width(), area.height() - bar));
    QSize wanted(int(std::ceil(content.width() * s - 1e-6)),
                 bar + int(std::ceil(content.height() * s - 1e-6)));
    wanted = wanted.boundedTo(area.size()).expandedTo(QSize(1, 1));
    topLeft.setX(std::clamp(topLeft.x(), area.left(), area.right() + 1 - wanted.width()));
    topLeft.setY(std::clamp(topLeft.y(), area.top(), area.bottom() + 1 - wanted.height()));
    setGeometry(QRect(topLeft, wanted));
    layoutZoomed();
}

void ToolkitWindow::setZoom(Zoom zoom) {
    if (!zoomable_) return;
    zoom.factor = std::clamp(zoom.factor, 1, kLargestFactor);
    zoomChosen_ = true;
    zoom_ = zoom;
    if (fullScreen_)
        layoutZoomed();
    else
        showZoom(geometry().topLeft());
}

void ToolkitWindow::zoomIn() {
    const double device = scale_ * devicePixelRatioF();
    setZoom(Zoom{false, zoom_.fit ? int(std::floor(device + 1e-6)) + 1 : zoom_.factor + 1});
}

void ToolkitWindow::zoomOut() {
    const double device = scale_ * devicePixelRatioF();
    setZoom(Zoom{false, zoom_.fit ? int(std::ceil(device - 1e-6)) - 1 : zoom_.factor - 1});
}

void ToolkitWindow::setFullScreen(bool on) {
    if (!zoomable_ || on == fullScreen_) return;
    if (on) {
        normalGeometry_ = geometry();
        zoomBeforeFullScreen_ = zoom_;
        paletteBeforeFullScreen_ = background_->palette();
        fullScreen_ = true;
        if (!zoom_.fit) {
            // The largest factor whose picture fits the whole screen; fitted when not even 1 does.
            const QRect screenArea = screen() ? screen()->geometry() : rect();
            QRect picture;
            for (const Placement& p : placements_)
                picture |= QRect(Rounded(p.frame.x), Rounded(p.frame.y), Rounded(p.frame.width),
                                 Rounded(p.frame.height));
            const double ratio = devicePixelRatioF();
            auto fits = [&](int k) {
                return picture.width() * k <= screenArea.width() * ratio + kSlack &&
                       picture.height() * k <= screenArea.height() * ratio + kSlack;
            };
            int k = 1;
            while (k < kLargestFactor && fits(k + 1)) ++k;
            zoom_ = fits(k) ? Zoom{false, k} : Zoom{true, 1};
        }
        QPalette black = background_->palette();
        black.setColor(QPalette::Window, Qt::black);
        background_->setPalette(black);
        bar_->hide();
        showFullScreen();
        // Without a window manager nobody makes the window cover the screen; with one it has done so
        // by then, and the window is left alone.
        QTimer::singleShot(kSettleMillis, this, [this] {
            if (fullScreen_ && screen() && geometry() != screen()->geometry())
                setGeometry(screen()->geometry());
        });
    } else {
        fullScreen_ = false;
        background_->setPalette(paletteBeforeFullScreen_);
        bar_->setVisible(styleMask_ != 0);
        showNormal();
        zoom_ = zoomBeforeFullScreen_;
        setGeometry(normalGeometry_);
    }
    layoutZoomed();
}

void ToolkitWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The window manager's frame is known only once the window is shown.
    if (zoomable_) QTimer::singleShot(kSettleMillis, this, [this] { keepInsideScreen(); });
}

void ToolkitWindow::keepInsideScreen() {
    if (!isVisible() || fullScreen_) return;
    const QRect area = availableArea();
    // Where the compositor places windows only the size is the window's business.
    if (CompositorPlacesWindows() ? area.width() >= width() && area.height() >= height()
                                  : area.contains(geometry()))
        return;
    if (!zoomChosen_) zoom_ = defaultZoom();
    showZoom(geometry().topLeft());
}

void ToolkitWindow::layoutZoomed() {
    const int bar = barHeight();
    background_->setGeometry(rect());
    bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
    const QSize content = contentSize();
    // What is shown: the content, or in full screen the picture alone.
    QRectF subject(0, 0, content.width(), content.height());
    if (fullScreen_ && !placements_.empty()) {
        subject = QRectF();
        for (const Placement& p : placements_)
            subject |= QRectF(p.frame.x, content.height() - p.frame.y - p.frame.height, p.frame.width,
                              p.frame.height);
    }
    QRect area(0, bar, width(), std::max(0, height() - bar));
    double s = zoom_.fit ? std::min(area.width() / subject.width(), area.height() / subject.height())
                         : zoom_.factor / devicePixelRatioF();
    if (!(s > 0)) s = 1;
    const QSizeF scaled = subject.size() * s;
    const int extentH = horizontal_->sizeHint().height(), extentV = vertical_->sizeHint().width();
    bool needH = false, needV = false;
    // A bar takes room that may make the other one necessary.
    for (int pass = 0; pass < 2; ++pass) {
        needH = scaled.width() > area.width() - (needV ? extentV : 0) + kSlack;
        needV = scaled.height() > area.height() - (needH ? extentH : 0) + kSlack;
    }
    if (zoom_.fit) needH = needV = false;
    const QRect view(area.x(), area.y(), area.width() - (needV ? extentV : 0),
                     area.height() - (needH ? extentH : 0));
    auto setUp = [](QScrollBar* sb, bool need, QRect geometry, double total, int page) {
        sb->setVisible(need);
        if (!need) return;
        sb->setGeometry(geometry);
        sb->blockSignals(true);
        sb->setRange(0, std::max(0, int(std::ceil(total)) - page));
        sb->setPageStep(page);
        sb->setSingleStep(std::max(1, page / 20));
        sb->blockSignals(false);
        sb->raise();
    };
    setUp(horizontal_, needH, QRect(view.left(), view.bottom() + 1, view.width(), extentH), scaled.width(),
          view.width());
    setUp(vertical_, needV, QRect(view.right() + 1, view.top(), extentV, view.height()), scaled.height(),
          view.height());
    const double x = needH ? view.x() - horizontal_->value() : view.x() + (view.width() - scaled.width()) / 2;
    const double y = needV ? view.y() - vertical_->value() : view.y() + (view.height() - scaled.height()) / 2;
    // Whole logical pixels for the origin, so that the picture starts on a pixel boundary.
    const QPointF origin(std::floor(x) - subject.x() * s, std::floor(y) - subject.y() * s);
    scale_ = s;
    for (const Placement& p : placements_) placeScaled(p, origin, s, content.height());
}

void ToolkitWindow::placeScaled(const Placement& p, QPointF origin, double scale, double contentHeight) {
    const double top = contentHeight - p.frame.y - p.frame.height;
    const int left = Rounded(origin.x() + p.frame.x * scale);
    const int upper = Rounded(origin.y() + top * scale);
    const int right = Rounded(origin.x() + (p.frame.x + p.frame.width) * scale);
    const int lower = Rounded(origin.y() + (top + p.frame.height) * scale);
    p.child->setGeometry(left, upper, std::max(0, right - left), std::max(0, lower - upper));
    if (auto* scaled = dynamic_cast<ScaledContent*>(p.child))
        scaled->setDeviceScale(zoom_.fit ? scale * devicePixelRatioF() : double(zoom_.factor));
}

}  // namespace vx::shell
