#pragma once

// The host as the game sees it when the reader stands between them: every call goes through to
// the real host unchanged, and the events the game reports (a text line, a voice) are shown to
// the reader as well, so that it can keep the pages for the backlog and the read record without
// the game knowing of it.

#include <functional>
#include <string_view>

#include "engine/host.h"

namespace corvan {

class ObservedHost : public Host {
public:
    explicit ObservedHost(Host& host) : host_(host) {}

    // Called with every event line, before the real host gets it.
    void onEvent(std::function<void(std::string_view)> listener) {
        listener_ = std::move(listener);
    }
    Host& inner() { return host_; }

    std::optional<std::string> readSetting(std::string_view name) override {
        return host_.readSetting(name);
    }
    void writeSetting(std::string_view name, std::string_view value) override {
        host_.writeSetting(name, value);
    }
    MessageAnswer showMessage(std::string_view caption, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override {
        return host_.showMessage(caption, text, icon, buttons);
    }
    std::optional<std::string> chooseFile(std::string_view initialName,
                                          std::string_view filterDescription,
                                          std::string_view filterPattern) override {
        return host_.chooseFile(initialName, filterDescription, filterPattern);
    }
    void repaint(const Bitmap& screen) override { host_.repaint(screen); }
    void endFrame(const Bitmap& screen) override { host_.endFrame(screen); }
    void showTextWindow(const Bitmap& frame) override { host_.showTextWindow(frame); }
    void hideTextWindow() override { host_.hideTextWindow(); }
    WindowPoint textWindowPosition() override { return host_.textWindowPosition(); }
    void moveTextWindow(WindowPoint topLeft) override { host_.moveTextWindow(topLeft); }
    WindowPoint screenSize() override { return host_.screenSize(); }
    void placeMainWindow(WindowPoint topLeft, WindowPoint outerSize, bool bordered) override {
        host_.placeMainWindow(topLeft, outerSize, bordered);
    }
    void runSettingsDialog() override { host_.runSettingsDialog(); }
    void closeMainWindow() override { host_.closeMainWindow(); }
    WindowPoint mainWindowPosition() override { return host_.mainWindowPosition(); }
    void moveMainWindow(WindowPoint topLeft) override { host_.moveMainWindow(topLeft); }
    AudioOut& audio() override { return host_.audio(); }
    FileStore& files() override { return host_.files(); }
    TextRenderer& text() override { return host_.text(); }
    void pause(int milliseconds) override { host_.pause(milliseconds); }
    void warn(std::string_view message) override { host_.warn(message); }
    void traceEvent(std::string_view line) override {
        if (listener_) listener_(line);
        host_.traceEvent(line);
    }

private:
    Host& host_;
    std::function<void(std::string_view)> listener_;
};

}  // namespace corvan
