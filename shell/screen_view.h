#pragma once

// An image control: shows one of the game's finished 24-bit bitmaps at its own size and
// reports the mouse in the bitmap's pixels. The bitmap stays the game's; the view only reads
// it when it paints, so drawing on it shows at the next paint, as on the original image
// control's canvas.

#include <QPoint>
#include <QWidget>
#include <optional>

#include "engine/game.h"
#include "render/bitmap.h"

namespace corvan::shell {

class ScreenView : public QWidget {
    Q_OBJECT
public:
    ScreenView(int width, int height, QWidget* parent);

    // The bitmap to show (not owned; nullptr shows black).
    void setBitmap(const Bitmap* bitmap) { bitmap_ = bitmap; }
    const Bitmap* bitmap() const { return bitmap_; }

    // The game's name for a Qt button; nullopt for buttons the game does not know.
    static std::optional<MouseButton> gameButton(Qt::MouseButton button);

signals:
    void pressed(corvan::MouseButton button, QPoint position);
    void moved(QPoint position);
    void released(corvan::MouseButton button, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // A double click is a second press to the game: each press of a quick pair turns a page.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const Bitmap* bitmap_ = nullptr;
};

}  // namespace corvan::shell
