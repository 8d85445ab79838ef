#pragma once

// The first start of a game that was never set up. The game still refuses as it always has
// (「セーブドライブが設定されていません。…」); the player is then offered the setup window at
// once, and the game starts when it has recorded both folders. A player who declines is told on
// standard error which file and which two values the setup would have written.

class QWidget;

namespace corvan::shell {

class QtHost;

// For a game that is not set up (setup/setup_folders.h): asks the player, through the host's
// message box, whether to run the setup now, and runs its window. True when both settings were
// written and the game may start again.
bool offerSetup(QtHost& host, QWidget* parent = nullptr);

}  // namespace corvan::shell
