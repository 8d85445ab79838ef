// corvan-setup: sets the game up for the current user, as the game's own setup step did: it
// records where the game's data is (GameDir) and where the saves go (SaveDir). Without options
// it opens the setup window; with --game or --save it asks nothing, for scripts.

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <cstring>

#include "corvan_version.h"
#include "desktop/japanese_qt.h"
#include "settings/settings_file.h"
#include "setup/setup_dialog.h"
#include "setup/setup_folders.h"

namespace {

constexpr char kUsage[] =
    "Usage: corvan-setup [--game DIR] [--save DIR]\n"
    "Sets the game up for the current user: records the game folder (the one holding the\n"
    "script archive mg_data.stf: the game disc, or a folder holding a copy of it) as GameDir\n"
    "and the save folder as SaveDir, in the section [Corvan] of $XDG_CONFIG_HOME/Brackwell.ini\n"
    "(~/.config/Brackwell.ini when XDG_CONFIG_HOME is unset). The other lines of that file are\n"
    "kept as they are.\n"
    "\n"
    "Without options it opens a window that finds the game disc among the mounted volumes and\n"
    "proposes a save folder. With --game or --save it opens no window:\n"
    "  --game DIR   the game folder (default: the recorded GameDir, the current folder or the\n"
    "               first mounted volume, whichever holds mg_data.stf in any letter case)\n"
    "  --save DIR   the save folder, made when missing (default: the recorded SaveDir, else\n"
    "               $XDG_DATA_HOME/corvan/save, else ~/.local/share/corvan/save)\n"
    "  --help       show this help and quit\n"
    "  --version    show the version and quit\n"
    "\n"
    "CORVANUP_VOLUMES, folders separated by ':', replaces the list of mounted volumes.\n"
    "Exit status: 0 when both settings were written, 1 when the setup was refused (the reason\n"
    "goes to standard error) or the window was cancelled, 2 for a wrong command line.\n";

int usageError(const char* message, const char* argument) {
    std::fprintf(stderr, "corvan-setup: %s %s\n%s", message, argument, kUsage);
    return 2;
}

// The non-interactive form: what is not given is found or proposed as the window would.
int setUpQuietly(const char* game, const char* save) {
    const corvan::SettingsFile store;
    corvan::setup::SetupFolders folders;
    if (game) {
        folders.game = QFile::decodeName(game);
    } else if (const QStringList found = corvan::setup::findGameFolders(store); !found.isEmpty()) {
        folders.game = found.first();
    }
    folders.save = save ? QFile::decodeName(save) : corvan::setup::proposedSaveFolder(store);
    if (const auto problem = corvan::setup::applySetup(folders, store)) {
        std::fprintf(stderr, "corvan-setup: %s\n",
                     qPrintable(corvan::setup::describeForShell(*problem)));
        return 1;
    }
    std::printf("corvan-setup: wrote GameDir and SaveDir to %s\n", store.path().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* game = nullptr;
    const char* save = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (corvan::answerHelpOrVersion(argv[i], "corvan-setup", kUsage)) return 0;
        const char** into = std::strcmp(argv[i], "--game") == 0   ? &game
                            : std::strcmp(argv[i], "--save") == 0 ? &save
                                                                  : nullptr;
        if (!into) return usageError("unknown argument", argv[i]);
        if (i + 1 >= argc) return usageError("a folder must follow", argv[i]);
        *into = argv[++i];
    }

    if (game || save) {
        QCoreApplication app(argc, argv);
        return setUpQuietly(game, save);
    }
    QApplication app(argc, argv);
    const corvan::JapaneseQtTexts japanese;
    const corvan::SettingsFile store;
    corvan::setup::SetupDialog dialog(store, corvan::setup::findGameFolders(store),
                                      corvan::setup::proposedSaveFolder(store));
    return dialog.exec() == QDialog::Accepted ? 0 : 1;
}
