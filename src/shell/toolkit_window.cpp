#include "shell/toolkit_window.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
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
    child->setGeometry(Rounded(frame.x), Rounded(top), Rounded(frame.width), Rounded(frame.height));
    for (Placement& p : placements_) {
        if (p.child == child) {
            p.distanceFromBottom = frame.y;
            p.distanceFromTop = top;
            p.pinnedToTop = pinnedToTop || p.pinnedToTop;
            return;
        }
    }
    placements_.push_back({child, frame.y, top, pinnedToTop});
}

Rect ToolkitWindow::childFrame(const QWidget* child) const {
    const QRect g = child->geometry();
    return Rect{double(g.x()), double(height() - g.y() - g.height()), double(g.width()), double(g.height())};
}

void ToolkitWindow::setStyleMask(int mask) {
    const bool titled = mask != 0;
    styleMask_ = mask;
    const bool wasVisible = isVisible();
    bar_->setVisible(titled);
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
    if (ResizeHandler()) ResizeHandler()(this);
}

void ToolkitWindow::layoutChildren() {
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
