#include "shell/game_shell.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
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
      playerSettings_(host_, &form1_),
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
    QObject::connect(&form1_, &MainWindow::playerSettingsRequested, &form1_,
                     [this] { runPlayerSettings(); });
}

GameShell::~GameShell() {
    // The game's shutdown runs while the game and its windows still exist.
    form1_.endGame();
}

void GameShell::start() {
    choices_ = readDisplayChoices(host_, request_);
    layOutWindows();
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

void GameShell::layOutWindows() {
    const QSize picture(kScreenWidth, kScreenHeight);
    QSize size = picture * std::max(1, choices_.scale);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize available = screen->availableGeometry().size();
        const int fits = fittingScale(available, picture, kFrameAllowance);
        if (choices_.scale <= 0) {
            size = windowPictureSize(available, picture, choices_.scaling, kFrameAllowance);
        } else if (choices_.scale > fits) {
            // A window larger than the screen would put its top rows and title bar out of reach.
            std::cerr << "corvan: scale " << choices_.scale << " does not fit the screen ("
                      << available.width() << "x" << available.height() << "); using " << fits
                      << '\n';
            choices_.scale = fits;
            size = picture * fits;
        }
    }
    form1_.setWindowPicture(size);
    form1_.setScaling(choices_.scaling, choices_.fullScreenScaling);
    form2_.setScale(form1_.windowScale());
    form2_.setScaling(choices_.scaling);
}

void GameShell::runPlayerSettings() {
    if (playerSettings_.isVisible()) return;
    playerSettings_.load(PlayerSettingsDialog::current(host_, form1_.fullScreenMode()));
    // Inside a call into the game, as the game's own settings dialog runs: the story waits.
    form1_.callGame([this](Game&) {
        if (playerSettings_.exec() != QDialog::Accepted) return;
        const PlayerSettings chosen = playerSettings_.chosen();
        const DisplayChoices stored = readDisplayChoices(host_, {.scale = request_.scale});
        choices_.scaling = stored.scaling;
        choices_.fullScreenScaling = stored.fullScreenScaling;
        layOutWindows();
        setMusicVolume(chosen.volume);
        if (chosen.fullScreen != form1_.fullScreenMode())
            form1_.setFullScreenMode(chosen.fullScreen);
        reader_.applySettings();
    });
}

void GameShell::changeMusicVolume(int points) {
    const int volume = std::clamp(choices_.volume + points, 0, 100);
    if (volume != choices_.volume) {
        host_.writeSetting(setting::kVolume, std::to_string(volume));
        setMusicVolume(volume);
    }
    form1_.showNotice(QStringLiteral("音楽の音量 %1").arg(volume));
}

void GameShell::setMusicVolume(int volume) {
    if (volume == choices_.volume) return;
    choices_.volume = volume;
    if (volumeSink_) volumeSink_(volume);
}

void GameShell::takeScreenshot() {
    QString error;
    const QString folder = screenshotFolder();
    const QString path =
        saveScreenshot(reader_.game().screen, folder, QDateTime::currentDateTime(), error);
    if (path.isEmpty()) {
        std::cerr << "corvan: cannot save the screenshot: " << error.toStdString() << '\n';
        form1_.showNotice(QStringLiteral("スクリーンショットを保存できませんでした\n保存先: ") +
                          QDir::toNativeSeparators(folder));
    } else {
        std::cerr << "corvan: screenshot saved to " << path.toStdString() << '\n';
        form1_.showNotice(QStringLiteral("スクリーンショットを保存しました\n") +
                          QFileInfo(path).fileName());
    }
}

}  // namespace corvan::shell
