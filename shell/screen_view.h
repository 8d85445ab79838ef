#pragma once

// An image control: shows one of the game's finished 24-bit bitmaps, scaled to the control (at
// an integer scale with crisp pixels, or smoothly to the largest rectangle of its shape) with
// black bars around it, and reports the mouse in the bitmap's own pixels. The bitmap stays the
// game's; the view only reads it when it paints, so drawing on it shows at the next paint, as on
// the original image control's canvas.

#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <optional>

#include "game/game.h"
#include "render/bitmap.h"

namespace corvan::shell {

class ScreenView : public QWidget {
    Q_OBJECT
public:
    // `picture` is the size of the bitmaps the view shows; the view starts at that size.
    ScreenView(QSize picture, QWidget* parent);

    // The bitmap to show (not owned; nullptr shows black).
    void setBitmap(const Bitmap* bitmap) { bitmap_ = bitmap; }
    const Bitmap* bitmap() const { return bitmap_; }

    // Smooth scaling to the largest rectangle of the picture's shape, instead of the largest
    // integer scale.
    void setSmooth(bool smooth);
    // Moves the picture by this many of the view's pixels (the window shake in fullscreen).
    void setPictureOffset(QPoint offset);

    // The keyboard's highlight, a rectangle of the picture outlined over it (never drawn into
    // the bitmap); nullopt for none.
    void setHighlight(std::optional<Rect> area);
    std::optional<Rect> highlight() const { return highlight_; }

    // Where the picture is drawn, in the view's coordinates.
    QRect pictureTarget() const;

    // Paints the part of the view that shows rectangle `r` of the picture: later (`update`) or
    // now (`repaint`). An empty rectangle paints nothing.
    void updatePicture(const Rect& r);
    void repaintPicture(const Rect& r);

    // The game's name for a Qt button; nullopt for buttons the game does not know.
    static std::optional<MouseButton> gameButton(Qt::MouseButton button);

signals:
    // Positions in the picture's pixels. Presses and moves over the black bars are not reported;
    // a release always is, at the nearest pixel, so that a press never stays held.
    void pressed(corvan::MouseButton button, QPoint position);
    void moved(QPoint position);
    void released(corvan::MouseButton button, QPoint position);
    // One step of the mouse wheel: -1 up, +1 down.
    void wheeled(int steps);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // A double click is a second press to the game: each press of a quick pair turns a page.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The view's rectangle that shows rectangle `r` of the picture.
    QRect viewRect(const Rect& r) const;
    void paintHighlight(QPainter& painter);

    QSize picture_;
    const Bitmap* bitmap_ = nullptr;
    bool smooth_ = false;
    QPoint offset_;
    std::optional<Rect> highlight_;
    int wheelAngle_ = 0;  // eighths of a degree not yet turned into steps
};

}  // namespace corvan::shell
