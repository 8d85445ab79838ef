#include "shell/picture_note.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace corvan::shell {

namespace {
// In game pixels: the text as tall as the game's own, and its box clear of the picture's edge.
constexpr int kTextHeight = 16;
constexpr int kPadding = 6;
constexpr int kMargin = 8;
}  // namespace

PictureNote::PictureNote(Corner corner, QWidget* parent) : QWidget(parent), corner_(corner) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    setFont(font);
    hideTimer_.setSingleShot(true);
    connect(&hideTimer_, &QTimer::timeout, this, [this] { showText(QString()); });
    hide();
}

void PictureNote::showText(const QString& text, int milliseconds) {
    hideTimer_.stop();
    if (milliseconds > 0) hideTimer_.start(milliseconds);
    if (text == text_) return;
    text_ = text;
    layOut();
    setVisible(!text_.isEmpty());
    update();
}

void PictureNote::place(QRect picture, double scale) {
    picture_ = picture;
    scale_ = scale;
    layOut();
}

void PictureNote::layOut() {
    QFont f = font();
    f.setPixelSize(std::max(8, static_cast<int>(std::lround(kTextHeight * scale_))));
    setFont(f);
    const QFontMetrics metrics(f);
    const int padding = static_cast<int>(std::lround(kPadding * scale_));
    const int margin = static_cast<int>(std::lround(kMargin * scale_));
    const QSize size = metrics.boundingRect(QRect(), Qt::AlignLeft, text_).size() +
                       QSize(2 * padding, 2 * padding);
    const int x = corner_ == Corner::TopLeft ? picture_.left() + margin
                                             : picture_.right() + 1 - margin - size.width();
    setGeometry(QRect(QPoint(x, picture_.top() + margin), size));
    raise();
}

void PictureNote::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double radius = 4 * scale_;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 200));
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
    painter.setPen(Qt::white);
    const int padding = static_cast<int>(std::lround(kPadding * scale_));
    painter.drawText(rect().adjusted(padding, padding, -padding, -padding), Qt::AlignLeft, text_);
}

}  // namespace corvan::shell
