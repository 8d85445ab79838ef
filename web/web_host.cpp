#include "web/web_host.h"

#include "render/glyph_atlas.h"
#include "web/page.h"
#include "web/web_loop.h"

namespace corvan::web {

namespace {
// How often a dialog that waits for the player lets the timer in.
constexpr int kDialogPollMilliseconds = 60;
}  // namespace

std::unique_ptr<TextRenderer> atlasTextRenderer(std::string& error) {
    const auto index = page::siteFile("fonts/index.bin");
    if (!index) {
        error = "the glyph atlas (fonts/index.bin) cannot be loaded";
        return nullptr;
    }
    auto glyphs = AtlasGlyphs::open(
        *index,
        [](int file) { return page::siteFile("fonts/font-" + std::to_string(file) + ".bin"); },
        error);
    if (!glyphs) return nullptr;
    return std::make_unique<TextRenderer>(std::move(glyphs));
}

WebHost::WebHost(std::unique_ptr<TextRenderer> text) : text_(std::move(text)) {}

std::optional<std::string> WebHost::readSetting(std::string_view name) {
    return page::readSetting(name);
}

void WebHost::writeSetting(std::string_view name, std::string_view value) {
    page::writeSetting(name, value);
}

int WebHost::waitForDialog() {
    for (;;) {
        const int answer = page::pollDialog(kDialogPollMilliseconds);
        if (answer >= 0) return answer;
        if (loop_ != nullptr) loop_->processEvents();
    }
}

MessageAnswer WebHost::showMessage(std::string_view caption, std::string_view text,
                                   MessageIcon icon, MessageButtons buttons) {
    page::openMessage(caption, text, icon, buttons);
    const int answer = waitForDialog();
    // A box with only an OK button answers OK however it was closed.
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return answer == 0 ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

std::optional<std::string> WebHost::chooseFile(std::string_view initialName, std::string_view,
                                               std::string_view) {
    // A browser hands out folders, not paths: the player picks the game's folder, and the file
    // chosen is the archive in it.
    page::openFolderPicker(initialName);
    if (waitForDialog() != 0) return std::nullopt;
    const std::string archive = page::pickedArchive();
    if (archive.empty()) return std::nullopt;
    return archive;
}

void WebHost::repaint(const Bitmap& screen) {
    const Rect changed = screen.takeDamage();
    if (!changed.empty()) page::paint(screen, changed);
}

void WebHost::endFrame(const Bitmap& screen) {
    screen.takeDamage();
    page::paint(screen, {0, 0, screen.width(), screen.height()});
    page::waitForNextFrame();
    if (loop_ != nullptr) loop_->processEvents();
}

void WebHost::showTextWindow(const Bitmap& frame) {
    page::showTextWindow(frame);
}

void WebHost::hideTextWindow() {
    page::hideTextWindow();
}

WindowPoint WebHost::textWindowPosition() {
    return page::textWindowPosition();
}

void WebHost::moveTextWindow(WindowPoint topLeft) {
    page::moveTextWindow(topLeft);
}

WindowPoint WebHost::screenSize() {
    return page::screenSize();
}

void WebHost::placeMainWindow(WindowPoint topLeft, WindowPoint, bool bordered) {
    page::placePicture(topLeft, bordered);
}

void WebHost::runSettingsDialog() {
    // The page's dialog stores every click at once, as the desktop's does.
    page::openSettingsDialog();
    waitForDialog();
}

void WebHost::closeMainWindow() {
    if (loop_ != nullptr) loop_->close();
}

WindowPoint WebHost::mainWindowPosition() {
    return page::picturePosition();
}

void WebHost::moveMainWindow(WindowPoint topLeft) {
    page::movePicture(topLeft);
}

void WebHost::pause(int milliseconds) {
    // The effects block the game as they always did; what was drawn is shown first.
    if (loop_ != nullptr) loop_->showChanges();
    if (milliseconds > 0) page::sleep(milliseconds);
}

void WebHost::warn(std::string_view message) {
    if (warned_.contains(message)) return;
    warned_.emplace(message);
    page::warn(message);
}

void WebHost::traceEvent(std::string_view line) {
    page::trace(line);
}

}  // namespace corvan::web
