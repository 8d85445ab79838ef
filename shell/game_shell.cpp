#include "shell/game_shell.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <iostream>

#include "render/layers.h"
#include "setup/setup_folders.h"
#include "shell/first_start.h"
#include "shell/picture_layout.h"
#include "shell/screenshot.h"

namespace corvan::shell {

namespace {
// What a window's border and title bar are taken to need when the largest scale that fits is
// worked out before the window exists.
constexpr QSize kFrameAllowance(16, 48);
}  // namespace

GameShell::GameShell(GameOptions options, SettingsFile store, DisplayRequest display)
    : request_(display),
      host_(std::move(store)),
      form1_(),
      form2_(&form1_),
      form3_(host_, &form1_),
      reader_(host_, std::move(options)) {
    host_.attachWindows(form1_, form2_, form3_);
    host_.locateProblemsWith([this] { return reader_.game().ScriptLocation(); });
    form1_.setGame(reader_.game(), reader_);
    QObject::connect(&form2_, &MessageWindow::pressed, &form1_, [this](QPoint p) {
        form1_.callGame([&](Game& g) { g.TextWindowMouseDown(p.x(), p.y()); });
    });
    QObject::connect(&form2_, &MessageWindow::moved, &form1_, [this](QPoint p) {
        form1_.callGame([&](Game& g) { g.TextWindowMouseMove(p.x(), p.y()); });
    });
    QObject::connect(&form2_, &MessageWindow::released, &form1_,
                     [this] { form1_.callGame([](Game& g) { g.TextWindowMouseUp(); }); });
    QObject::connect(&form1_, &MainWindow::closed, &form2_, &QWidget::hide);
    // The movable message window hides with the frame, and comes back only where it was shown.
    QObject::connect(&form1_, &MainWindow::frameHiddenChanged, &form2_, [this](bool hidden) {
        if (hidden && form2_.isVisible()) {
            messageWindowHidden_ = true;
            form2_.hide();
        } else if (!hidden && messageWindowHidden_) {
            messageWindowHidden_ = false;
            form2_.show();
        }
    });
    QObject::connect(&form1_, &MainWindow::fullScreenToggled, &form1_,
                     [this](bool on) { host_.writeSetting(setting::kFullScreen, on ? "1" : "0"); });
    QObject::connect(&form1_, &MainWindow::screenshotRequested, &form1_,
                     [this] { takeScreenshot(); });
    QObject::connect(&form1_, &MainWindow::musicVolumeStep, &form1_,
                     [this](int points) { changeMusicVolume(points); });
}

GameShell::~GameShell() {
    // The game's shutdown runs while the game and its windows still exist.
    form1_.endGame();
}

void GameShell::start() {
    choices_ = readDisplayChoices(host_, request_);
    int scale = choices_.scale;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize available = screen == nullptr ? QSize() : screen->availableGeometry().size();
    const int fits = screen == nullptr ? 1
                                       : fittingScale(available, QSize(kScreenWidth, kScreenHeight),
                                                      kFrameAllowance);
    if (scale <= 0) {
        scale = fits;
    } else if (scale > fits) {
        // A window larger than the screen would put its top rows and title bar out of reach.
        std::cerr << "corvan: scale " << scale << " does not fit the screen (" << available.width()
                  << "x" << available.height() << "); using " << fits << '\n';
        scale = fits;
    }
    form1_.setScale(scale);
    form2_.setScale(scale);
    form1_.setSmooth(choices_.smooth);
    if (volumeSink_) volumeSink_(choices_.volume);
    form1_.callGame([](Game& g) { g.FormCreate(); });
    // A game that was never set up refused to start; set up now, it starts after all.
    if (reader_.game().quitRequested && !setup::isSetUp(host_.settingsFile()) &&
        offerSetup(host_)) {
        form1_.callGame([](Game& g) { g.FormCreate(); });
    }
    // A normal window, not a minimised one as the game once started: a minimised start is
    // easily missed on today's desktops.
    if (!reader_.game().quitRequested) {
        form1_.show();
        if (choices_.fullScreen) form1_.setFullScreenMode(true);
    }
    form1_.startTimers();
}

void GameShell::changeMusicVolume(int points) {
    const int volume = std::clamp(choices_.volume + points, 0, 100);
    if (volume == choices_.volume) return;
    choices_.volume = volume;
    host_.writeSetting(setting::kVolume, std::to_string(volume));
    if (volumeSink_) volumeSink_(volume);
}

void GameShell::takeScreenshot() {
    QString error;
    const QString path = saveScreenshot(reader_.game().screen, screenshotFolder(),
                                        QDateTime::currentDateTime(), error);
    if (path.isEmpty()) {
        std::cerr << "corvan: cannot save the screenshot: " << error.toStdString() << '\n';
    } else {
        std::cerr << "corvan: screenshot saved to " << path.toStdString() << '\n';
    }
}

}  // namespace corvan::shell
