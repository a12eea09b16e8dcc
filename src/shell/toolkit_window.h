// A top-level window of the toolkit: a menu bar on top of the client area (the strip the toolkit calls
// the title bar), children placed from the bottom-left corner, and a close box that never closes.
#pragma once

#include <QList>
#include <QPalette>
#include <QWidget>
#include <functional>
#include <vector>

#include "core/platform.h"

class QMenu;
class QMenuBar;
class QScrollBar;

namespace vx::shell {

// How a zoomable window shows its content (everything below the menu bar). A factor counts device
// pixels per picture pixel, so that every factor is sharp on every screen density; fit scales the
// content to the window (or, when the window is sized, to the screen).
struct Zoom {
    bool fit = false;
    int factor = 1;
    friend bool operator==(const Zoom&, const Zoom&) = default;
};

// True where the compositor, not the application, places windows (Wayland): moves and centring are
// requests it ignores, and a window's position on the screen is not known to the application.
bool CompositorPlacesWindows();

// A child that draws its own pixels at the scale the window gives it: device pixels per picture pixel,
// an integer where the zoom is one.
class ScaledContent {
  public:
    virtual ~ScaledContent() = default;
    virtual void setDeviceScale(double devicePixelsPerPixel) = 0;
};

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

    // ---- Zoom (graphic windows) ----
    // The toolkit's frames and child frames keep the window's own pixel sizes; the window maps them
    // onto the screen. Only the position is the screen's.

    // Makes this a graphic window whose content zooms. Before the user picks a zoom the window chooses
    // one that fits the screen each time the toolkit sizes it (see DefaultZoom in the source).
    void makeZoomable();
    bool zoomable() const { return zoomable_; }
    Zoom zoom() const { return zoom_; }
    // The user's choice: remembered, and the window is resized to show it (within the screen's
    // available area; scroll bars show the rest). In full screen only the picture changes.
    void setZoom(Zoom zoom);
    void zoomIn();
    void zoomOut();
    // Full screen: the picture alone, centred on black, at the largest factor that fits or fitted.
    void setFullScreen(bool on);
    bool fullScreen() const { return fullScreen_; }
    // Logical (Qt) pixels per toolkit pixel of the content as laid out now.
    double contentScale() const { return scale_; }
    // The window's frame in the toolkit's measure: the screen position of its top-left corner and its
    // size in the window's own pixels. Equal to geometry() for windows that do not zoom.
    QRect toolkitGeometry() const;
    void setToolkitGeometry(const QRect& frame);

    // Called when a close box is clicked, with the window; the window stays open whatever it does.
    static void SetCloseBoxHandler(std::function<void(ToolkitWindow*)> handler);
    // Called after every resize to a new size, with the window; not for the size a hidden window was
    // given, which arrives as a resize when it is shown.
    static void SetResizeHandler(std::function<void(ToolkitWindow*)> handler);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The wheel scrolls a zoomed picture that is larger than the window.
    void wheelEvent(QWheelEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    struct Placement {
        QWidget* child;
        double distanceFromBottom;
        double distanceFromTop;
        bool pinnedToTop;
        Rect frame;  // as the toolkit placed it, in the window's own pixels
    };

    int barHeight() const;
    QSize contentSize() const;  // the toolkit's content (below the menu bar), in its own pixels
    QRect availableArea() const;
    double scaleFor(Zoom zoom, QSize area) const;
    Zoom defaultZoom() const;
    void showZoom(QPoint topLeft);
    // Refits and moves a window that ended up partly off the available area.
    void keepInsideScreen();
    void layoutZoomed();
    void placeScaled(const Placement& p, QPointF origin, double scale, double contentHeight);

    QMenuBar* bar_;
    QWidget* background_;
    std::vector<Placement> placements_;
    int styleMask_ = 7;

    bool zoomable_ = false;
    bool zoomChosen_ = false;
    bool fullScreen_ = false;
    Zoom zoom_;
    Zoom zoomBeforeFullScreen_;
    QPalette paletteBeforeFullScreen_;
    double scale_ = 1;
    QSize toolkitSize_;
    QRect normalGeometry_;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
};

}  // namespace vx::shell
