#pragma once

// The screenshot key: the game screen at its own 640x480, saved as PNG with a time-stamped name
// in the player's pictures folder ($XDG_PICTURES_DIR, else the desktop's pictures folder when it
// exists, else the home folder).

#include <QDateTime>
#include <QString>

#include "render/bitmap.h"

namespace corvan::shell {

// The folder screenshots go to.
QString screenshotFolder();

// Saves `screen` as "corvan-YYYYMMDD-HHMMSS.png" (with "-2", "-3" ... when taken within the same
// second) in `folder`, whole or not at all. The path written, or an empty string with `error`.
QString saveScreenshot(const Bitmap& screen, const QString& folder, const QDateTime& when,
                       QString& error);

}  // namespace corvan::shell
