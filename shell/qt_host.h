#pragma once

// The real host: the game's windows, dialogs and settings on a Qt desktop.
//
// Settings live in `Brackwell.ini` (settings/settings_file.h). Message boxes and the file-open
// dialog are Qt's own; each can be answered by a hook instead, which receives exactly what the real
// dialog would have been given, so that tests never block on a modal window. Transition frames
// are paced to at most 60 a second.

#include <QElapsedTimer>
#include <QMessageBox>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "engine/host.h"
#include "engine/system_files.h"
#include "render/system_fonts.h"
#include "settings/settings_file.h"
#include "sound/audio_out.h"
#include "sound/silent_audio.h"

namespace corvan::shell {

class MainWindow;
class MessageWindow;
class SettingsDialog;

class QtHost : public Host {
public:
    static constexpr int kFramesPerSecond = 60;

    // What a message box would show.
    struct MessageRequest {
        QString caption;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    };
    // Answers a message box instead of showing it: the button pressed.
    using MessageHook = std::function<QMessageBox::StandardButton(const MessageRequest&)>;

    // What the file-open dialog would be started with.
    struct FileRequest {
        QString startName;  // the file name the dialog starts on, in the current folder
        QString filter;     // "description (pattern)"
    };
    // Answers the file-open dialog instead of showing it: the chosen path, empty for cancel.
    using FileHook = std::function<QString(const FileRequest&)>;

    explicit QtHost(SettingsFile store = SettingsFile());

    // The windows the host shows; set once, before the game starts.
    void attachWindows(MainWindow& mainWindow, MessageWindow& messageWindow,
                       SettingsDialog& settingsDialog);

    void setMessageHook(MessageHook hook) { messageHook_ = std::move(hook); }
    void setFileHook(FileHook hook) { fileHook_ = std::move(hook); }
    // The players music and voices go to; without one (the silent build) every audio call
    // does nothing. Set before the game starts; it must outlive the game.
    void setAudio(AudioOut* audio) { audio_ = audio; }

    const SettingsFile& settingsFile() const { return store_; }

    // Settings.
    std::optional<std::string> readSetting(std::string_view name) override;
    void writeSetting(std::string_view name, std::string_view value) override;

    // Dialogs.
    MessageAnswer showMessage(std::string_view caption, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    std::optional<std::string> chooseFile(std::string_view initialName,
                                          std::string_view filterDescription,
                                          std::string_view filterPattern) override;

    // Display.
    void repaint(const Bitmap& screen) override;
    void endFrame(const Bitmap& screen) override;
    void showTextWindow(const Bitmap& frame) override;
    void hideTextWindow() override;
    WindowPoint textWindowPosition() override;
    void moveTextWindow(WindowPoint topLeft) override;

    // Windows.
    WindowPoint screenSize() override;
    void placeMainWindow(WindowPoint topLeft, WindowPoint outerSize, bool bordered) override;
    void runSettingsDialog() override;
    void closeMainWindow() override;
    WindowPoint mainWindowPosition() override;
    void moveMainWindow(WindowPoint topLeft) override;
    void pause(int milliseconds) override;

    // Audio: the players set with setAudio, or silent ones.
    AudioOut& audio() override { return audio_ != nullptr ? *audio_ : silence_; }
    // The file system, and the installed fonts.
    FileStore& files() override { return systemFiles(); }
    TextRenderer& text() override { return systemTextRenderer(); }

    // Diagnostics. Every event goes to standard error when CORVAN_TRACE is set; with
    // `setDebug` (corvan --debug) the problems among them do (engine/trace_events.h).
    void warn(std::string_view message) override;
    void traceEvent(std::string_view line) override;
    void setDebug(bool on) { debug_ = on; }
    // Where the script is ("CHUNK:LINE"), put before every problem printed.
    void locateProblemsWith(std::function<std::string()> locate) { locate_ = std::move(locate); }

private:
    // A window's place on the screen, as the game sees it at this scale.
    struct ScaledPlace {
        QPoint remainder;  // what the last division to the game's pixels dropped
        WindowPoint toGame(QPoint onScreen, double scale);
        QPoint toScreen(WindowPoint game, double scale) const;
        static QPoint scaled(WindowPoint game, double scale);
    };

    QWidget* dialogOwner() const;
    double scale() const;

    SettingsFile store_;
    MainWindow* mainWindow_ = nullptr;
    MessageWindow* messageWindow_ = nullptr;
    SettingsDialog* settingsDialog_ = nullptr;
    MessageHook messageHook_;
    FileHook fileHook_;
    AudioOut* audio_ = nullptr;
    SilentAudio silence_;
    QElapsedTimer lastFrame_;
    std::set<std::string, std::less<>> warned_;
    bool trace_ = false;
    ScaledPlace mainWindowPlace_;
    ScaledPlace textWindowPlace_;
    bool debug_ = false;
    std::function<std::string()> locate_;
};

}  // namespace corvan::shell
