#pragma once

// The game program put together: the settings store and the host, the three windows made in
// the game's order (TForm1, TForm2, TForm3), and the game they run. `start` runs the game's
// creation handler and shows the main window; the main window's `closed` signal tells the
// program to end.

#include "engine/game.h"
#include "shell/main_window.h"
#include "shell/message_window.h"
#include "shell/qt_host.h"
#include "shell/settings_dialog.h"

namespace corvan::shell {

class GameShell {
public:
    explicit GameShell(GameOptions options, SettingsFile store = SettingsFile());
    ~GameShell();
    GameShell(const GameShell&) = delete;
    GameShell& operator=(const GameShell&) = delete;

    // Runs the game's creation handler, then shows the main window (unless the game already
    // asked to quit: the first idle call then closes it) and starts its timers.
    void start();

    Game& game() { return game_; }
    QtHost& host() { return host_; }
    MainWindow& mainWindow() { return form1_; }
    MessageWindow& messageWindow() { return form2_; }
    SettingsDialog& settingsDialog() { return form3_; }

private:
    QtHost host_;
    MainWindow form1_;
    MessageWindow form2_;
    SettingsDialog form3_;
    Game game_;
};

}  // namespace corvan::shell
