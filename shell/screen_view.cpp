#include "shell/screen_view.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace corvan::shell {

ScreenView::ScreenView(QSize picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    resize(picture);
    // The game paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScreenView::setScaling(Scaling scaling) {
    if (scaling == scaling_) return;
    scaling_ = scaling;
    update();
}

void ScreenView::setPictureOffset(QPoint offset) {
    if (offset == offset_) return;
    offset_ = offset;
    update();
}

PictureFit ScreenView::pictureFit() const {
    PictureFit fit = fitPicture(size(), picture_, scaling_);
    fit.target.translate(offset_);
    return fit;
}

QRect ScreenView::viewRect(const Rect& r) const {
    const PictureFit fit = pictureFit();
    const QRect target = fit.target;
    const auto x = [&](int px) { return target.left() + px * target.width() / picture_.width(); };
    const auto y = [&](int py) { return target.top() + py * target.height() / picture_.height(); };
    // A filtered picture blends each pixel with its neighbours: take one more around it.
    const int margin = fit.scaling == Scaling::Whole ? 0 : 1;
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
    const PictureFit fit = pictureFit();
    const QRect target = fit.target;
    // The bars around the picture.
    const QRegion bars = QRegion(event->rect()).subtracted(QRegion(target));
    for (const QRect& bar : bars) painter.fillRect(bar, Qt::black);
    if (!event->rect().intersects(target)) return;
    if (bitmap_ == nullptr || bitmap_->width() == 0 || bitmap_->height() == 0) {
        painter.fillRect(target, Qt::black);
        return;
    }
    // The bitmap's bytes are blue, green, red: exactly QImage's BGR888, so no conversion. Drawn
    // straight to the target, nearest-neighbour at a whole-number scale, so that on a screen with
    // more device pixels than logical ones every pixel stays sharp.
    const QImage image(bitmap_->row(0), bitmap_->width(), bitmap_->height(),
                       static_cast<qsizetype>(bitmap_->stride()), QImage::Format_BGR888);
    const QSize shown = image.size().boundedTo(picture_);
    if (shown != picture_) painter.fillRect(target, Qt::black);  // where the bitmap has no pixels
    const QRect part(target.topLeft(), QSize(target.width() * shown.width() / picture_.width(),
                                             target.height() * shown.height() / picture_.height()));
    // Only the picture pixels under the exposed area are drawn: a blinking wait marker costs
    // its own 32x32 corner, not the whole picture.
    const QRect exposed = event->rect() & part;
    const bool wholeMultiple =
        part.width() % shown.width() == 0 && part.height() % shown.height() == 0;
    if (exposed.isEmpty()) {
        // Nothing of the bitmap shows in the area.
    } else if (fit.scaling != Scaling::Smooth && wholeMultiple) {
        const int sx = part.width() / shown.width();
        const int sy = part.height() / shown.height();
        const QRect source(
            QPoint((exposed.left() - part.left()) / sx, (exposed.top() - part.top()) / sy),
            QPoint((exposed.right() - part.left()) / sx, (exposed.bottom() - part.top()) / sy));
        const QRect to(part.topLeft() + QPoint(source.left() * sx, source.top() * sy),
                       QSize(source.width() * sx, source.height() * sy));
        painter.drawImage(to, image, source);
    } else {
        paintFiltered(painter, image, shown, part, exposed, fit.scaling != Scaling::Smooth);
    }
    paintHighlight(painter);
}

void ScreenView::paintFiltered(QPainter& painter, const QImage& image, QSize shown, QRect part,
                               QRect exposed, bool sharp) {
    // Sharp: each pixel becomes a square of the smallest whole number of device pixels that
    // reaches the target's size, then the smooth filter takes that down to the target.
    const qreal deviceRatio = devicePixelRatioF();
    const auto factorFor = [&](int to, int from) {
        return static_cast<int>(std::ceil(to * deviceRatio / from - 1e-9));
    };
    const int factor = sharp ? std::max({1, factorFor(part.width(), shown.width()),
                                         factorFor(part.height(), shown.height())})
                             : 1;
    if (filtered_.size() != shown * factor) {
        filtered_ = QImage(shown * factor, QImage::Format_RGB32);
    }
    // The picture pixels that the exposed area shows, and one more around them that the filter
    // blends in.
    const auto pixelAt = [](int at, int start, int length, int size) {
        return static_cast<double>(at - start) * size / length;
    };
    const int left = static_cast<int>(
        std::floor(pixelAt(exposed.left(), part.left(), part.width(), shown.width())));
    const int top = static_cast<int>(
        std::floor(pixelAt(exposed.top(), part.top(), part.height(), shown.height())));
    const int right = static_cast<int>(
        std::ceil(pixelAt(exposed.right() + 1, part.left(), part.width(), shown.width())));
    const int bottom = static_cast<int>(
        std::ceil(pixelAt(exposed.bottom() + 1, part.top(), part.height(), shown.height())));
    const QRect source =
        QRect(QPoint(left - 1, top - 1), QPoint(right, bottom)) & QRect(QPoint(0, 0), shown);
    for (int y = source.top(); y <= source.bottom(); ++y) {
        const std::uint8_t* in = image.constScanLine(y) + source.left() * 3;
        const int row = y * factor;
        auto* out = reinterpret_cast<QRgb*>(filtered_.scanLine(row)) + source.left() * factor;
        for (int x = 0; x < source.width(); ++x, in += 3) {
            const QRgb colour = qRgb(in[2], in[1], in[0]);
            for (int i = 0; i < factor; ++i) *out++ = colour;
        }
        const qsizetype offset = qsizetype{source.left()} * factor * 4;
        const auto length = static_cast<std::size_t>(source.width()) * factor * 4;
        for (int i = 1; i < factor; ++i) {
            std::memcpy(filtered_.scanLine(row + i) + offset, filtered_.constScanLine(row) + offset,
                        length);
        }
    }
    // The whole copy is drawn, always with the same transformation, so a part painted alone
    // matches the whole picture painted at once; the paint event's clip keeps the work to the
    // exposed area.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRectF(part), filtered_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
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
    // Shift with the right button opens the window's menu (contextMenuEvent): not the game's.
    windowsClick_ =
        event->button() == Qt::RightButton && event->modifiers().testFlag(Qt::ShiftModifier);
    if (windowsClick_) {
        event->ignore();
        return;
    }
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
    if (windowsClick_ && event->button() == Qt::RightButton) {
        windowsClick_ = false;
        return;
    }
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
