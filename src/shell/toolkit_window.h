// A top-level window of the toolkit: a menu bar on top of the client area (the strip the toolkit calls
// the title bar), children placed from the bottom-left corner, and a close box that never closes.
#pragma once

#include <QList>
#include <QWidget>
#include <functional>
#include <vector>

#include "core/platform.h"

class QMenu;
class QMenuBar;

namespace vx::shell {

class ToolkitWindow : public QWidget {
    Q_OBJECT
  public:
    // The menus are shared by every window's menu bar and are not owned by the window.
    explicit ToolkitWindow(const QList<QMenu*>& menus);

    QMenuBar* menuBar() const { return bar_; }
    // The widget behind everything else, whose palette shows the window's background colour (a palette
    // set on the window itself would reach the menu bar and the text views too).
    QWidget* background() const { return background_; }
    // Places a child by a frame measured from the bottom-left corner of the client area. It keeps its
    // distance from the bottom when the window is resized, or from the top with `pinnedToTop`.
    void placeChild(QWidget* child, Rect frame, bool pinnedToTop = false);
    // A child's frame measured from the bottom-left corner.
    Rect childFrame(const QWidget* child) const;
    // Style masks: 0 hides the menu bar and drops the window frame, anything else shows both.
    void setStyleMask(int mask);
    int styleMask() const { return styleMask_; }

    // Puts the menu bar and the placed children where they belong for the current size. Resizing a
    // hidden window delivers its resize event only when it is shown, so the platform calls this itself.
    void layoutChildren();

    // Called when a close box is clicked, with the window; the window stays open whatever it does.
    static void SetCloseBoxHandler(std::function<void(ToolkitWindow*)> handler);
    // Called after every resize, with the window.
    static void SetResizeHandler(std::function<void(ToolkitWindow*)> handler);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Placement {
        QWidget* child;
        double distanceFromBottom;
        double distanceFromTop;
        bool pinnedToTop;
    };

    QMenuBar* bar_;
    QWidget* background_;
    std::vector<Placement> placements_;
    int styleMask_ = 7;
};

}  // namespace vx::shell
