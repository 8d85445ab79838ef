#pragma once

// What the shell's tests share: the settings file of the test run, game folders made in code,
// mouse events sent straight to a widget, and the list of test classes that main() runs.

#include <QEvent>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "shell/game_shell.h"

class QWidget;

namespace corvan::shell::test {

// The settings file every test uses: Brackwell.ini in the $XDG_CONFIG_HOME that main() made.
QString iniPath();
// Replaces the settings file with this text (or removes it when the text is empty).
void writeIni(const QString& text);
QString readIni();

// A game folder and a save folder in fresh temporary folders. The game folder holds mg_data.stf
// made from the chunks (name, UTF-8 script text) unless there are none.
class GameFolders {
public:
    explicit GameFolders(const std::vector<std::pair<std::string, std::string>>& chunks);
    QString gameDir() const { return gameDir_.path(); }
    QString saveDir() const { return saveDir_.path(); }
    QString archive() const { return gameDir_.filePath(QStringLiteral("mg_data.stf")); }
    // The settings file naming both folders, with any further lines ("Delay=1").
    void writeSettings(const QString& extraLines = QString()) const;

private:
    QTemporaryDir gameDir_;
    QTemporaryDir saveDir_;
};

// What the program writes to std::cerr while it exists.
class CapturedErrors {
public:
    CapturedErrors() : old_(std::cerr.rdbuf(text_.rdbuf())) {}
    ~CapturedErrors() { std::cerr.rdbuf(old_); }
    CapturedErrors(const CapturedErrors&) = delete;
    CapturedErrors& operator=(const CapturedErrors&) = delete;
    QString text() const { return QString::fromStdString(text_.str()); }

private:
    std::ostringstream text_;
    std::streambuf* old_;
};

// A game shell started on the folders, with the fast text speed (so that a page shows at once)
// and these further settings lines, without sound. Any message box fails the test.
std::unique_ptr<GameShell> startedShell(const GameFolders& folders,
                                        const QString& extraSettings = QString(),
                                        DisplayRequest display = {});

// A chunk "main" that waits for a click after each of its two pages.
std::vector<std::pair<std::string, std::string>> twoPageStory();

// Sends one mouse event to the widget, as the window system would deliver it.
void sendMouse(QWidget& widget, QEvent::Type type, Qt::MouseButton button, QPoint position);
void click(QWidget& widget, Qt::MouseButton button, QPoint position);

std::unique_ptr<QObject> makeDisplayTests();
std::unique_ptr<QObject> makeHostTests();
std::unique_ptr<QObject> makeMainWindowTests();
std::unique_ptr<QObject> makeMessageWindowTests();
std::unique_ptr<QObject> makePlayerSettingsTests();
std::unique_ptr<QObject> makeSettingsDialogTests();
std::unique_ptr<QObject> makeStartUpTests();

}  // namespace corvan::shell::test
