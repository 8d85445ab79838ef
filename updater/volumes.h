#pragma once

// The volumes the drive list offers: every mounted file system that has a folder to look in,
// in the order of their mount folders. The environment variable CORVANUP_VOLUMES, a list of
// folders separated by ':', replaces them (for a disc image unpacked into a folder, and for
// tests).

#include <QList>
#include <QString>

namespace corvanup {

struct Volume {
    QString folder;  // the mount folder, the volume's root
    QString label;   // the volume's name; empty when it has none
};

QList<Volume> listVolumes();

// The drive list's entry for a volume: the mount folder, then its name in brackets if any.
QString volumeEntryText(const Volume& volume);

// Whether the volume holds the game's archive, mg_data.stf in any letter case, at its root.
bool volumeHoldsArchive(const QString& folder);

}  // namespace corvanup
