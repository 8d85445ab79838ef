#pragma once

// The settings the updater shares with the game: the file Brackwell.ini in the user's config
// folder ($XDG_CONFIG_HOME, else ~/.config), section [Corvan], every value a string. The file
// is opened afresh for every read and every write, so the game and the updater always see
// each other's latest values.

#include <QString>

namespace corvanup {

inline constexpr char kSaveDirKey[] = "SaveDir";
inline constexpr char kGameDirKey[] = "GameDir";

// The full path of Brackwell.ini.
QString settingsFilePath();

// The stored string, or `fallback` when the file, the section or the value is missing.
// A value written by hand with an unquoted comma comes back whole, commas included.
QString readSetting(const QString& name, const QString& fallback);

// Stores `value` under `name`, creating the folder and the file when missing. False when the
// file could not be written.
bool writeSetting(const QString& name, const QString& value);

}  // namespace corvanup
