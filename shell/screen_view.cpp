#include "shell/screen_view.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
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

QRect ScreenView::viewRect(const Rect& r) const {
    const QRect target = pictureTarget();
    const auto x = [&](int px) { return target.left() + px * target.width() / picture_.width(); };
    const auto y = [&](int py) { return target.top() + py * target.height() / picture_.height(); };
    // A smooth picture blends each pixel with its neighbours: take one more around it.
    const int margin = smooth_ ? 1 : 0;
    return QRect(QPoint(x(r.left - margin), y(r.top - margin)),
                 QPoint(x(r.right + margin) - 1, y(r.bottom + margin) - 1));
}

void ScreenView::setHighlight(std::optional<Rect> area) {
    const auto same = [](const std::optional<Rect>& a, const std::optional<Rect>& b) {
        if (a.has_value() != b.has_value()) return false;
        return !a || (a->left == b->left && a->top == b->top && a->right == b->right &&
                      a->bottom == b->bottom);
    };
    if (same(area, highlight_)) return;
    if (highlight_) updatePicture(*highlight_);
    highlight_ = area;
    if (highlight_) updatePicture(*highlight_);
}

void ScreenView::updatePicture(const Rect& r) {
    if (!r.empty()) update(viewRect(r));
}

void ScreenView::repaintPicture(const Rect& r) {
    if (!r.empty()) repaint(viewRect(r));
}

std::optional<MouseButton> ScreenView::gameButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return MouseButton::Left;
        case Qt::RightButton: return MouseButton::Right;
        case Qt::MiddleButton: return MouseButton::Middle;
        default: return std::nullopt;
    }
}

void ScreenView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect target = pictureTarget();
    // The bars around the picture.
    const QRegion bars = QRegion(event->rect()).subtracted(QRegion(target));
    for (const QRect& bar : bars) painter.fillRect(bar, Qt::black);
    if (!event->rect().intersects(target)) return;
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
    // At a whole-number scale only the picture pixels under the exposed area are drawn: a
    // blinking wait marker costs its own 32x32 corner, not the whole picture.
    const QRect exposed = event->rect() & part;
    if (!smooth_ && part.width() % shown.width() == 0 && part.height() % shown.height() == 0) {
        const int sx = part.width() / shown.width();
        const int sy = part.height() / shown.height();
        const QRect source(
            QPoint((exposed.left() - part.left()) / sx, (exposed.top() - part.top()) / sy),
            QPoint((exposed.right() - part.left()) / sx, (exposed.bottom() - part.top()) / sy));
        const QRect to(part.topLeft() + QPoint(source.left() * sx, source.top() * sy),
                       QSize(source.width() * sx, source.height() * sy));
        painter.drawImage(to, image, source);
    } else {
        painter.drawImage(part, image, QRect(QPoint(0, 0), shown));
    }
    paintHighlight(painter);
}

void ScreenView::paintHighlight(QPainter& painter) {
    if (!highlight_) return;
    // A white frame inside a black one, two pixels each, so that it shows on any picture.
    const QRect r = viewRect(*highlight_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(r.adjusted(2, 2, -2, -2));
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(r.adjusted(2, 2, -2, -2));
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
