#include "shell/qt_host.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <chrono>
#include <cmath>
#include <iostream>
#include <thread>

#include "engine/trace_events.h"
#include "render/layers.h"
#include "shell/main_window.h"
#include "shell/message_window.h"
#include "shell/settings_dialog.h"

namespace corvan::shell {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop: return QMessageBox::Critical;
        case MessageIcon::Exclamation: return QMessageBox::Warning;
        case MessageIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

// The game places and moves its windows in its own pixels; on the screen they are `scale` times
// as far. What the division drops is kept, so that a window the game moves back to where it
// found it lands exactly there again.
WindowPoint QtHost::ScaledPlace::toGame(QPoint onScreen, double scale) {
    const WindowPoint game{static_cast<int>(std::floor(onScreen.x() / scale)),
                           static_cast<int>(std::floor(onScreen.y() / scale))};
    remainder = onScreen - scaled(game, scale);
    return game;
}

QPoint QtHost::ScaledPlace::toScreen(WindowPoint game, double scale) const {
    return scaled(game, scale) + remainder;
}

QPoint QtHost::ScaledPlace::scaled(WindowPoint game, double scale) {
    return QPointF(game.x * scale, game.y * scale).toPoint();
}

QtHost::QtHost(SettingsFile store)
    : store_(std::move(store)), trace_(qEnvironmentVariableIsSet("CORVAN_TRACE")) {}

void QtHost::attachWindows(MainWindow& mainWindow, MessageWindow& messageWindow,
                           SettingsDialog& settingsDialog) {
    mainWindow_ = &mainWindow;
    messageWindow_ = &messageWindow;
    settingsDialog_ = &settingsDialog;
}

std::optional<std::string> QtHost::readSetting(std::string_view name) {
    return store_.read(name);
}

void QtHost::writeSetting(std::string_view name, std::string_view value) {
    std::string error;
    if (!store_.write(name, value, error)) warn(error);
}

QWidget* QtHost::dialogOwner() const {
    return mainWindow_ != nullptr && mainWindow_->isVisible() ? mainWindow_ : nullptr;
}

MessageAnswer QtHost::showMessage(std::string_view caption, std::string_view text, MessageIcon icon,
                                  MessageButtons buttons) {
    MessageRequest request;
    request.caption = toQString(caption);
    request.text = toQString(text);
    request.icon = boxIcon(icon);
    request.buttons = buttons == MessageButtons::Ok ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                                    : QMessageBox::Ok | QMessageBox::Cancel;
    QMessageBox::StandardButton pressed;
    if (messageHook_) {
        pressed = messageHook_(request);
    } else {
        QMessageBox box(request.icon, request.caption, request.text, request.buttons,
                        dialogOwner());
        box.setDefaultButton(QMessageBox::Ok);
        pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    }
    // A box with only an OK button answers OK however it was closed.
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return pressed == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

std::optional<std::string> QtHost::chooseFile(std::string_view initialName,
                                              std::string_view filterDescription,
                                              std::string_view filterPattern) {
    FileRequest request;
    request.startName = QDir::current().filePath(toQString(initialName));
    request.filter = toQString(filterDescription) + QStringLiteral(" (") +
                     toQString(filterPattern) + QLatin1Char(')');
    const QString picked = fileHook_
                               ? fileHook_(request)
                               : QFileDialog::getOpenFileName(dialogOwner(), QString(),
                                                              request.startName, request.filter);
    if (picked.isEmpty()) return std::nullopt;
    return QFile::encodeName(picked).toStdString();
}

void QtHost::repaint(const Bitmap& screen) {
    // Paints now what has changed on the surface since it was last shown.
    if (mainWindow_ != nullptr) mainWindow_->showScreenChanges(screen, true);
}

void QtHost::endFrame(const Bitmap& screen) {
    using namespace std::chrono;
    constexpr nanoseconds kFrame = duration_cast<nanoseconds>(seconds(1)) / kFramesPerSecond;
    if (lastFrame_.isValid()) {
        const nanoseconds left = kFrame - nanoseconds(lastFrame_.nsecsElapsed());
        if (left > nanoseconds::zero()) std::this_thread::sleep_for(left);
    }
    lastFrame_.start();
    if (mainWindow_ != nullptr) mainWindow_->showWholeScreen(screen);
    QCoreApplication::processEvents();
}

void QtHost::showTextWindow(const Bitmap& frame) {
    if (messageWindow_ != nullptr) messageWindow_->showFrame(frame);
}

void QtHost::hideTextWindow() {
    if (messageWindow_ != nullptr) messageWindow_->hide();
}

double QtHost::scale() const {
    return mainWindow_ != nullptr ? mainWindow_->windowScale() : 1.0;
}

WindowPoint QtHost::textWindowPosition() {
    if (messageWindow_ == nullptr) return {};
    return textWindowPlace_.toGame(messageWindow_->pos(), scale());
}

void QtHost::moveTextWindow(WindowPoint topLeft) {
    if (messageWindow_ != nullptr)
        messageWindow_->move(textWindowPlace_.toScreen(topLeft, scale()));
}

WindowPoint QtHost::screenSize() {
    // The game places a window of its own size on a screen as many times smaller as its
    // picture is scaled, so that its rules (centred; no border when the screen is no larger
    // than the picture) hold for the scaled window.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {kScreenWidth, kScreenHeight};
    return {static_cast<int>(screen->size().width() / scale()),
            static_cast<int>(screen->size().height() / scale())};
}

void QtHost::placeMainWindow(WindowPoint topLeft, WindowPoint /*outerSize*/, bool bordered) {
    // The outer size is the window manager's to give: the client area is what keeps its size.
    if (mainWindow_ == nullptr) return;
    mainWindow_->setBordered(bordered);
    mainWindowPlace_.remainder = QPoint();
    mainWindow_->move(mainWindowPlace_.toScreen(topLeft, scale()));
}

void QtHost::runSettingsDialog() {
    if (settingsDialog_ != nullptr) settingsDialog_->exec();
}

void QtHost::closeMainWindow() {
    if (mainWindow_ != nullptr) mainWindow_->close();
}

WindowPoint QtHost::mainWindowPosition() {
    if (mainWindow_ == nullptr) return {};
    // A fullscreen window stays put; the game moves its picture instead, from where it stands.
    if (mainWindow_->fullScreenMode()) return {};
    return mainWindowPlace_.toGame(mainWindow_->pos(), scale());
}

void QtHost::moveMainWindow(WindowPoint topLeft) {
    if (mainWindow_ == nullptr) return;
    if (mainWindow_->fullScreenMode()) {
        const double by = mainWindow_->pictureScale();
        mainWindow_->image1().setPictureOffset(
            QPoint(static_cast<int>(topLeft.x * by), static_cast<int>(topLeft.y * by)));
        return;
    }
    mainWindow_->move(mainWindowPlace_.toScreen(topLeft, scale()));
}

void QtHost::pause(int milliseconds) {
    // The effects block the game as they always did; what was drawn is shown first.
    if (mainWindow_ != nullptr) mainWindow_->repaint();
    if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void QtHost::warn(std::string_view message) {
    if (warned_.contains(message)) return;
    warned_.emplace(message);
    std::cerr << "corvan: " << message << '\n';
}

void QtHost::traceEvent(std::string_view line) {
    const bool problem = trace::isProblem(line);
    if (!trace_ && !(debug_ && problem)) return;
    std::cerr << "corvan: ";
    // A loop names the line it was found at itself.
    const bool located = line.starts_with(trace::kScriptLoop);
    if (const std::string where = problem && !located && locate_ ? locate_() : ""; !where.empty()) {
        std::cerr << where << ": ";
    }
    std::cerr << line << '\n';
}

}  // namespace corvan::shell
