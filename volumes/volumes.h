#pragma once

// The volumes where a game disc may be: every mounted file system that has a folder to look
// in, in the order of their mount folders. The updater's drive list and the setup's search for
// the game data both use them. The environment variable CORVANUP_VOLUMES, a list of folders
// separated by ':', replaces them (for a disc image unpacked into a folder, and for tests).

#include <QList>
#include <QString>

namespace corvan {

struct Volume {
    QString folder;  // the mount folder, the volume's root
    QString label;   // the volume's name; empty when it has none
};

QList<Volume> listVolumes();

// The drive list's entry for a volume: the mount folder, then its name in brackets if any.
QString volumeEntryText(const Volume& volume);

// Whether the folder (a volume's root, or any copy of the disc) holds the game's archive,
// mg_data.stf in any letter case, directly in it.
bool volumeHoldsArchive(const QString& folder);

}  // namespace corvan
