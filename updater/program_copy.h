#pragma once

// Copying a game program into the save folder.

#include <QString>

namespace corvanup {

// Copies the file `from` to `to`, replacing whatever file is there. The copy is written beside
// the target under a temporary name and renamed over it only when complete, so a failure
// leaves the old program as it was. The copy keeps the source's permissions and is always
// readable, writable and executable for its owner, even when it came from a read-only disc.
// False when the source cannot be read or the target cannot be written, with `error` naming
// the file and what the system said ("cannot read /media/cdrom/corvan: No such file or
// directory").
bool copyProgram(const QString& from, const QString& to, QString& error);

}  // namespace corvanup
