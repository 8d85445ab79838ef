#include "shell/main_window.h"

#include <QCloseEvent>

#include "render/layers.h"

namespace corvan::shell {

namespace {
constexpr Qt::WindowFlags kBorderedFlags = Qt::Window | Qt::CustomizeWindowHint |
                                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
}  // namespace

MainWindow::MainWindow() : QWidget(nullptr, kBorderedFlags) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("コルヴァン"));
    // A dialog border: the window is never resized.
    setFixedSize(kScreenWidth, kScreenHeight);
    image1_ = new ScreenView(kScreenWidth, kScreenHeight, this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->move(0, 0);
    // The game hovers menu rows on every move, not only while a button is held.
    image1_->setMouseTracking(true);

    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setInterval(kTimer1Milliseconds);
    timer1_.setTimerType(Qt::PreciseTimer);
    idleTimer_.setInterval(kIdleMilliseconds);
    idleTimer_.setTimerType(Qt::PreciseTimer);

    connect(&timer1_, &QTimer::timeout, this,
            [this] { callGame([](Game& g) { g.Timer1Timer(); }); });
    connect(&idleTimer_, &QTimer::timeout, this, &MainWindow::idle);
    connect(image1_, &ScreenView::pressed, this, [this](MouseButton button, QPoint p) {
        callGame([&](Game& g) { g.Image1MouseDown(button, p.x(), p.y()); });
    });
    connect(image1_, &ScreenView::moved, this,
            [this](QPoint p) { callGame([&](Game& g) { g.Image1MouseMove(p.x(), p.y()); }); });
    connect(image1_, &ScreenView::released, this, [this](MouseButton button, QPoint p) {
        callGame([&](Game& g) { g.Image1MouseUp(button, p.x(), p.y()); });
    });
}

void MainWindow::setGame(Game& game) {
    game_ = &game;
    image1_->setBitmap(&game.screen);
}

void MainWindow::startTimers() {
    if (closing_) return;
    timer1_.start();
    idleTimer_.start();
}

void MainWindow::callGame(const std::function<void(Game&)>& handler) {
    if (game_ == nullptr || ended_) return;
    ++depth_;
    handler(*game_);
    --depth_;
    image1_->update();
    if (depth_ == 0 && closing_) endGame();
}

void MainWindow::idle() {
    // The idle handler comes only from the main event loop, never from inside another handler
    // that lets events through (a transition's frames, a modal dialog): the story's step is
    // never re-entered.
    if (depth_ > 0 || closing_) return;
    callGame([](Game& g) { g.AppIdle(); });
}

void MainWindow::setBordered(bool bordered) {
    // Qt drops the frameless hint when any title-bar button is asked for, so none is.
    const Qt::WindowFlags flags = bordered ? kBorderedFlags : Qt::Window | Qt::FramelessWindowHint;
    if (flags == windowFlags()) return;
    const bool wasVisible = isVisible();
    setWindowFlags(flags);  // hides the window
    if (wasVisible) show();
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
    if (game_ != nullptr) game_->FormDestroy();
    emit closed();
}

}  // namespace corvan::shell
