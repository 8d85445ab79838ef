#pragma once

// How the game's fixed-size pictures (the 640x480 screen, the 576x96 message window) are laid
// out on today's screens: an integer scale that keeps every pixel square and crisp, or, when the
// player asks for smooth scaling in fullscreen, the largest rectangle of the picture's shape;
// black bars fill the rest. Positions on the screen map back to exactly the picture pixel they
// fall in.

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <optional>

namespace corvan::shell {

// The largest integer scale (at least 1) at which `picture` plus the window frame `frame` fits
// in `available`.
int fittingScale(QSize available, QSize picture, QSize frame = QSize());

// Where the picture goes in an area of `area`: centred, at the largest integer scale that fits
// or, with `smooth`, as large as its shape allows.
QRect pictureRect(QSize area, QSize picture, bool smooth);

// The picture pixel under `position` in a picture shown at `target`; nullopt outside it.
std::optional<QPoint> picturePixel(QPointF position, QRect target, QSize picture);

// The same, for a position outside the picture too: the nearest pixel on its edge.
QPoint nearestPicturePixel(QPointF position, QRect target, QSize picture);

}  // namespace corvan::shell
