#pragma once

// What the setup decides and records: the game folder (the one holding the script archive
// mg_data.stf: the game disc, or a folder holding a copy of it) and the save folder, checked and
// then stored as GameDir and SaveDir in the settings file that every program reads. The setup
// window and the command line both come through here, so they accept and refuse alike.

#include <QString>
#include <QStringList>
#include <optional>

#include "settings/settings_file.h"

namespace corvan::setup {

struct SetupFolders {
    QString game;
    QString save;
};

// Why a choice was refused.
struct SetupProblem {
    enum class Kind {
        NoGameFolderFound,   // no folder was given and none holds the archive
        NoSaveFolder,        // no save folder was given
        ArchiveMissing,      // `path` (a folder) holds no mg_data.stf
        SaveFolderNotMade,   // `path` does not exist and cannot be made
        SaveFolderReadOnly,  // `path` is a folder in which no file can be made
        SettingsNotWritten,  // the settings file (`path`) could not be written
    };
    Kind kind = Kind::NoGameFolderFound;
    QString path;
    QString reason;  // the system's own words, where it gave some
};

// Whether the settings name a save folder, as the game tests it: SaveDir present and not
// "NULL", the value of a game never set up.
bool isSetUp(const SettingsFile& store);

// Folders that hold the archive, the likeliest first and each once: the GameDir already
// recorded, the current folder, then every mounted volume (volumes/volumes.h).
QStringList findGameFolders(const SettingsFile& store);

// The save folder to propose: the SaveDir already recorded, else corvan/save in
// $XDG_DATA_HOME (when that is an absolute path), else ~/.local/share/corvan/save.
QString proposedSaveFolder(const SettingsFile& store);

// Checks the game folder for the archive, makes the save folder when missing and proves that a
// file can be made in it, then writes GameDir and SaveDir (as absolute paths). Nothing is
// written unless both folders pass. GameDir is written first: a failure between the two writes
// leaves the game not set up rather than set up with a stale game folder.
std::optional<SetupProblem> applySetup(const SetupFolders& folders, const SettingsFile& store);

// The problem in a sentence: Japanese for the window, English for the command line. Both name
// the file or folder it is about.
QString describeForPlayer(const SetupProblem& problem);
QString describeForShell(const SetupProblem& problem);

}  // namespace corvan::setup
