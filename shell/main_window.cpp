#include "shell/main_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QScreen>
#include <algorithm>

#include "shell/key_input.h"

namespace corvan::shell {

namespace {
constexpr Qt::WindowFlags kBorderedFlags = Qt::Window | Qt::CustomizeWindowHint |
                                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
}  // namespace

MainWindow::MainWindow() : QWidget(nullptr, kBorderedFlags) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("コルヴァン"));
    setFocusPolicy(Qt::StrongFocus);
    image1_ = new ScreenView(QSize(kScreenWidth, kScreenHeight), this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->move(0, 0);
    notice_ = new PictureNote(PictureNote::Corner::TopLeft, image1_);
    readingMark_ = new PictureNote(PictureNote::Corner::TopRight, image1_);
    setScale(1);
    // The game hovers menu rows on every move, not only while a button is held.
    image1_->setMouseTracking(true);

    contextMenu_.addAction(QStringLiteral("環境設定..."), this,
                           [this] { doHostRequest(Reader::HostRequest::PlayerSettings); });
    QAction* fullScreen = contextMenu_.addAction(QStringLiteral("全画面表示"), this, [this] {
        doHostRequest(Reader::HostRequest::ToggleFullScreen);
    });
    fullScreen->setCheckable(true);
    connect(&contextMenu_, &QMenu::aboutToShow, this,
            [this, fullScreen] { fullScreen->setChecked(fullScreen_); });
    contextMenu_.addAction(QStringLiteral("スクリーンショットを保存"), this,
                           [this] { doHostRequest(Reader::HostRequest::Screenshot); });

    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setInterval(kTimer1Milliseconds);
    timer1_.setTimerType(Qt::PreciseTimer);
    idleTimer_.setInterval(kIdleMilliseconds);
    idleTimer_.setTimerType(Qt::PreciseTimer);

    connect(&timer1_, &QTimer::timeout, this,
            [this] { callGame([this](Game&) { reader_->timer(); }); });
    connect(&idleTimer_, &QTimer::timeout, this, &MainWindow::idle);
    connect(image1_, &ScreenView::pressed, this, [this](MouseButton button, QPoint p) {
        callGame([&](Game&) { reader_->mouseDown(button, p.x(), p.y()); });
    });
    connect(image1_, &ScreenView::moved, this,
            [this](QPoint p) { callGame([&](Game&) { reader_->mouseMove(p.x(), p.y()); }); });
    connect(image1_, &ScreenView::released, this, [this](MouseButton button, QPoint p) {
        callGame([&](Game&) { reader_->mouseUp(button, p.x(), p.y()); });
    });
    connect(image1_, &ScreenView::wheeled, this, [this](int steps) {
        const Key key = steps < 0 ? Key::WheelUp : Key::WheelDown;
        callGame([&](Game&) { doHostRequest(reader_->keyDown(key)); });
    });
}

void MainWindow::setGame(Game& game, Reader& reader) {
    game_ = &game;
    reader_ = &reader;
    image1_->setBitmap(&game.screen);
}

void MainWindow::startTimers() {
    if (closing_) return;
    timersStarted_ = true;
    timer1_.start();
    idleTimer_.start();
}

void MainWindow::callGame(const std::function<void(Game&)>& handler) {
    if (game_ == nullptr || ended_) return;
    if (depth_ == 0) wakeFromRest();
    ++depth_;
    handler(*game_);
    --depth_;
    showScreenChanges(game_->screen, false);
    image1_->setHighlight(reader_->keyboardHighlight());
    if (reader_->frameHidden() != frameHidden_) {
        frameHidden_ = reader_->frameHidden();
        emit frameHiddenChanged(frameHidden_);
    }
    showReadingMark();
    if (depth_ > 0) return;
    if (closing_) {
        endGame();
    } else {
        restIfIdle();
    }
}

// While the game waits for the player, an idle call would only draw its random number: the idle
// timer rests, so that a waiting game costs nothing but its wait marker, and the numbers it
// would have drawn are drawn at once when anything next calls the game.
void MainWindow::restIfIdle() {
    if (!timersStarted_) return;
    // A held skip key ends waits from the idle handler, so it keeps the timer going.
    if (reader_->wantsIdleCalls()) {
        if (!idleTimer_.isActive()) idleTimer_.start();
    } else {
        idleTimer_.stop();
        if (!restingSince_.isValid()) restingSince_.start();
    }
}

void MainWindow::wakeFromRest() {
    if (!restingSince_.isValid()) return;
    game_->SkipIdleCalls(restingSince_.elapsed() / kIdleMilliseconds);
    restingSince_.invalidate();
}

const Bitmap& MainWindow::shownFor(const Bitmap& bitmap) const {
    const bool gameScreen = game_ != nullptr && &bitmap == &game_->screen;
    return gameScreen && reader_ != nullptr ? reader_->picture() : bitmap;
}

void MainWindow::showScreenChanges(const Bitmap& gameScreen, bool now) {
    // The reader may show another picture over the game's (the backlog, the picture without its
    // frame); the game's screen then waits, its changes kept, until it shows again.
    const Bitmap& screen = shownFor(gameScreen);
    // Only what the game drew on is painted again: a game waiting for a click costs nothing
    // but its wait marker.
    Rect changed = screen.takeDamage();
    if (image1_->bitmap() != &screen) {
        image1_->setBitmap(&screen);
        changed = {0, 0, screen.width(), screen.height()};
    }
    if (now) {
        image1_->repaintPicture(changed);
    } else {
        image1_->updatePicture(changed);
    }
}

