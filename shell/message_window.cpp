#include "shell/message_window.h"

#include <algorithm>

#include "render/layers.h"

namespace corvan::shell {

MessageWindow::MessageWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), frame_(kFrameWidth, kFrameHeight) {
    setObjectName(QStringLiteral("TForm2"));
    // A floating panel: showing it does not take the focus from the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    move(kFirstLeft, kFirstTop);
    image1_ = new ScreenView(QSize(kFrameWidth, kFrameHeight), this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->move(0, 0);
    image1_->setBitmap(&frame_);
    setScale(1);
    // Any button drags the window.
    connect(image1_, &ScreenView::pressed, this,
            [this](MouseButton, QPoint p) { emit pressed(p); });
    connect(image1_, &ScreenView::moved, this, [this](QPoint p) { emit moved(p); });
    connect(image1_, &ScreenView::released, this, [this](MouseButton, QPoint) { emit released(); });
}

void MessageWindow::setScale(double scale) {
    const QSize size = (QSizeF(kFrameWidth, kFrameHeight) * std::max(scale, 0.25)).toSize();
    setFixedSize(size);
    image1_->resize(size);
}

void MessageWindow::setScaling(Scaling scaling) {
    image1_->setScaling(scaling);
}

void MessageWindow::showFrame(const Bitmap& frame) {
    frame_ = frame;
    image1_->update();
    if (isHidden()) show();
}

}  // namespace corvan::shell
