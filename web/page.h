#pragma once

// The web page the game runs in, as the game's C++ side sees it. Each function here calls the
// page's script (web/site/corvan-page.js, the object `Module.page`), which owns the canvas, the
// pointer and keys, the clocks, the browser's storage, the sounds and the dialogs. Functions
// marked "waits" let the browser run while they wait (the program is suspended and resumed); the
// page delivers no event to the game meanwhile, so the game is never entered twice.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_store.h"
#include "engine/host.h"
#include "render/bitmap.h"

namespace corvan::web::page {

// --- Settings: the page's store, kept in the browser's storage --------------------------------
std::optional<std::string> readSetting(std::string_view name);
void writeSetting(std::string_view name, std::string_view value);

// --- Files: the game's folder ("/game") and the save folder ("/save") ---------------------------
std::optional<std::string> findFile(std::string_view base, std::string_view relative);
FileStatus fileStatus(std::string_view path);
bool fileOpensForReading(std::string_view path);
// Waits while a game file is fetched or read from the player's folder.
bool readFile(std::string_view path, std::uint64_t offset, std::size_t maxBytes,
              std::vector<std::uint8_t>& bytes);
bool writeFile(std::string_view path, std::string_view bytes, std::string& error);
// A file of the site itself, such as a font of the glyph atlas; waits while it is fetched.
std::optional<std::string> siteFile(std::string_view name);

// --- Display ------------------------------------------------------------------------------------
// Shows the rectangle of the 640x480 screen on the page's canvas.
void paint(const Bitmap& screen, Rect area);
// Waits until a sixtieth of a second has passed since the last frame ended.
void waitForNextFrame();
// Waits this long.
void sleep(int milliseconds);
// The movable message window.
void showTextWindow(const Bitmap& frame);
void hideTextWindow();
WindowPoint textWindowPosition();
void moveTextWindow(WindowPoint topLeft);
// The page's size in game pixels, and the picture's offset on it (the window shake).
WindowPoint screenSize();
void placePicture(WindowPoint topLeft, bool bordered);
WindowPoint picturePosition();
void movePicture(WindowPoint topLeft);
void gameEnded();
// The keyboard's highlight on a place the game does not highlight itself, drawn over the
// picture and never into it; nullopt hides it.
void showHighlight(std::optional<Rect> area);
// The mode the reader is in, marked over the picture.
enum class ReadingMark { None, Skip, Auto };
void showReadingMark(ReadingMark mark);
// The player hides the message frame: the movable message window hides with it, and comes back
// when the frame does if the game still shows it.
void suppressTextWindow(bool suppressed);
// What a key asks of the page: the numbers of Reader::HostRequest (fullscreen, a screenshot,
// the music louder or softer).
void hostRequest(int request);

// --- Dialogs: each waits for the player, looking up every `pollMilliseconds` ---------------------
// Opens a dialog: a message box (`buttons` 1 for OK and Cancel), the settings dialog, or the
// folder picker that stands for the file dialog.
void openMessage(std::string_view caption, std::string_view text, MessageIcon icon,
                 MessageButtons buttons);
void openSettingsDialog();
void openFolderPicker(std::string_view initialName);
// Waits until the dialog is closed or `milliseconds` have passed. The answer: -1 while the
// dialog is open, 0 OK (or a folder picked), 1 Cancel.
int pollDialog(int milliseconds);
// The path of the archive in the folder picked last (empty when none was).
std::string pickedArchive();

// --- Sound --------------------------------------------------------------------------------------
// The music: a standard MIDI file's bytes, played by the page's General MIDI synthesiser.
void openMusic(const std::vector<std::uint8_t>& midi, double lengthSeconds);
void rewindMusic();
void playMusic();
void stopMusic();
bool musicStopped();
// A wave file's bytes; the page decodes and plays it, cutting off the voice before. False with
// the reason when the bytes cannot be decoded; waits while they are.
bool playVoice(const std::vector<std::uint8_t>& wave, std::string& error);

// --- Events and time ----------------------------------------------------------------------------
// The numbers are the page's (corvan-page.js, `EventKind`).
enum class EventKind {
    None = 0,
    Idle,
    Tick,
    MouseMove,
    MouseDown,
    MouseUp,
    KeyDown,
    KeyUp,
    Blur,
    TextWindowDown,
    TextWindowMove,
    TextWindowUp,
    ReaderSettings  // the player changed the reader's settings
};
struct Event {
    EventKind kind = EventKind::None;
    int button = 0;  // 0 left, 1 right, 2 middle
    int x = 0;       // game pixels: of the picture, or of the message window's image
    int y = 0;
    std::string key;  // the browser's key name
    bool alt = false;
    bool control = false;
    bool repeat = false;
};
// The next event the page has queued while the game was busy.
Event takeEvent();
// The page's 20 ms idle timer runs while `on`.
void setIdleTimer(bool on);
// Milliseconds on the page's monotonic clock.
double now();

// --- Diagnostics --------------------------------------------------------------------------------
void warn(std::string_view message);
void trace(std::string_view line);

}  // namespace corvan::web::page
