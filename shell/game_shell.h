#pragma once

// The game program put together: the settings store and the host, the three windows made in
// the game's order (TForm1, TForm2, TForm3), and the game they run. `start` runs the game's
// creation handler and shows the main window; the main window's `closed` signal tells the
// program to end.

#include <functional>

#include "game/game.h"
#include "reader/reader.h"
#include "shell/display_settings.h"
#include "shell/main_window.h"
#include "shell/message_window.h"
#include "shell/player_settings_dialog.h"
#include "shell/qt_host.h"
#include "shell/settings_dialog.h"

namespace corvan::shell {

class GameShell {
public:
    explicit GameShell(GameOptions options, SettingsFile store = SettingsFile(),
                       DisplayRequest display = {});
    ~GameShell();
    GameShell(const GameShell&) = delete;
    GameShell& operator=(const GameShell&) = delete;

    // Runs the game's creation handler, then shows the main window (unless the game already
    // asked to quit: the first idle call then closes it) and starts its timers. The windows
    // take the player's display choices first: scale, scaling, fullscreen.
    void start();

    // The player settings window (key o, or the window's menu): shown modal, as the game's own
    // settings dialog is, so the story waits; what OK stored is put in force at once.
    void runPlayerSettings();

    // Where the music's loudness goes (0 to 100): at the start and at each change.
    void setMusicVolumeSink(std::function<void(int)> sink) { volumeSink_ = std::move(sink); }
    int musicVolume() const { return choices_.volume; }

    Game& game() { return reader_.game(); }
    Reader& reader() { return reader_; }
    QtHost& host() { return host_; }
    MainWindow& mainWindow() { return form1_; }
    MessageWindow& messageWindow() { return form2_; }
    SettingsDialog& settingsDialog() { return form3_; }
    PlayerSettingsDialog& playerSettingsDialog() { return playerSettings_; }

private:
    // The windows' sizes and scalings from the display choices.
    void layOutWindows();
    void changeMusicVolume(int points);
    void setMusicVolume(int volume);
    void takeScreenshot();

    DisplayRequest request_;
    bool messageWindowHidden_ = false;  // hidden with the frame by the player
    DisplayChoices choices_;
    std::function<void(int)> volumeSink_;
    QtHost host_;
    MainWindow form1_;
    MessageWindow form2_;
    SettingsDialog form3_;
    PlayerSettingsDialog playerSettings_;
    Reader reader_;
};

}  // namespace corvan::shell
