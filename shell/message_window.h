#pragma once

// TForm2, the movable message window: a borderless 576x96 window whose `Image1` shows the text
// frame while the frame mode is movable (scaled as the main window's picture is). It is created
// hidden, first appears at (2, 2) and keeps wherever the player drags it for the rest of the run.
// Its mouse goes to the game's drag handlers (through `pressed`, `moved`, `released`), never to the
// story.

#include <QWidget>

#include "render/bitmap.h"
#include "shell/screen_view.h"

namespace corvan::shell {

class MessageWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFirstLeft = 2;
    static constexpr int kFirstTop = 2;

    // Stays above `owner` (the main window) so that it cannot be lost behind it.
    explicit MessageWindow(QWidget* owner);

    // Copies the frame into the window's image and shows the window if it is hidden.
    void showFrame(const Bitmap& frame);

    // The window is 576x96 times this scale, and its picture scaled so, as the main window's
    // picture is.
    void setScale(double scale);
    void setScaling(Scaling scaling);

    ScreenView& image1() { return *image1_; }
    const Bitmap& frame() const { return frame_; }

signals:
    void pressed(QPoint position);
    void moved(QPoint position);
    void released();

private:
    ScreenView* image1_ = nullptr;
    Bitmap frame_;
};

}  // namespace corvan::shell
