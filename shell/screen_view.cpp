#include "shell/screen_view.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "shell/picture_layout.h"

namespace corvan::shell {

ScreenView::ScreenView(QSize picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    resize(picture);
    // The game paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScreenView::setSmooth(bool smooth) {
    if (smooth == smooth_) return;
    smooth_ = smooth;
    update();
}

void ScreenView::setPictureOffset(QPoint offset) {
    if (offset == offset_) return;
    offset_ = offset;
    update();
}

QRect ScreenView::pictureTarget() const {
    return pictureRect(size(), picture_, smooth_).translated(offset_);
}

std::optional<MouseButton> ScreenView::gameButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MouseButton::Left;
        case Qt::RightButton:
            return MouseButton::Right;
        case Qt::MiddleButton:
            return MouseButton::Middle;
        default:
            return std::nullopt;
    }
}

void ScreenView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect target = pictureTarget();
    // The bars around the picture.
    const QRegion bars = QRegion(rect()).subtracted(QRegion(target));
    for (const QRect& bar : bars) painter.fillRect(bar, Qt::black);
    if (bitmap_ == nullptr || bitmap_->width() == 0 || bitmap_->height() == 0) {
        painter.fillRect(target, Qt::black);
        return;
    }
    // The bitmap's bytes are blue, green, red: exactly QImage's BGR888, so no conversion. Drawn
    // straight to the target, nearest-neighbour unless smooth, so that on a screen with more
    // device pixels than logical ones every pixel stays sharp.
    const QImage image(bitmap_->row(0), bitmap_->width(), bitmap_->height(),
                       static_cast<qsizetype>(bitmap_->stride()), QImage::Format_BGR888);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth_);
    const QSize shown = image.size().boundedTo(picture_);
    if (shown != picture_) painter.fillRect(target, Qt::black);  // where the bitmap has no pixels
    const QRect part(target.topLeft(), QSize(target.width() * shown.width() / picture_.width(),
                                             target.height() * shown.height() / picture_.height()));
    painter.drawImage(part, image, QRect(QPoint(0, 0), shown));
}

void ScreenView::mousePressEvent(QMouseEvent* event) {
    const auto button = gameButton(event->button());
    const auto at = picturePixel(event->position(), pictureTarget(), picture_);
    if (button && at) emit pressed(*button, *at);
}

void ScreenView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void ScreenView::mouseMoveEvent(QMouseEvent* event) {
    if (const auto at = picturePixel(event->position(), pictureTarget(), picture_)) emit moved(*at);
}

void ScreenView::mouseReleaseEvent(QMouseEvent* event) {
    if (const auto button = gameButton(event->button())) {
        emit released(*button, nearestPicturePixel(event->position(), pictureTarget(), picture_));
    }
}

void ScreenView::wheelEvent(QWheelEvent* event) {
    // One step for every 15 degrees turned (120 eighths), however finely the wheel reports.
    wheelAngle_ += event->angleDelta().y();
    while (wheelAngle_ >= 120) {
        wheelAngle_ -= 120;
        emit wheeled(-1);
    }
    while (wheelAngle_ <= -120) {
        wheelAngle_ += 120;
        emit wheeled(1);
    }
    event->accept();
}

}  // namespace corvan::shell
