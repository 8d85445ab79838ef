// The calls into the page's script. Strings cross as UTF-8 with their length; bytes the page
// hands back go into memory the C++ side owns, or are allocated by the page with malloc and
// freed here.

#include "web/page.h"

#include <emscripten.h>

#include <cstdlib>

namespace corvan::web::page {

namespace {

// A string the page allocated with malloc, taken over; nullopt for a null pointer.
std::optional<std::string> takeString(char* text, int length) {
    if (text == nullptr) return std::nullopt;
    std::string out(text, static_cast<std::size_t>(length));
    std::free(text);
    return out;
}

}  // namespace

// clang-format off
EM_JS(char*, js_read_setting, (const char* name, int nameLength, int* length), {
    return Module.page.giveString(Module.page.settings.read(UTF8ToString(name, nameLength)), length);
});
EM_JS(void, js_write_setting, (const char* name, int nameLength, const char* value, int valueLength), {
    Module.page.settings.write(UTF8ToString(name, nameLength), UTF8ToString(value, valueLength));
});
EM_JS(char*, js_find_file, (const char* base, int baseLength, const char* relative, int relativeLength, int* length), {
    return Module.page.giveString(Module.page.files.find(UTF8ToString(base, baseLength),
                                                         UTF8ToString(relative, relativeLength)), length);
});
EM_JS(void, js_file_status, (const char* path, int pathLength, int* flags, double* size), {
    const status = Module.page.files.status(UTF8ToString(path, pathLength));
    HEAP32[flags >> 2] = (status.exists ? 1 : 0) | (status.file ? 2 : 0) | (status.readable ? 4 : 0);
    HEAPF64[size >> 3] = status.size;
});
EM_ASYNC_JS(int, js_read_file, (const char* path, int pathLength, double offset, int maxBytes, uint8_t* into), {
    const bytes = await Module.page.files.read(UTF8ToString(path, pathLength), offset, maxBytes);
    if (!bytes) return -1;
    HEAPU8.set(bytes, into);
    return bytes.length;
});
EM_JS(char*, js_write_file, (const char* path, int pathLength, const uint8_t* bytes, int size, int* length), {
    const error = Module.page.files.write(UTF8ToString(path, pathLength), HEAPU8.slice(bytes, bytes + size));
    return Module.page.giveString(error, length);
});
EM_ASYNC_JS(uint8_t*, js_site_file, (const char* name, int nameLength, int* length), {
    const bytes = await Module.page.siteFile(UTF8ToString(name, nameLength));
    return Module.page.giveBytes(bytes, length);
});
EM_JS(void, js_paint, (const uint8_t* pixels, int width, int height, int left, int top, int right, int bottom), {
    Module.page.paint(HEAPU8, pixels, width, height, left, top, right, bottom);
});
EM_ASYNC_JS(void, js_wait_for_next_frame, (), { await Module.page.nextFrame(); });
EM_ASYNC_JS(void, js_sleep, (int milliseconds), {
    await new Promise(resolve => setTimeout(resolve, milliseconds));
});
EM_JS(void, js_show_text_window, (const uint8_t* pixels, int width, int height), {
    Module.page.showTextWindow(HEAPU8, pixels, width, height);
});
EM_JS(void, js_hide_text_window, (), { Module.page.hideTextWindow(); });
EM_JS(void, js_text_window_position, (int* point), {
    const at = Module.page.textWindowPosition();
    HEAP32[point >> 2] = at.x;
    HEAP32[(point >> 2) + 1] = at.y;
});
EM_JS(void, js_move_text_window, (int x, int y), { Module.page.moveTextWindow(x, y); });
EM_JS(void, js_screen_size, (int* point), {
    const size = Module.page.screenSize();
    HEAP32[point >> 2] = size.x;
    HEAP32[(point >> 2) + 1] = size.y;
});
EM_JS(void, js_place_picture, (int x, int y, int bordered), { Module.page.placePicture(x, y, bordered != 0); });
EM_JS(void, js_picture_position, (int* point), {
    const at = Module.page.picturePosition();
    HEAP32[point >> 2] = at.x;
    HEAP32[(point >> 2) + 1] = at.y;
});
EM_JS(void, js_move_picture, (int x, int y), { Module.page.movePicture(x, y); });
EM_JS(void, js_game_ended, (), { Module.page.gameEnded(); });
EM_JS(void, js_show_highlight, (int shown, int left, int top, int right, int bottom), {
    Module.page.showHighlight(shown != 0, left, top, right, bottom);
});
EM_JS(void, js_show_reading_mark, (int mark), { Module.page.showReadingMark(mark); });
EM_JS(void, js_suppress_text_window, (int suppressed), {
    Module.page.suppressTextWindow(suppressed != 0);
});
EM_JS(void, js_host_request, (int request), { Module.page.hostRequest(request); });
EM_JS(void, js_open_message, (const char* caption, int captionLength, const char* text, int textLength, int icon, int buttons), {
    Module.page.dialogs.openMessage(UTF8ToString(caption, captionLength), UTF8ToString(text, textLength), icon, buttons);
});
EM_JS(void, js_open_settings_dialog, (), { Module.page.dialogs.openSettings(); });
EM_JS(void, js_open_folder_picker, (const char* name, int nameLength), {
    Module.page.dialogs.openFolderPicker(UTF8ToString(name, nameLength));
});
EM_ASYNC_JS(int, js_poll_dialog, (int milliseconds), { return await Module.page.dialogs.poll(milliseconds); });
EM_JS(char*, js_picked_archive, (int* length), {
    return Module.page.giveString(Module.page.dialogs.pickedArchive(), length);
});
EM_JS(void, js_open_music, (const uint8_t* bytes, int size, double seconds), {
    Module.page.sound.openMusic(HEAPU8.slice(bytes, bytes + size), seconds);
});
EM_JS(void, js_rewind_music, (), { Module.page.sound.rewindMusic(); });
EM_JS(void, js_play_music, (), { Module.page.sound.playMusic(); });
EM_JS(void, js_stop_music, (), { Module.page.sound.stopMusic(); });
EM_JS(int, js_music_stopped, (), { return Module.page.sound.musicStopped() ? 1 : 0; });
EM_ASYNC_JS(char*, js_play_voice, (const uint8_t* bytes, int size, int* length), {
    const error = await Module.page.sound.playVoice(HEAPU8.slice(bytes, bytes + size));
    return Module.page.giveString(error, length);
});
EM_JS(char*, js_take_event, (int* numbers, int* length), {
    const event = Module.page.takeEvent();
    if (!event) {
        HEAP32[numbers >> 2] = 0;
        return 0;
    }
    const values = [event.kind, event.button || 0, event.x || 0, event.y || 0,
                    event.alt ? 1 : 0, event.control ? 1 : 0, event.repeat ? 1 : 0];
    for (let i = 0; i < values.length; ++i) HEAP32[(numbers >> 2) + i] = values[i];
    return Module.page.giveString(event.key || "", length);
});
EM_JS(void, js_set_idle_timer, (int on), { Module.page.setIdleTimer(on != 0); });
EM_JS(double, js_now, (), { return performance.now(); });
EM_JS(void, js_warn, (const char* text, int length), { Module.page.warn(UTF8ToString(text, length)); });
EM_JS(void, js_trace, (const char* text, int length), { Module.page.trace(UTF8ToString(text, length)); });
// clang-format on

namespace {

int size(std::string_view text) {
    return static_cast<int>(text.size());
}

}  // namespace

std::optional<std::string> readSetting(std::string_view name) {
    int length = 0;
    return takeString(js_read_setting(name.data(), size(name), &length), length);
}

void writeSetting(std::string_view name, std::string_view value) {
    js_write_setting(name.data(), size(name), value.data(), size(value));
}

std::optional<std::string> findFile(std::string_view base, std::string_view relative) {
    int length = 0;
    return takeString(
        js_find_file(base.data(), size(base), relative.data(), size(relative), &length), length);
}

FileStatus fileStatus(std::string_view path) {
    int flags = 0;
    double bytes = 0;
    js_file_status(path.data(), size(path), &flags, &bytes);
    FileStatus status;
    status.exists = (flags & 1) != 0;
    status.regularFile = (flags & 2) != 0;
    status.sizeKnown = status.regularFile;
    status.size = status.regularFile ? static_cast<std::uint64_t>(bytes) : 0;
    return status;
}

bool fileOpensForReading(std::string_view path) {
    int flags = 0;
    double bytes = 0;
    js_file_status(path.data(), size(path), &flags, &bytes);
    return (flags & 4) != 0;
}

bool readFile(std::string_view path, std::uint64_t offset, std::size_t maxBytes,
              std::vector<std::uint8_t>& bytes) {
    bytes.resize(maxBytes);
    const int read = js_read_file(path.data(), size(path), static_cast<double>(offset),
                                  static_cast<int>(maxBytes), bytes.data());
    if (read < 0) {
        bytes.clear();
        return false;
    }
    bytes.resize(static_cast<std::size_t>(read));
    return true;
}

bool writeFile(std::string_view path, std::string_view bytes, std::string& error) {
    int length = 0;
    const auto problem = takeString(
        js_write_file(path.data(), size(path), reinterpret_cast<const std::uint8_t*>(bytes.data()),
                      size(bytes), &length),
        length);
    if (!problem) return true;
    error = *problem;
    return false;
}

std::optional<std::string> siteFile(std::string_view name) {
    int length = 0;
    return takeString(reinterpret_cast<char*>(js_site_file(name.data(), size(name), &length)),
                      length);
}

void paint(const Bitmap& screen, Rect area) {
    js_paint(screen.row(0), screen.width(), screen.height(), area.left, area.top, area.right,
             area.bottom);
}

void waitForNextFrame() {
    js_wait_for_next_frame();
}

void sleep(int milliseconds) {
    js_sleep(milliseconds);
}

void showTextWindow(const Bitmap& frame) {
    js_show_text_window(frame.row(0), frame.width(), frame.height());
}

void hideTextWindow() {
    js_hide_text_window();
}

WindowPoint textWindowPosition() {
    int point[2] = {};
    js_text_window_position(point);
    return {point[0], point[1]};
}

void moveTextWindow(WindowPoint topLeft) {
    js_move_text_window(topLeft.x, topLeft.y);
}

WindowPoint screenSize() {
    int point[2] = {};
    js_screen_size(point);
    return {point[0], point[1]};
}

void placePicture(WindowPoint topLeft, bool bordered) {
    js_place_picture(topLeft.x, topLeft.y, bordered ? 1 : 0);
}

WindowPoint picturePosition() {
    int point[2] = {};
    js_picture_position(point);
    return {point[0], point[1]};
}

void movePicture(WindowPoint topLeft) {
    js_move_picture(topLeft.x, topLeft.y);
}

void gameEnded() {
    js_game_ended();
}

void showHighlight(std::optional<Rect> area) {
    const Rect r = area.value_or(Rect{});
    js_show_highlight(area ? 1 : 0, r.left, r.top, r.right, r.bottom);
}

void showReadingMark(ReadingMark mark) {
    js_show_reading_mark(static_cast<int>(mark));
}

void suppressTextWindow(bool suppressed) {
    js_suppress_text_window(suppressed ? 1 : 0);
}

void hostRequest(int request) {
    js_host_request(request);
}

void openMessage(std::string_view caption, std::string_view text, MessageIcon icon,
                 MessageButtons buttons) {
    js_open_message(caption.data(), size(caption), text.data(), size(text), static_cast<int>(icon),
                    buttons == MessageButtons::OkCancel ? 1 : 0);
}

void openSettingsDialog() {
    js_open_settings_dialog();
}

void openFolderPicker(std::string_view initialName) {
    js_open_folder_picker(initialName.data(), size(initialName));
}

int pollDialog(int milliseconds) {
    return js_poll_dialog(milliseconds);
}

std::string pickedArchive() {
    int length = 0;
    return takeString(js_picked_archive(&length), length).value_or("");
}

void openMusic(const std::vector<std::uint8_t>& midi, double lengthSeconds) {
    js_open_music(midi.data(), static_cast<int>(midi.size()), lengthSeconds);
}

void rewindMusic() {
    js_rewind_music();
}

void playMusic() {
    js_play_music();
}

void stopMusic() {
    js_stop_music();
}

bool musicStopped() {
    return js_music_stopped() != 0;
}

bool playVoice(const std::vector<std::uint8_t>& wave, std::string& error) {
    int length = 0;
    const auto problem =
        takeString(js_play_voice(wave.data(), static_cast<int>(wave.size()), &length), length);
    if (!problem) return true;
    error = *problem;
    return false;
}

Event takeEvent() {
    int numbers[7] = {};
    int length = 0;
    char* key = js_take_event(numbers, &length);
    Event event;
    event.kind = static_cast<EventKind>(numbers[0]);
    event.button = numbers[1];
    event.x = numbers[2];
    event.y = numbers[3];
    event.alt = numbers[4] != 0;
    event.control = numbers[5] != 0;
    event.repeat = numbers[6] != 0;
    event.key = takeString(key, length).value_or("");
    return event;
}

void setIdleTimer(bool on) {
    js_set_idle_timer(on ? 1 : 0);
}

double now() {
    return js_now();
}

void warn(std::string_view message) {
    js_warn(message.data(), size(message));
}

void trace(std::string_view line) {
    js_trace(line.data(), size(line));
}

}  // namespace corvan::web::page
