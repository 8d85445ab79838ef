#include "shell/screen_view.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace corvan::shell {

ScreenView::ScreenView(int width, int height, QWidget* parent) : QWidget(parent) {
    setFixedSize(width, height);
    // The game paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    if (bitmap_ == nullptr || bitmap_->width() == 0 || bitmap_->height() == 0) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // The bitmap's bytes are blue, green, red: exactly QImage's BGR888, so no conversion.
    const QImage image(bitmap_->row(0), bitmap_->width(), bitmap_->height(),
                       static_cast<qsizetype>(bitmap_->stride()), QImage::Format_BGR888);
    painter.drawImage(QPoint(0, 0), image);
    if (bitmap_->width() < width() || bitmap_->height() < height()) {
        painter.fillRect(bitmap_->width(), 0, width() - bitmap_->width(), height(), Qt::black);
        painter.fillRect(0, bitmap_->height(), bitmap_->width(), height() - bitmap_->height(),
                         Qt::black);
    }
}

void ScreenView::mousePressEvent(QMouseEvent* event) {
    if (const auto button = gameButton(event->button())) {
        emit pressed(*button, event->position().toPoint());
    }
}

void ScreenView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void ScreenView::mouseMoveEvent(QMouseEvent* event) {
    emit moved(event->position().toPoint());
}

void ScreenView::mouseReleaseEvent(QMouseEvent* event) {
    if (const auto button = gameButton(event->button())) {
        emit released(*button, event->position().toPoint());
    }
}

}  // namespace corvan::shell