void MainWindow::showWholeScreen(const Bitmap& gameScreen) {
    const Bitmap& screen = shownFor(gameScreen);
    screen.takeDamage();
    image1_->setBitmap(&screen);
    image1_->repaint();
}

void MainWindow::idle() {
    // The idle handler comes only from the main event loop, never from inside another handler
    // that lets events through (a transition's frames, a modal dialog): the story's step is
    // never re-entered.
    if (depth_ > 0 || closing_) return;
    callGame([this](Game&) { reader_->idle(); });
}

void MainWindow::setBordered(bool bordered) {
    bordered_ = bordered;
    if (fullScreen_) return;
    // Qt drops the frameless hint when any title-bar button is asked for, so none is.
    const Qt::WindowFlags flags = bordered ? kBorderedFlags : Qt::Window | Qt::FramelessWindowHint;
    if (flags == windowFlags()) return;
    const bool wasVisible = isVisible();
    setWindowFlags(flags);  // hides the window
    if (wasVisible) show();
}

void MainWindow::setWindowPicture(QSize size) {
    windowPicture_ = size.expandedTo(QSize(1, 1));
    // A dialog border: the window is never resized by the player.
    if (!fullScreen_) setFixedSize(windowPicture_);
}

void MainWindow::setFullScreenMode(bool on) {
    if (on == fullScreen_) return;
    fullScreen_ = on;
    image1_->setScaling(on ? fullScreenScaling_ : windowScaling_);
    if (on) {
        windowedPlace_ = pos();
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        showFullScreen();
        // Without a window manager to honour the request, the window takes the screen itself.
        if (QScreen* s = screen()) setGeometry(s->geometry());
    } else {
        image1_->setPictureOffset(QPoint());
        showNormal();
        setWindowPicture(windowPicture_);
        setBordered(bordered_);
        move(windowedPlace_);
    }
    placeNotes();
}

void MainWindow::setScaling(Scaling window, Scaling fullScreen) {
    windowScaling_ = window;
    fullScreenScaling_ = fullScreen;
    image1_->setScaling(fullScreen_ ? fullScreenScaling_ : windowScaling_);
    placeNotes();
}

double MainWindow::pictureScale() const {
    return static_cast<double>(image1_->pictureTarget().width()) / kScreenWidth;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    image1_->setGeometry(rect());
    placeNotes();
}

void MainWindow::placeNotes() {
    const QRect picture = image1_->pictureTarget();
    notice_->place(picture, pictureScale());
    readingMark_->place(picture, pictureScale());
}

void MainWindow::showNotice(const QString& text) {
    notice_->showText(text, PictureNote::kNoticeMilliseconds);
}

void MainWindow::showReadingMark() {
    QString mark;
    if (reader_->skipping()) {
        mark = QStringLiteral("スキップ");
    } else if (reader_->autoAdvancing()) {
        mark = QStringLiteral("オート");
    }
    readingMark_->showText(mark);
}

void MainWindow::openContextMenu(std::optional<QPoint> at) {
    contextMenu_.popup(at.value_or(image1_->mapToGlobal(image1_->pictureTarget().center())));
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    // The right button alone is the game's; the Menu key opens the menu as a key press.
    if (event->reason() == QContextMenuEvent::Mouse &&
        event->modifiers().testFlag(Qt::ShiftModifier)) {
        openContextMenu(event->globalPos());
        event->accept();
        return;
    }
    event->ignore();
}

void MainWindow::doHostRequest(Reader::HostRequest request) {
    switch (request) {
        case Reader::HostRequest::None: break;
        case Reader::HostRequest::ToggleFullScreen:
            setFullScreenMode(!fullScreen_);
            emit fullScreenToggled(fullScreen_);
            break;
        case Reader::HostRequest::Screenshot: emit screenshotRequested(); break;
        case Reader::HostRequest::LouderMusic: emit musicVolumeStep(10); break;
        case Reader::HostRequest::QuieterMusic: emit musicVolumeStep(-10); break;
        case Reader::HostRequest::PlayerSettings: emit playerSettingsRequested(); break;
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Menu) {
        openContextMenu();
        return;
    }
    const std::optional<Key> key = gameKey(event->key());
    if (!key || reader_ == nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    const KeyModifiers modifiers = gameModifiers(event->modifiers());
    const bool repeat = event->isAutoRepeat();
    Reader::HostRequest request = Reader::HostRequest::None;
    callGame([&](Game&) { request = reader_->keyDown(*key, modifiers, repeat); });
    doHostRequest(request);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
    const std::optional<Key> key = gameKey(event->key());
    if (key && reader_ != nullptr && !event->isAutoRepeat()) {
        callGame([&](Game&) { reader_->keyUp(*key); });
    }
    QWidget::keyReleaseEvent(event);
}

void MainWindow::focusOutEvent(QFocusEvent* event) {
    // A release that goes to another window must not leave the skip running.
    if (reader_ != nullptr) reader_->releaseKeys();
    QWidget::focusOutEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    timer1_.stop();
    idleTimer_.stop();
    closing_ = true;
    event->accept();
    if (depth_ == 0) endGame();
}

void MainWindow::endGame() {
    timer1_.stop();
    idleTimer_.stop();
    closing_ = true;
    if (ended_) return;
    ended_ = true;
    if (reader_ != nullptr) reader_->formDestroy();
    emit closed();
}

}  // namespace corvan::shell
