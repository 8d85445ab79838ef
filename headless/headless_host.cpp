#include "headless/headless_host.h"

#include <iostream>

#include "settings/ini_text.h"

namespace corvan {

namespace {

std::string oneLine(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c != '\r') {
            out.push_back(c);
        }
    }
    return out;
}
}  // namespace

bool HeadlessHost::useSettingsFile(const std::filesystem::path& path, std::string& error) {
    SettingsFile file(path);
    if (!file.readText(error)) return false;
    settingsFile_ = std::move(file);
    return true;
}

void HeadlessHost::setSettingFallback(std::string_view name, std::string_view value) {
    fallbacks_[std::string(name)] = std::string(value);
}

std::optional<std::string> HeadlessHost::readSetting(std::string_view name) {
    std::optional<std::string> stored = settingsFile_
                                            ? settingsFile_->read(name)
                                            : iniValue(memorySettings_, kSettingsSection, name);
    if (stored) return stored;
    if (const auto it = fallbacks_.find(name); it != fallbacks_.end()) return it->second;
    return std::nullopt;
}

void HeadlessHost::writeSetting(std::string_view name, std::string_view value) {
    std::string error;
    if (settingsFile_) {
        if (!settingsFile_->write(name, value, error)) traceEvent("settings-error " + error);
    } else if (storableIniValue(value)) {
        memorySettings_ = withIniValue(memorySettings_, kSettingsSection, name, value);
    } else {
        traceEvent("settings-error the value of " + std::string(name) + " cannot be stored");
    }
}

MessageAnswer HeadlessHost::showMessage(std::string_view caption, std::string_view text,
                                        MessageIcon, MessageButtons buttons) {
    traceEvent("msgbox " + oneLine(caption) + "|" + oneLine(text));
    MessageAnswer answer =
        buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    if (!answers_.empty()) {
        if (buttons != MessageButtons::Ok) answer = answers_.front();
        answers_.pop_front();
    }
    return answer;
}

std::optional<std::string> HeadlessHost::chooseFile(std::string_view initialName,
                                                    std::string_view filterDescription,
                                                    std::string_view filterPattern) {
    std::optional<std::string> pick;
    if (!picks_.empty()) {
        pick = picks_.front();
        picks_.pop_front();
    }
    traceEvent("dialog " + std::string(initialName) + " " + std::string(filterDescription) + "|" +
               std::string(filterPattern) + " -> " + pick.value_or("cancel"));
    return pick;
}

void HeadlessHost::repaint(const Bitmap&) {
    ++repaints_;
}

void HeadlessHost::endFrame(const Bitmap& screen) {
    ++framesEnded_;
    if (frameObserver_) frameObserver_(screen);
}

void HeadlessHost::showTextWindow(const Bitmap& frame) {
    textWindowShown_ = true;
    textWindow_ = frame;
}

void HeadlessHost::hideTextWindow() {
    textWindowShown_ = false;
}

void HeadlessHost::placeMainWindow(WindowPoint topLeft, WindowPoint outerSize, bool bordered) {
    mainWindowAt_ = topLeft;
    mainWindowSize_ = outerSize;
    mainWindowBordered_ = bordered;
}

void HeadlessHost::runSettingsDialog() {
    traceEvent("dialog settings");
    for (const auto& [name, value] : dialogSettings_) writeSetting(name, value);
    dialogSettings_.clear();
}

void HeadlessHost::moveMainWindow(WindowPoint topLeft) {
    mainWindowAt_ = topLeft;
    mainWindowMoves_.push_back(topLeft);
}

void HeadlessHost::pause(int milliseconds) {
    if (milliseconds > 0) pausedMilliseconds_ += milliseconds;
}

void HeadlessHost::closeMainWindow() {
    if (!windowClosed_) traceEvent("close");
    windowClosed_ = true;
}

void HeadlessHost::warn(std::string_view message) {
    traceEvent("warning " + std::string(message));
}

void HeadlessHost::traceEvent(std::string_view line) {
    events_.emplace_back(line);
    if (sink_) sink_(events_.back());
}

}  // namespace corvan
