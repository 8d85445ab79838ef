// The pages of the `view` screens: gallery 1's five album pages (a511-a515), gallery 2's five
// pages of the story's places (a611-a615), the scene replay menu (A531), and the empty frame
// that stands in for a gallery picture the demo has none of. The game knows only where the
// thumbnails and buttons lie (hotel/gallery.cpp, hotel/scene_replay.cpp); these pages put them
// there, painted from the finished pictures. No words are painted: the buttons carry signs.

#include <cmath>
#include <string>

#include "demo/make_pictures/kit/photo.h"
#include "demo/make_pictures/kit/shapes.h"
#include "demo/make_pictures/pictures.h"
#include "hotel/gallery_pictures.h"

namespace corvan::art {

namespace {

// A hit area of the game's: a point on its edge lies outside, so the painting keeps inside.
struct Area {
    double left, top, right, bottom;
    double cx() const { return (left + right) / 2; }
    double cy() const { return (top + bottom) / 2; }
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

constexpr Area kCloseButton{512, 14, 604, 44};
constexpr Area kSceneCloseButton{512, 16, 604, 54};
constexpr Area kPreviousPage{490, 436, 546, 470};
constexpr Area kNextPage{552, 436, 606, 470};

Area gallery1Item(int i) {
    const double x = 80 + 130 * (i % 4), y = 90 + 182 * (i / 4);
    return {x, y, x + 130, y + 132};
}
Area gallery2Item(int i) {
    const double x = 16 + 156 * (i % 4), y = 72 + 116 * (i / 4);
    return {x, y, x + 145, y + 112};
}
Area sceneCell(int i) {
    const double x = 29 + 195 * (i % 3), y = 71 + 44 * (i / 3);
    return {x, y, x + 188, y + 40};
}

// The hotel's crest: a crow in a ring, `r` its radius.
void crest(Canvas& c, double cx, double cy, double r, Rgb colour, double op = 1.0) {
    ring(c, cx, cy, r * 0.86, r, colour, op);
    const double s = r / 20;
    ellipse(c, cx - 1 * s, cy + 1 * s, 8 * s, 5.5 * s, colour, op);    // body
    ellipse(c, cx + 6 * s, cy - 4 * s, 3.6 * s, 3.4 * s, colour, op);  // head
    polygon(c, {{cx + 9 * s, cy - 5.5 * s}, {cx + 14 * s, cy - 3.5 * s}, {cx + 9 * s, cy - 2 * s}},
            colour, op);
    polygon(c, {{cx - 8 * s, cy}, {cx - 15 * s, cy + 5 * s}, {cx - 7 * s, cy + 4 * s}}, colour, op);
    polygon(c, {{cx - 4 * s, cy - 2 * s}, {cx + 3 * s, cy - 1 * s}, {cx - 8 * s, cy - 9 * s}},
            colour, op);
    line(c, {cx - 1 * s, cy + 6 * s}, {cx - 2 * s, cy + 11 * s}, 1.2 * s, colour, op);
    line(c, {cx + 2 * s, cy + 6 * s}, {cx + 2 * s, cy + 11 * s}, 1.2 * s, colour, op);
}

// A raised brass plate filling `a` less a margin.
void plate(Canvas& c, const Area& a, double margin = 2) {
    rect(c, a.left + margin, a.top + margin, a.right - margin, a.bottom - margin,
         [&a](double, double y) {
             return mix(Rgb{226, 190, 110}, Rgb{140, 100, 44}, (y - a.top) / a.height());
         });
    rect(c, a.left + margin, a.top + margin, a.right - margin, a.top + margin + 1.5,
         Rgb{250, 226, 160});
}

void closeSign(Canvas& c, const Area& a) {
    plate(c, a);
    const double s = a.height() * 0.25;
    line(c, {a.cx() - s, a.cy() - s}, {a.cx() + s, a.cy() + s}, 3.5, {60, 36, 20});
    line(c, {a.cx() - s, a.cy() + s}, {a.cx() + s, a.cy() - s}, 3.5, {60, 36, 20});
}

void pageSigns(Canvas& c) {
    for (const int side : {-1, 1}) {
        const Area& a = side < 0 ? kPreviousPage : kNextPage;
        plate(c, a);
        const double s = a.height() * 0.28;
        polygon(c,
                {{a.cx() - side * s, a.cy() - s},
                 {a.cx() + side * s, a.cy()},
                 {a.cx() - side * s, a.cy() + s}},
                Rgb{60, 36, 20});
    }
}

// Five dots at the bottom left, the page's own filled.
void pageDots(Canvas& c, int page, Rgb colour) {
    for (int i = 1; i <= gallery::kPageCount; ++i) {
        const double x = 40 + (i - 1) * 22, y = 453;
        if (i == page) {
            ellipse(c, x, y, 6, 6, colour);
        } else {
            ring(c, x, y, 4.5, 6, colour);
        }
    }
}

// An empty place: a recess with the crest pressed into it.
void emptyPlace(Canvas& c, const Area& a, Rgb recess) {
    rect(c, a.left, a.top, a.right, a.bottom, recess);
    rect(c, a.left, a.top, a.right, a.top + 2, recess * 0.6);
    rect(c, a.left, a.top, a.left + 2, a.bottom, recess * 0.6);
    crest(c, a.cx(), a.cy(), std::min(a.width(), a.height()) * 0.28, recess * 1.35);
}

void clothBackground(Canvas& c, Rgb cloth) {
    // A plain weave, lighter towards the top: no noise, so the pages stay small files.
    c.fill({}, [cloth](double x, double y) {
        Rgb weave = cloth * (1.05 - 0.15 * y / kHeight);
        if (static_cast<int>(x + y) % 4 == 0) weave = weave * 0.94;
        return weave;
    });
    // A gold rule round the page, and the crest at its top left.
    for (const double inset : {6.0, 9.0}) {
        rect(c, inset, inset, kWidth - inset, inset + 1, Rgb{190, 150, 70});
        rect(c, inset, kHeight - inset - 1, kWidth - inset, kHeight - inset, Rgb{190, 150, 70});
        rect(c, inset, inset, inset + 1, kHeight - inset, Rgb{190, 150, 70});
        rect(c, kWidth - inset - 1, inset, kWidth - inset, kHeight - inset, Rgb{190, 150, 70});
    }
    crest(c, 44, 40, 22, {200, 160, 80});
    rect(c, 76, 38, 480, 40, Rgb{190, 150, 70});
}

}  // namespace

Canvas drawPictureGalleryPage(const Shelf& shelf, int page) {
    Canvas c;
    clothBackground(c, {40, 64, 50});
    const auto& names = gallery::kGallery1Pictures[static_cast<std::size_t>(page - 1)];
    for (int i = 0; i < 8; ++i) {
        const Area a = gallery1Item(i);
        // A cream mount with the picture in its upper part and a rule under it.
        const Area mount{a.left + 6, a.top + 4, a.right - 6, a.bottom - 4};
        rect(c, mount.left + 3, mount.top + 4, mount.right + 3, mount.bottom + 4, Rgb{0, 0, 0},
             0.35);
        rect(c, mount.left, mount.top, mount.right, mount.bottom, Rgb{232, 224, 204});
        const Area picture{mount.left + 7, mount.top + 8, mount.right - 7, mount.top + 8 + 88};
        if (const Bitmap* found = shelf.find(names[static_cast<std::size_t>(i)])) {
            layPicture(c, *found, {picture.cx(), picture.cy(), picture.width(), picture.height()},
                       Tone::Colour);
        } else {
            emptyPlace(c, picture, {150, 142, 124});
        }
        rect(c, mount.left + 20, mount.bottom - 12, mount.right - 20, mount.bottom - 11,
             Rgb{170, 150, 110});
    }
    closeSign(c, kCloseButton);
    pageSigns(c);
    pageDots(c, page, {200, 160, 80});
    return c;
}

Canvas drawPlacesGalleryPage(const Shelf& shelf, int page) {
    Canvas c;
    clothBackground(c, {70, 40, 30});
    const auto& names = gallery::kGallery2Pictures[static_cast<std::size_t>(page - 1)];
    for (int i = 0; i < 12; ++i) {
        const std::string_view name = names[static_cast<std::size_t>(i)];
        if (name.empty()) continue;
        const Area a = gallery2Item(i);
        // A thin brass frame round each picture.
        rect(c, a.left + 4, a.top + 5, a.right + 2, a.bottom + 3, Rgb{0, 0, 0}, 0.35);
        rect(c, a.left + 1, a.top + 1, a.right - 1, a.bottom - 1, Rgb{190, 150, 80});
        const Area picture{a.left + 5, a.top + 5, a.right - 5, a.bottom - 5};
        if (const Bitmap* found = shelf.find(name)) {
            layPicture(c, *found, {picture.cx(), picture.cy(), picture.width(), picture.height()},
                       Tone::Colour);
        } else {
            emptyPlace(c, picture, {60, 40, 32});
        }
    }
    closeSign(c, kCloseButton);
    pageSigns(c);
    pageDots(c, page, {200, 160, 80});
    return c;
}

Canvas drawSceneMenu(const Shelf& shelf) {
    // The scenes the demo has, and the picture each cell shows of it.
    constexpr std::string_view kScenePictures[gallery::kSceneCellCount] = {"A001", "A200", "A202",
                                                                           "A204", "A205", "A206"};
    Canvas c;
    clothBackground(c, {30, 34, 56});
    for (int i = 0; i < gallery::kSceneCellCount; ++i) {
        const Area a = sceneCell(i);
        if (gallery::kSceneChunks[static_cast<std::size_t>(i)].empty()) continue;  // no scene here
        const Bitmap* found = kScenePictures[i].empty() ? nullptr : shelf.find(kScenePictures[i]);
        rect(c, a.left + 1, a.top + 1, a.right - 1, a.bottom - 1,
             found ? Rgb{190, 150, 80} : Rgb{52, 56, 80});
        if (!found) {
            crest(c, a.left + 20, a.cy(), 10, {80, 86, 116});
            continue;
        }
        // A strip of the scene's picture, and a rule with as many dots as the cell's number.
        layPicture(c, *found, {a.left + 30, a.cy(), 50, 34}, Tone::Colour);
        rect(c, a.left + 62, a.top + 4, a.right - 4, a.bottom - 4, Rgb{40, 30, 26});
        rect(c, a.left + 70, a.cy() - 0.5, a.right - 14, a.cy() + 0.5, Rgb{190, 150, 80});
        for (int dot = 0; dot <= i; ++dot)
            ellipse(c, a.left + 78 + dot * 12, a.cy() - 8, 2.4, 2.4, Rgb{230, 200, 130});
    }
    closeSign(c, kSceneCloseButton);
    return c;
}

Canvas drawEmptyFrame() {
    Canvas c;
    clothBackground(c, {44, 44, 50});
    emptyPlace(c, {120, 90, 520, 390}, {70, 70, 80});
    return c;
}

}  // namespace corvan::art
