#include "shell/game_shell.h"

#include "setup/setup_folders.h"
#include "shell/first_start.h"

namespace corvan::shell {

GameShell::GameShell(GameOptions options, SettingsFile store)
    : host_(std::move(store)),
      form1_(),
      form2_(&form1_),
      form3_(host_, &form1_),
      game_(host_, options) {
    host_.attachWindows(form1_, form2_, form3_);
    form1_.setGame(game_);
    QObject::connect(&form2_, &MessageWindow::pressed, &form1_, [this](QPoint p) {
        form1_.callGame([&](Game& g) { g.TextWindowMouseDown(p.x(), p.y()); });
    });
    QObject::connect(&form2_, &MessageWindow::moved, &form1_, [this](QPoint p) {
        form1_.callGame([&](Game& g) { g.TextWindowMouseMove(p.x(), p.y()); });
    });
    QObject::connect(&form2_, &MessageWindow::released, &form1_,
                     [this] { form1_.callGame([](Game& g) { g.TextWindowMouseUp(); }); });
    QObject::connect(&form1_, &MainWindow::closed, &form2_, &QWidget::hide);
}

GameShell::~GameShell() {
    // The game's shutdown runs while the game and its windows still exist.
    form1_.endGame();
}

void GameShell::start() {
    form1_.callGame([](Game& g) { g.FormCreate(); });
    // A game that was never set up refused to start; set up now, it starts after all.
    if (game_.quitRequested && !setup::isSetUp(host_.settingsFile()) && offerSetup(host_)) {
        form1_.callGame([](Game& g) { g.FormCreate(); });
    }
    // A normal window, not a minimised one as the game once started: a minimised start is
    // easily missed on today's desktops.
    if (!game_.quitRequested) form1_.show();
    form1_.startTimers();
}

}  // namespace corvan::shell
