#pragma once

// A short text the window shows over the game's picture: a notice such as
// 「スクリーンショットを保存しました」 for about two seconds, or the mark that the story reads on
// by itself. It is a child widget on top of the picture, never drawn into the game's screen
// bitmap, so screenshots, frame hashes and golden runs do not see it; the mouse goes through it
// to the picture. Its text grows with the picture's scale.

#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace corvan::shell {

class PictureNote : public QWidget {
    Q_OBJECT
public:
    enum class Corner { TopLeft, TopRight };
    static constexpr int kNoticeMilliseconds = 2000;

    PictureNote(Corner corner, QWidget* parent);

    // Shows the text (lines parted by '\n') until it changes, or for `milliseconds` when that
    // is more than 0; an empty text hides the note.
    void showText(const QString& text, int milliseconds = 0);
    QString text() const { return text_; }
    // The hide timer of a note shown for a while.
    const QTimer& hideTimer() const { return hideTimer_; }

    // Where the picture is in the parent, and how many of its pixels a game pixel takes.
    void place(QRect picture, double scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void layOut();

    Corner corner_;
    QString text_;
    QRect picture_;
    double scale_ = 1.0;
    QTimer hideTimer_;
};

}  // namespace corvan::shell
