#pragma once

// How the game's fixed-size pictures (the 640x480 screen, the 576x96 message window) are laid
// out on today's screens, and how their pixels reach it:
//   whole   the largest whole-number scale: every pixel a crisp square of the same size
//   sharp   as large as the picture's shape allows, each pixel scaled up by a whole number
//           without smoothing and then down to the size with a smooth filter, so that pixels
//           stay square and text sharp while the picture fills the screen
//   smooth  as large as the shape allows, smoothly
//   auto    whole where the whole-number scale fills most of the area, sharp elsewhere
// Black bars fill the rest. Positions on the screen map back to exactly the picture pixel they
// fall in, whatever the scaling.

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <optional>
#include <string_view>

namespace corvan::shell {

enum class Scaling { Auto, Whole, Sharp, Smooth };

// The setting's name for a scaling ("auto", "whole", "sharp", "smooth"), and back in any letter
// case; nullopt for a name that is none.
std::string_view scalingName(Scaling scaling);
std::optional<Scaling> scalingNamed(std::string_view name);

// Auto keeps the whole-number scale while its picture is at least this share of the height (and
// so of the width) that the largest picture of its shape would take: 2x on 1920x1080 (960 of
// 1080) and 1920x1200 (960 of 1200), but the sharp 1024x768 on 1366x768, where 1x is 480 of 768.
inline constexpr double kAutoWholeShare = 0.75;

// The largest integer scale (at least 1) at which `picture` plus the window frame `frame` fits
// in `available`.
int fittingScale(QSize available, QSize picture, QSize frame = QSize());

// Where the picture goes in an area, and how its pixels are scaled there.
struct PictureFit {
    QRect target;
    Scaling scaling = Scaling::Whole;  // never Auto: what Auto chose
};

// The picture centred in an area of `area` with the given scaling. A picture too big for the
// area at the whole-number scale is shown at its own size, cut at the edges.
PictureFit fitPicture(QSize area, QSize picture, Scaling scaling);

// The size of a window's picture on a screen whose free area is `available`, with a window
// frame of `frame` around it: the largest whole-number scale, or as large as the shape allows
// for sharp and smooth scaling; auto chooses between them as `fitPicture` does.
QSize windowPictureSize(QSize available, QSize picture, Scaling scaling, QSize frame = QSize());

// The picture pixel under `position` in a picture shown at `target`; nullopt outside it.
std::optional<QPoint> picturePixel(QPointF position, QRect target, QSize picture);

// The same, for a position outside the picture too: the nearest pixel on its edge.
QPoint nearestPicturePixel(QPointF position, QRect target, QSize picture);

}  // namespace corvan::shell
