#pragma once

// TForm1, the main window: a fixed client area filled by `Image1`, which shows the game's
// 640x480 screen surface at a scale (1 gives the original's 640x480), or fills the screen with
// it in fullscreen. Notices and the mark of a story that reads on by itself show over the
// picture, never in it; the Menu key and Shift with the right button open the window's own
// menu (the right button alone is the game's). It drives the game: `Timer1` every 60 ms, the idle
// handler every 20 ms, the mouse of `Image1`, the keys, and the shutdown when the window closes.
// Every call into the game goes through `callGame`, which refreshes `Image1` afterwards so that
// whatever the game drew shows.
//
// Every event goes to the game through the reader's layer (reader/reader.h), which turns the
// keys of the shared key map into the clicks and pointer moves they stand for.

#include <QElapsedTimer>
#include <QMenu>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "game/game.h"
#include "reader/reader.h"
#include "render/layers.h"
#include "shell/picture_note.h"
#include "shell/screen_view.h"

namespace corvan::shell {

class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTimer1Milliseconds = 60;
    static constexpr int kIdleMilliseconds = 20;

    MainWindow();

    // The game this window drives and the reader's layer over it; set once, before
    // `startTimers`.
    void setGame(Game& game, Reader& reader);

    ScreenView& image1() { return *image1_; }
    QTimer& timer1() { return timer1_; }

    void startTimers();

    // Runs one handler of the game, unless the game has been shut down. Calls may nest (a
    // transition lets the timer and the mouse in between its frames); the shutdown waits until
    // the outermost call has returned.
    void callGame(const std::function<void(Game&)>& handler);

    // Shows `screen`, the game's screen surface, in Image1: the part drawn on since the last
    // time, at the next paint or `now`; all of it when Image1 showed another bitmap before. A
    // transition's frame shows the whole surface at once.
    void showScreenChanges(const Bitmap& screen, bool now);
    void showWholeScreen(const Bitmap& screen);

    // True while the idle timer rests because the game has nothing to do.
    bool idleResting() const { return restingSince_.isValid(); }

    // True while a call into the game is running.
    bool inGame() const { return depth_ > 0; }
    // True once the game's shutdown handler has run.
    bool gameEnded() const { return ended_; }

    // Gives the window its border or takes it away; the client area keeps its size. In
    // fullscreen the choice is kept for the window's return.
    void setBordered(bool bordered);
    bool bordered() const { return bordered_; }

    // The windowed client's size: the picture's, 640x480 at its scale.
    void setWindowPicture(QSize size);
    // The windowed client is 640x480 times this scale.
    void setScale(int scale) { setWindowPicture(QSize(kScreenWidth, kScreenHeight) * scale); }
    double windowScale() const {
        return static_cast<double>(windowPicture_.width()) / kScreenWidth;
    }
    // Fullscreen: the picture fills the screen as its scaling says.
    void setFullScreenMode(bool on);
    bool fullScreenMode() const { return fullScreen_; }
    // How the picture is scaled in the window and in fullscreen.
    void setScaling(Scaling window, Scaling fullScreen);
    // How many of the window's pixels one game pixel takes now (wider in fullscreen).
    double pictureScale() const;

    // A notice over the picture for about two seconds (PictureNote::kNoticeMilliseconds).
    void showNotice(const QString& text);
    PictureNote& notice() { return *notice_; }
    // The mark shown while the story reads on by itself.
    PictureNote& readingMark() { return *readingMark_; }
    // The window's own menu: player settings, fullscreen, screenshot. Opened at `at` (global),
    // or over the picture's middle.
    void openContextMenu(std::optional<QPoint> at = std::nullopt);
    QMenu& contextMenu() { return contextMenu_; }

    // Runs the game's shutdown now if it has not run yet (the program is ending).
    void endGame();

signals:
    // The window has closed and the game has shut down: the program ends.
    void closed();
    // The player switched fullscreen on or off, asked for a screenshot, or turned the music up
    // or down (by this many points of 100).
    void fullScreenToggled(bool on);
    void screenshotRequested();
    void musicVolumeStep(int points);
    // The player hid the message frame, or brought it back.
    void frameHiddenChanged(bool hidden);
    // The player asked for the player's settings window.
    void playerSettingsRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void idle();
    void restIfIdle();
    void wakeFromRest();
    // The bitmap to show for one the game shows: for its screen, what the reader shows over it.
    const Bitmap& shownFor(const Bitmap& bitmap) const;
    // What a key asked of the window.
    void doHostRequest(Reader::HostRequest request);
    // The notes follow the picture's place and scale.
    void placeNotes();
    void showReadingMark();

    ScreenView* image1_ = nullptr;
    QTimer timer1_;
    QTimer idleTimer_;
    Game* game_ = nullptr;
    Reader* reader_ = nullptr;
    int depth_ = 0;
    bool closing_ = false;
    bool ended_ = false;
    bool bordered_ = true;
    QSize windowPicture_;
    Scaling windowScaling_ = Scaling::Whole;
    Scaling fullScreenScaling_ = Scaling::Whole;
    bool fullScreen_ = false;
    PictureNote* notice_ = nullptr;
    PictureNote* readingMark_ = nullptr;
    QMenu contextMenu_;
    QPoint windowedPlace_;  // where the window was before fullscreen
    bool frameHidden_ = false;
    bool timersStarted_ = false;
    QElapsedTimer restingSince_;  // valid while the idle timer rests
};

}  // namespace corvan::shell
