#include "shell/views.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "display/refresh.h"
#include "input/key_input.h"
#include "input/mouse_input.h"
#include "shell/key_translation.h"

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
}

void GraphicView::paintEvent(QPaintEvent*) {
    if (std::shared_ptr<const WindowImage> image = ViewComposeImage(number_)) last_ = std::move(image);
    if (!last_ || last_->width <= 0 || last_->height <= 0 ||
        last_->pixels.size() < std::size_t(last_->width) * std::size_t(last_->height))
        return;
    // Once there is a picture it covers the whole view, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    // The words are 0xAARRGGBB with alpha 255: RGB32 shows them as they are, without a copy.
    const QImage image(reinterpret_cast<const uchar*>(last_->pixels.data()), last_->width, last_->height,
                       qsizetype(last_->width) * 4, QImage::Format_RGB32);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), image);
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
    // The toolkit measures clicks in its window from the bottom-left corner.
    const QPointF inWindow = mapTo(window(), event->position());
    MouseClick click;
    click.buttons = std::uint64_t(event->buttons().toInt());
    click.modifierFlags = MouseModifierFlags(event->modifiers());
    click.x = inWindow.x();
    click.y = window()->height() - inWindow.y();
    viewMouseDown(number_, click, event->button() == Qt::RightButton);
}

void GraphicView::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) viewMouseUp();
}

bool GraphicView::focusNextPrevChild(bool) {
    return false;
}

}  // namespace vx::shell
