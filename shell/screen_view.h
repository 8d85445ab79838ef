#pragma once

// An image control: shows one of the game's finished 24-bit bitmaps, scaled to the control as
// its scaling says (shell/picture_layout.h) with black bars around it, and reports the mouse in
// the bitmap's own pixels. The bitmap stays the game's; the view only reads it when it paints,
// so drawing on it shows at the next paint, as on the original image control's canvas. Only
// the part of the view that needs painting is painted, at any scaling: a game that waits costs
// its wait marker.

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <optional>

#include "game/game.h"
#include "render/bitmap.h"
#include "shell/picture_layout.h"

namespace corvan::shell {

class ScreenView : public QWidget {
    Q_OBJECT
public:
    // `picture` is the size of the bitmaps the view shows; the view starts at that size.
    ScreenView(QSize picture, QWidget* parent);

    // The bitmap to show (not owned; nullptr shows black).
    void setBitmap(const Bitmap* bitmap) { bitmap_ = bitmap; }
    const Bitmap* bitmap() const { return bitmap_; }

    // How the picture is scaled to the view (whole-number by default).
    void setScaling(Scaling scaling);
    Scaling scaling() const { return scaling_; }
    // Moves the picture by this many of the view's pixels (the window shake in fullscreen).
    void setPictureOffset(QPoint offset);

    // The keyboard's highlight, a rectangle of the picture outlined over it (never drawn into
    // the bitmap); nullopt for none.
    void setHighlight(std::optional<Rect> area);
    std::optional<Rect> highlight() const { return highlight_; }

    // Where the picture is drawn, in the view's coordinates, and how it is scaled there.
    PictureFit pictureFit() const;
    QRect pictureTarget() const { return pictureFit().target; }

    // Paints the part of the view that shows rectangle `r` of the picture: later (`update`) or
    // now (`repaint`). An empty rectangle paints nothing.
    void updatePicture(const Rect& r);
    void repaintPicture(const Rect& r);

    // The game's name for a Qt button; nullopt for buttons the game does not know.
    static std::optional<MouseButton> gameButton(Qt::MouseButton button);

signals:
    // Positions in the picture's pixels. Presses and moves over the black bars are not reported;
    // a release always is, at the nearest pixel, so that a press never stays held. Shift with
    // the right button is the window's (its menu), and neither its press nor its release is
    // reported.
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
    // Draws the `shown` part of the picture smoothly into `part`, where `exposed` needs paint:
    // through a copy `factor` times as large made without smoothing when sharp.
    void paintFiltered(QPainter& painter, const QImage& image, QSize shown, QRect part,
                       QRect exposed, bool sharp);
    void paintHighlight(QPainter& painter);

    QSize picture_;
    const Bitmap* bitmap_ = nullptr;
    Scaling scaling_ = Scaling::Whole;
    // The picture in the painter's fast format, scaled up by a whole number for sharp scaling;
    // only the pixels about to be painted are copied into it.
    QImage filtered_;
    QPoint offset_;
    std::optional<Rect> highlight_;
    int wheelAngle_ = 0;
    bool windowsClick_ = false;  // the right button went down with Shift: the window's  // eighths
                                 // of a degree not yet turned into steps
};

}  // namespace corvan::shell
