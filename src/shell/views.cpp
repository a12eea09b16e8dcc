#include "shell/views.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "display/refresh.h"
#include "input/key_input.h"
#include "input/mouse_input.h"
#include "input/pointer.h"
#include "shell/key_translation.h"
#include "shell/pixel_zoom.h"

namespace vx::shell {

namespace {

std::uint64_t MouseModifierFlags(Qt::KeyboardModifiers mods) {
    std::uint64_t flags = 0;
    if (CapsLockDown.load()) flags |= kCapsLockFlag;
    if (mods & Qt::ShiftModifier) flags |= kShiftFlag;
    if (mods & Qt::ControlModifier) flags |= kControlFlag;
    if (mods & Qt::AltModifier) flags |= kOptionFlag;
    if (mods & Qt::MetaModifier) flags |= kCommandFlag;
    return flags;
}

}  // namespace

GraphicView::GraphicView(std::uint8_t number) : number_(number) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Movement without a button held too: programs follow the pointer with vx::Pointer.
    setMouseTracking(true);
}

void GraphicView::setDeviceScale(double devicePixelsPerPixel) {
    if (!(devicePixelsPerPixel > 0) || devicePixelsPerPixel == deviceScale_) return;
    deviceScale_ = devicePixelsPerPixel;
    update();
}

namespace {

int Whole(double scale) {
    const double k = std::round(scale);
    return k >= 1 && std::abs(scale - k) < 1e-9 ? int(k) : 0;
}

}  // namespace

int GraphicView::wholeFactor() const {
    return Whole(deviceScale_);
}

void GraphicView::paintEvent(QPaintEvent* event) {
    if (std::shared_ptr<const WindowImage> image = ViewComposeImage(number_)) last_ = std::move(image);
    if (!last_ || last_->width <= 0 || last_->height <= 0 ||
        last_->pixels.size() < std::size_t(last_->width) * std::size_t(last_->height))
        return;
    // Once there is a picture it covers the whole view, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    // The words are 0xAARRGGBB with alpha 255: RGB32 shows them as they are, without a copy.
    QImage image(reinterpret_cast<const uchar*>(last_->pixels.data()), last_->width, last_->height,
                 qsizetype(last_->width) * 4, QImage::Format_RGB32);
    QPainter painter(this);
    const double ratio = devicePixelRatioF();
    // Device pixels per picture pixel: the view's scale, and the toolkit's stretch of the picture over
    // a view frame of another size.
    const Rect frame = toolkitFrame();
    const double scaleX = deviceScale_ * frame.width / last_->width;
    const double scaleY = deviceScale_ * frame.height / last_->height;
    const int k = Whole(scaleX) == Whole(scaleY) ? Whole(scaleX) : 0;
    if (k == 0) {
        if (scaleX < 1 && scaleY < 1) {
            // Area averaging: every picture pixel counts towards the device pixel it falls in.
            QImage reduced =
                image.scaled(QSize(int(std::lround(width() * ratio)), int(std::lround(height() * ratio))),
                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            reduced.setDevicePixelRatio(ratio);
            painter.drawImage(QPointF(0, 0), reduced);
        } else {
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(rect(), image);
        }
        return;
    }
    // Whole factors: the exposed part, each picture pixel a block of k × k device pixels.
    const QRect device(
        QPoint(int(std::floor(event->rect().left() * ratio)), int(std::floor(event->rect().top() * ratio))),
        QPoint(int(std::ceil((event->rect().right() + 1) * ratio)) - 1,
               int(std::ceil((event->rect().bottom() + 1) * ratio)) - 1));
    if (k == 1) {
        const QRect part = device & QRect(0, 0, last_->width, last_->height);
        image.setDevicePixelRatio(ratio);
        if (!part.isEmpty())
            painter.drawImage(QPointF(part.x() / ratio, part.y() / ratio), image, QRectF(part));
    } else {
        PaintEnlarged(painter, last_->pixels.data(), last_->width, last_->height, k, ratio, device,
                      enlarged_);
    }
    // Rounding to whole logical pixels can leave the view a device pixel wider or taller than the picture.
    const double pictureWidth = last_->width * k / ratio, pictureHeight = last_->height * k / ratio;
    if (pictureWidth < width())
        painter.fillRect(QRectF(pictureWidth, 0, width() - pictureWidth, height()), Qt::black);
    if (pictureHeight < height())
        painter.fillRect(QRectF(0, pictureHeight, width(), height() - pictureHeight), Qt::black);
}

Rect GraphicView::toolkitFrame() const {
    if (auto* owner = dynamic_cast<const ToolkitWindow*>(parentWidget())) return owner->childFrame(this);
    return Rect{0, 0, double(width()), double(height())};
}

QPoint GraphicView::pixelAt(QPointF position) const {
    const Rect frame = toolkitFrame();
    const int k = wholeFactor();
    double x = 0, y = 0;
    if (k > 0) {
        const double ratio = devicePixelRatioF();
        x = position.x() * ratio / k;
        y = position.y() * ratio / k;
    } else {
        x = width() > 0 ? position.x() * frame.width / width() : 0;
        y = height() > 0 ? position.y() * frame.height / height() : 0;
    }
    return QPoint(int(std::floor(x)), int(std::floor(y)));
}

void GraphicView::keyPressEvent(QKeyEvent* event) {
    if (IsModifierKey(*event)) {
        viewFlagsChanged(ModifierFlags(*event));
    } else {
        viewKeyDown(number_, TranslateKeyPress(*event));
    }
    event->accept();
}

void GraphicView::keyReleaseEvent(QKeyEvent* event) {
    if (IsModifierKey(*event)) {
        viewFlagsChanged(ModifierFlags(*event));
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
    viewKeyUp();
}

void GraphicView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The toolkit measures clicks in its window's own pixels from the bottom-left corner, whatever the
    // zoom: the pixel under the pointer is handed over as the window point that names it exactly.
    const QPoint pixel = pixelAt(event->position());
    const Rect frame = toolkitFrame();
    reportPointer(event->position());
    MouseClick click;
    click.buttons = std::uint64_t(event->buttons().toInt());
    click.modifierFlags = MouseModifierFlags(event->modifiers());
    click.x = frame.x + pixel.x();
    click.y = frame.y + frame.height - pixel.y();
    viewMouseDown(number_, click, event->button() == Qt::RightButton);
}

void GraphicView::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) viewMouseUp();
}

void GraphicView::mouseMoveEvent(QMouseEvent* event) {
    reportPointer(event->position());
    QWidget::mouseMoveEvent(event);
}

void GraphicView::leaveEvent(QEvent* event) {
    PointerLeft(number_);
    QWidget::leaveEvent(event);
}

void GraphicView::reportPointer(QPointF position) {
    const QPoint pixel = pixelAt(position);
    const Rect frame = toolkitFrame();
    const bool overView =
        position.x() >= 0 && position.y() >= 0 && position.x() < width() && position.y() < height();
    const bool inside =
        overView && pixel.x() >= 0 && pixel.y() >= 0 && pixel.x() < frame.width && pixel.y() < frame.height;
    PointerMoved(number_, pixel.x(), pixel.y(), inside);
}

bool GraphicView::focusNextPrevChild(bool) {
    return false;
}

}  // namespace vx::shell
