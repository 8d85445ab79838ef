#include "shell/picture_layout.h"

#include <algorithm>
#include <cmath>

namespace corvan::shell {

int fittingScale(QSize available, QSize picture, QSize frame) {
    if (picture.isEmpty()) return 1;
    const int byWidth = (available.width() - frame.width()) / picture.width();
    const int byHeight = (available.height() - frame.height()) / picture.height();
    return std::max(1, std::min(byWidth, byHeight));
}

QRect pictureRect(QSize area, QSize picture, bool smooth) {
    if (picture.isEmpty() || area.isEmpty()) return QRect(QPoint(0, 0), picture);
    QSize size;
    if (smooth) {
        size = picture.scaled(area, Qt::KeepAspectRatio);
    } else {
        // A picture bigger than the area is shown at its own size, cut at the edges.
        size = picture * fittingScale(area, picture);
    }
    return QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
                 size);
}

std::optional<QPoint> picturePixel(QPointF position, QRect target, QSize picture) {
    if (target.isEmpty() || picture.isEmpty()) return std::nullopt;
    const double x = std::floor((position.x() - target.x()) * picture.width() / target.width());
    const double y = std::floor((position.y() - target.y()) * picture.height() / target.height());
    if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height()) return std::nullopt;
    return QPoint(static_cast<int>(x), static_cast<int>(y));
}

QPoint nearestPicturePixel(QPointF position, QRect target, QSize picture) {
    if (target.isEmpty() || picture.isEmpty()) return {};
    const double x = std::floor((position.x() - target.x()) * picture.width() / target.width());
    const double y = std::floor((position.y() - target.y()) * picture.height() / target.height());
    return QPoint(static_cast<int>(std::clamp(x, 0.0, picture.width() - 1.0)),
                  static_cast<int>(std::clamp(y, 0.0, picture.height() - 1.0)));
}

}  // namespace corvan::shell
