// The eight graphic views. Each forwards its keys, modifier changes and clicks to the toolkit and shows
// the image the toolkit composes for its window.
#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/platform.h"
#include "shell/toolkit_window.h"

namespace vx::shell {

class GraphicView : public QWidget, public ScaledContent {
  public:
    std::uint8_t windowNumber() const { return number_; }
    // The image shown last; null before the first one.
    std::shared_ptr<const WindowImage> lastImage() const { return last_; }
    // Device pixels per picture pixel. A whole number draws each pixel as a block of that many device
    // pixels from the view's top-left corner; any other scale stretches the picture over the view,
    // reduced by area averaging below 1 so that fine patterns do not alias.
    void setDeviceScale(double devicePixelsPerPixel) override;
    double deviceScale() const { return deviceScale_; }
    // The picture pixel under a point of the view (in view coordinates), as drawn now; outside the
    // picture the column or row is below 0 or beyond the last.
    QPoint pixelAt(QPointF position) const;

  protected:
    explicit GraphicView(std::uint8_t number);

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Tab and Shift-Tab are keys for the program, not focus moves.
    bool focusNextPrevChild(bool next) override;

  private:
    int wholeFactor() const;
    // Hands the picture pixel under `position` to the toolkit's pointer record.
    void reportPointer(QPointF position);
    // The toolkit's frame of this view, in its window's own pixels.
    Rect toolkitFrame() const;

    std::uint8_t number_;
    std::shared_ptr<const WindowImage> last_;
    double deviceScale_ = 1;
    std::vector<std::uint32_t> enlarged_;
};

// The view class of graphic window N.
template <std::uint8_t N>
class ViewOf final : public GraphicView {
    static_assert(N < 8);

  public:
    ViewOf() : GraphicView(N) {}
};

using View00 = ViewOf<0>;
using View01 = ViewOf<1>;
using View02 = ViewOf<2>;
using View03 = ViewOf<3>;
using View04 = ViewOf<4>;
using View05 = ViewOf<5>;
using View06 = ViewOf<6>;
using View07 = ViewOf<7>;

}  // namespace vx::shell
