#pragma once

// TForm1, the main window: a fixed 640x480 client area filled by `Image1`, which shows the
// game's screen surface. It drives the game: `Timer1` every 60 ms, the idle handler every 20 ms,
// the mouse of `Image1`, and the shutdown when the window closes. Every call into the game goes
// through `callGame`, which refreshes `Image1` afterwards so that whatever the game drew shows.

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "engine/game.h"
#include "shell/screen_view.h"

namespace corvan::shell {

class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTimer1Milliseconds = 60;
    static constexpr int kIdleMilliseconds = 20;

    MainWindow();

    // The game this window drives; set once, before `startTimers`.
    void setGame(Game& game);

    ScreenView& image1() { return *image1_; }
    QTimer& timer1() { return timer1_; }

    void startTimers();

    // Runs one handler of the game, unless the game has been shut down. Calls may nest (a
    // transition lets the timer and the mouse in between its frames); the shutdown waits until
    // the outermost call has returned.
    void callGame(const std::function<void(Game&)>& handler);

    // True while a call into the game is running.
    bool inGame() const { return depth_ > 0; }
    // True once the game's shutdown handler has run.
    bool gameEnded() const { return ended_; }

    // Gives the window its border or takes it away; the client area stays 640x480.
    void setBordered(bool bordered);
    bool bordered() const { return !windowFlags().testFlag(Qt::FramelessWindowHint); }

    // Runs the game's shutdown now if it has not run yet (the program is ending).
    void endGame();

signals:
    // The window has closed and the game has shut down: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void idle();

    ScreenView* image1_ = nullptr;
    QTimer timer1_;
    QTimer idleTimer_;
    Game* game_ = nullptr;
    int depth_ = 0;
    bool closing_ = false;
    bool ended_ = false;
};

}  // namespace corvan::shell
