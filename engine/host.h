#pragma once

// The one door between the game core and the platform it runs on.
//
// The core owns all game state and all pixels; a host only shows what the core hands it, asks
// the player what the core wants to know, and keeps the settings store. The Qt program and the
// headless player both implement this interface; nothing in the core reaches the platform any
// other way. Strings crossing this interface are UTF-8 unless a method says otherwise.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/file_store.h"
#include "sound/audio_out.h"

namespace corvan {

class Bitmap;
class TextRenderer;

// A position or a size in pixels.
struct WindowPoint {
    int x = 0;
    int y = 0;
    bool operator==(const WindowPoint&) const = default;
};

enum class MessageIcon { Stop, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel };
enum class MessageAnswer { Ok, Cancel };

class Host {
public:
    virtual ~Host() = default;

    // --- Settings -------------------------------------------------------------------------
    // The per-user settings store: the section "Corvan" of the game's INI file. Every value is a
    // string; a value that was never written reads as nullopt. Each call reads or writes the
    // store afresh, so another program (the updater) may change it in between.
    virtual std::optional<std::string> readSetting(std::string_view name) = 0;
    virtual void writeSetting(std::string_view name, std::string_view value) = 0;

    // --- Dialogs --------------------------------------------------------------------------
    // A modal message box. Blocks until the player answers; a box with only an OK button
    // always answers Ok.
    virtual MessageAnswer showMessage(std::string_view caption, std::string_view text,
                                      MessageIcon icon, MessageButtons buttons) = 0;

    // The file-open dialog: starts on `initialName`, offers one filter (description and
    // pattern). Returns the full path of the chosen file, or nullopt when the player cancels.
    virtual std::optional<std::string> chooseFile(std::string_view initialName,
                                                  std::string_view filterDescription,
                                                  std::string_view filterPattern) = 0;

    // --- Display --------------------------------------------------------------------------
    // Shows the 640x480 screen surface in the main window now (a forced repaint).
    virtual void repaint(const Bitmap& screen) = 0;

    // Ends one frame of a transition: shows the screen surface, then lets pending events run
    // (the 60 ms timer, mouse handlers) before returning. A real host also paces frames to at
    // most 60 a second, so that every effect is seen at the speed it was made for.
    virtual void endFrame(const Bitmap& screen) = 0;

    // The movable message window: shows the 576x96 text frame in it (showing the window if it
    // is hidden), or hides it.
    virtual void showTextWindow(const Bitmap& frame) = 0;
    virtual void hideTextWindow() = 0;

    // Where the movable message window's top-left corner is now, in screen pixels, and moving
    // it there.
    virtual WindowPoint textWindowPosition() = 0;
    virtual void moveTextWindow(WindowPoint topLeft) = 0;

    // --- Windows --------------------------------------------------------------------------
    // The size of the desktop the main window lives on, in pixels.
    virtual WindowPoint screenSize() = 0;

    // Places the main window with this outer size and top-left corner (which may lie off the
    // screen), with or without its border and caption. The client area stays 640x480.
    virtual void placeMainWindow(WindowPoint topLeft, WindowPoint outerSize, bool bordered) = 0;

    // The modal settings dialog. Every click in it is stored in the settings store at once;
    // returns when the player closes it.
    virtual void runSettingsDialog() = 0;

    // Closes the main window; the program ends through its normal shutdown.
    virtual void closeMainWindow() = 0;

    // Where the main window's top-left corner is, and moving it there (the window shake).
    virtual WindowPoint mainWindowPosition() = 0;
    virtual void moveMainWindow(WindowPoint topLeft) = 0;

    // --- Audio ----------------------------------------------------------------------------
    // The music and voice players (sound/audio_out.h). A host without a sound device hands out
    // players that accept every call and play nothing; the silent build never calls them.
    virtual AudioOut& audio() = 0;

    // --- Files and text -------------------------------------------------------------------
    // The game folder's files and the save folder's (engine/file_store.h).
    virtual FileStore& files() = 0;

    // The text drawer with the game's fonts (render/font.h): the installed fonts on the desktop,
    // a glyph atlas made from them in the browser.
    virtual TextRenderer& text() = 0;

    // --- Time -----------------------------------------------------------------------------
    // Blocks for this long, showing what has been drawn (the special effects' short pauses).
    // The headless host only counts the time.
    virtual void pause(int milliseconds) = 0;

    // --- Diagnostics ----------------------------------------------------------------------
    // A problem the player should hear of that does not stop the game, such as a missing
    // Japanese font; each is reported once. The real program prints it on standard error.
    virtual void warn(std::string_view message) = 0;

    // One line for each event a player would see or hear ("chunk main", "music 3"). The real
    // program ignores it; the headless player writes it to its log.
    virtual void traceEvent(std::string_view line) = 0;
};

}  // namespace corvan
