#pragma once

// The browser's host: the game on a web page. The picture is the page's canvas, the settings
// and saves live in the browser's storage, the files come from the site or the player's own
// folder, glyphs from the glyph atlas, sound from Web Audio and a General MIDI synthesiser;
// message boxes and the settings dialog are the page's own dialogs. While a transition's frame,
// a pause or a dialog waits, the browser runs on and the page's events are handled as the
// desktop's event loop handles them (web/web_loop.h).

#include <memory>
#include <set>
#include <string>

#include "engine/host.h"
#include "render/font.h"
#include "web/web_audio.h"
#include "web/web_files.h"

namespace corvan::web {

class WebLoop;

class WebHost : public Host {
public:
    // `text` draws from the site's glyph atlas.
    explicit WebHost(std::unique_ptr<TextRenderer> text);

    // The loop whose events run while the game waits; set once the game exists.
    void attach(WebLoop& loop) { loop_ = &loop; }

    std::optional<std::string> readSetting(std::string_view name) override;
    void writeSetting(std::string_view name, std::string_view value) override;
    MessageAnswer showMessage(std::string_view caption, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    std::optional<std::string> chooseFile(std::string_view initialName,
                                          std::string_view filterDescription,
                                          std::string_view filterPattern) override;
    void repaint(const Bitmap& screen) override;
    void endFrame(const Bitmap& screen) override;
    void showTextWindow(const Bitmap& frame) override;
    void hideTextWindow() override;
    WindowPoint textWindowPosition() override;
    void moveTextWindow(WindowPoint topLeft) override;
    WindowPoint screenSize() override;
    void placeMainWindow(WindowPoint topLeft, WindowPoint outerSize, bool bordered) override;
    void runSettingsDialog() override;
    void closeMainWindow() override;
    WindowPoint mainWindowPosition() override;
    void moveMainWindow(WindowPoint topLeft) override;
    AudioOut& audio() override { return audio_; }
    FileStore& files() override { return files_; }
    TextRenderer& text() override { return *text_; }
    void pause(int milliseconds) override;
    void warn(std::string_view message) override;
    void traceEvent(std::string_view line) override;

private:
    // Waits until the dialog the page has open is closed, letting the timer in meanwhile;
    // returns the page's answer (0 OK, 1 Cancel).
    int waitForDialog();

    WebFiles files_;
    WebAudio audio_{files_};
    std::unique_ptr<TextRenderer> text_;
    WebLoop* loop_ = nullptr;
    std::set<std::string, std::less<>> warned_;
};

// The text drawer on the site's glyph atlas ("fonts/index.bin" and its font files); nullptr,
// with the reason in `error`, when the atlas's index cannot be read.
std::unique_ptr<TextRenderer> atlasTextRenderer(std::string& error);

}  // namespace corvan::web
