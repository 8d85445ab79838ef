#pragma once

// The headless host: runs the game without a display, for tests and for corvan-replay.
// Dialogs are answered from a queue filled by the input script; every event a player would see
// or hear is kept as one log line. Settings live in an INI file (the same store as the game's)
// or, without one, in INI text in memory, so that a replay never touches a player's real
// installation.

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/host.h"
#include "engine/system_files.h"
#include "headless/recording_audio.h"
#include "render/bitmap.h"
#include "render/system_fonts.h"
#include "settings/settings_file.h"

namespace corvan {

class HeadlessHost : public Host {
public:
    // The files and fonts are the desktop's unless others are given (the browser's build plays
    // its golden runs with its own).
    explicit HeadlessHost(FileStore& files = systemFiles(),
                          TextRenderer& text = systemTextRenderer())
        : files_(files), text_(text) {}

    // Settings from and to this INI file (section "Corvan") instead of memory.
    bool useSettingsFile(const std::filesystem::path& path, std::string& error);
    // A value read when the store has none; never written to the store.
    void setSettingFallback(std::string_view name, std::string_view value);

    void queueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    void queuePick(std::optional<std::string> path) { picks_.push_back(std::move(path)); }

    bool windowClosed() const { return windowClosed_; }
    // The desktop the game believes it runs on (default 1024x768).
    void setScreenSize(WindowPoint size) { screenSize_ = size; }
    // Where start-up placed the main window, and whether it has its border.
    WindowPoint mainWindowAt() const { return mainWindowAt_; }
    WindowPoint mainWindowSize() const { return mainWindowSize_; }
    bool mainWindowBordered() const { return mainWindowBordered_; }
    // Settings written by the next settings dialog, as if the player clicked them.
    void queueDialogSetting(std::string name, std::string value) {
        dialogSettings_.emplace_back(std::move(name), std::move(value));
    }
    // Every position the main window was moved to after start-up, and the time spent in
    // pauses.
    const std::vector<WindowPoint>& mainWindowMoves() const { return mainWindowMoves_; }
    std::int64_t pausedMilliseconds() const { return pausedMilliseconds_; }
    // Frames ended by transitions, and forced repaints, since the start.
    std::int64_t framesEnded() const { return framesEnded_; }
    std::int64_t repaints() const { return repaints_; }
    // The movable message window: whether it is shown, and what it shows.
    bool textWindowShown() const { return textWindowShown_; }
    const Bitmap& textWindow() const { return textWindow_; }
    // Called at the end of every transition frame (tests look at the screen frame by frame).
    void onFrame(std::function<void(const Bitmap&)> observer) {
        frameObserver_ = std::move(observer);
    }
    const std::vector<std::string>& events() const { return events_; }
    // Forgets the log lines kept so far (a long exploration would keep them all).
    void clearEvents() { events_.clear(); }

    // Audio: players that play nothing and remember every call (headless/recording_audio.h).
    AudioOut& audio() override { return audio_; }
    FileStore& files() override { return files_; }
    TextRenderer& text() override { return text_; }
    // Voices sound for their length on the player's clock: `playedMilliseconds` gives the time
    // played so far, to which the pauses are added.
    void clockVoicesBy(std::function<std::int64_t()> playedMilliseconds) {
        audio_.setClock([this, played = std::move(playedMilliseconds)] {
            return played() + pausedMilliseconds_;
        });
    }
    const std::vector<std::string>& audioCalls() const { return audio_.calls(); }
    void endMusic() { audio_.endMusic(); }
    void setMusicOpenError(std::string error) { audio_.setMusicOpenError(std::move(error)); }
    void setVoiceError(std::string error) { audio_.setVoiceError(std::move(error)); }
    // Called with every new log line as it happens (the replay tool writes its log with it).
    void onEvent(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }

    std::optional<std::string> readSetting(std::string_view name) override;
    void writeSetting(std::string_view name, std::string_view value) override;
    MessageAnswer showMessage(std::string_view caption, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    std::optional<std::string> chooseFile(std::string_view initialName,
                                          std::string_view filterDescription,
                                          std::string_view filterPattern) override;
    void repaint(const Bitmap& screen) override;
    void endFrame(const Bitmap& screen) override;
    void showTextWindow(const Bitmap& frame) override;
    void hideTextWindow() override;
    WindowPoint textWindowPosition() override { return textWindowAt_; }
    void moveTextWindow(WindowPoint topLeft) override { textWindowAt_ = topLeft; }
    WindowPoint screenSize() override { return screenSize_; }
    void placeMainWindow(WindowPoint topLeft, WindowPoint outerSize, bool bordered) override;
    void runSettingsDialog() override;
    void closeMainWindow() override;
    WindowPoint mainWindowPosition() override { return mainWindowAt_; }
    void moveMainWindow(WindowPoint topLeft) override;
    void pause(int milliseconds) override;
    void warn(std::string_view message) override;
    void traceEvent(std::string_view line) override;

private:
    FileStore& files_;
    TextRenderer& text_;
    std::optional<SettingsFile> settingsFile_;
    std::string memorySettings_;  // INI text
    std::map<std::string, std::string, std::less<>> fallbacks_;
    std::deque<MessageAnswer> answers_;
    std::deque<std::optional<std::string>> picks_;
    std::vector<std::string> events_;
    std::function<void(const std::string&)> sink_;
    std::function<void(const Bitmap&)> frameObserver_;
    bool windowClosed_ = false;
    std::int64_t framesEnded_ = 0;
    std::int64_t repaints_ = 0;
    bool textWindowShown_ = false;
    WindowPoint textWindowAt_{2, 2};
    WindowPoint screenSize_{1024, 768};
    WindowPoint mainWindowAt_;
    WindowPoint mainWindowSize_;
    bool mainWindowBordered_ = true;
    std::vector<std::pair<std::string, std::string>> dialogSettings_;
    std::vector<WindowPoint> mainWindowMoves_;
    std::int64_t pausedMilliseconds_ = 0;
    Bitmap textWindow_;
    RecordingAudio audio_;
};

}  // namespace corvan
