#include "shell/picture_layout.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace corvan::shell {

namespace {

constexpr std::array<std::pair<Scaling, std::string_view>, 4> kScalingNames{{
    {Scaling::Auto, "auto"},
    {Scaling::Whole, "whole"},
    {Scaling::Sharp, "sharp"},
    {Scaling::Smooth, "smooth"},
}};

QSize wholeSize(QSize area, QSize picture) {
    return picture * fittingScale(area, picture);
}

// What auto means in this area: whole while that fills most of it.
Scaling resolved(QSize area, QSize picture, Scaling scaling) {
    if (scaling != Scaling::Auto) return scaling;
    const QSize whole = wholeSize(area, picture);
    const QSize largest = picture.scaled(area, Qt::KeepAspectRatio);
    const bool fits = whole.width() <= area.width() && whole.height() <= area.height();
    return fits && whole.height() >= kAutoWholeShare * largest.height() ? Scaling::Whole
                                                                        : Scaling::Sharp;
}

// The picture pixel, unclipped, that shows in the middle of the screen pixel under `position`:
// at a scale that is no whole number, the one whose colour fills most of that screen pixel.
std::pair<double, double> pictureCoordinates(QPointF position, QRect target, QSize picture) {
    const auto along = [](double at, int start, int shown, int size) {
        return std::floor((std::floor(at) + 0.5 - start) * size / shown);
    };
    return {along(position.x(), target.x(), target.width(), picture.width()),
            along(position.y(), target.y(), target.height(), picture.height())};
}

}  // namespace

std::string_view scalingName(Scaling scaling) {
    for (const auto& [s, name] : kScalingNames) {
        if (s == scaling) return name;
    }
    return "auto";
}

std::optional<Scaling> scalingNamed(std::string_view name) {
    const QString wanted = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    for (const auto& [s, n] : kScalingNames) {
        if (wanted.compare(QLatin1StringView(n.data(), static_cast<qsizetype>(n.size())),
                           Qt::CaseInsensitive) == 0) {
            return s;
        }
    }
    return std::nullopt;
}

int fittingScale(QSize available, QSize picture, QSize frame) {
    if (picture.isEmpty()) return 1;
    const int byWidth = (available.width() - frame.width()) / picture.width();
    const int byHeight = (available.height() - frame.height()) / picture.height();
    return std::max(1, std::min(byWidth, byHeight));
}

PictureFit fitPicture(QSize area, QSize picture, Scaling scaling) {
    if (picture.isEmpty() || area.isEmpty()) return {QRect(QPoint(0, 0), picture), Scaling::Whole};
    PictureFit fit;
    fit.scaling = resolved(area, picture, scaling);
    const QSize size = fit.scaling == Scaling::Whole ? wholeSize(area, picture)
                                                     : picture.scaled(area, Qt::KeepAspectRatio);
    fit.target =
        QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), size);
    return fit;
}

QSize windowPictureSize(QSize available, QSize picture, Scaling scaling, QSize frame) {
    const QSize area = (available - frame).expandedTo(QSize(1, 1));
    return fitPicture(area, picture, scaling).target.size();
}

std::optional<QPoint> picturePixel(QPointF position, QRect target, QSize picture) {
    if (target.isEmpty() || picture.isEmpty()) return std::nullopt;
    const auto [x, y] = pictureCoordinates(position, target, picture);
    if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height()) return std::nullopt;
    return QPoint(static_cast<int>(x), static_cast<int>(y));
}

QPoint nearestPicturePixel(QPointF position, QRect target, QSize picture) {
    if (target.isEmpty() || picture.isEmpty()) return {};
    const auto [x, y] = pictureCoordinates(position, target, picture);
    return QPoint(static_cast<int>(std::clamp(x, 0.0, picture.width() - 1.0)),
                  static_cast<int>(std::clamp(y, 0.0, picture.height() - 1.0)));
}

}  // namespace corvan::shell
