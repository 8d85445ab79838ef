// corvan and corvan2: the game program. Both are built from this file; corvan2 is the silent
// build (CORVAN_SILENT_BUILD), which never plays music or voices.

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>

#include "corvan_version.h"
#include "desktop/japanese_qt.h"
#include "settings/int_value.h"
#include "shell/game_shell.h"

#ifndef CORVAN_SILENT_BUILD
#define CORVAN_SILENT_BUILD 0
#endif

#if !CORVAN_SILENT_BUILD
#include "shell/sdl_audio.h"
#endif

namespace {

constexpr const char* kProgram = CORVAN_SILENT_BUILD ? "corvan2" : "corvan";

void printUsage() {
    std::printf("Usage: %s [--scale N] [--fullscreen | --window] [--debug]\n\n", kProgram);
    std::printf(
        "Plays the game installed in the game folder: the script archive mg_data.stf and its\n"
        "GRA, wave and MIDI folders.\n");
    if (CORVAN_SILENT_BUILD) {
        std::printf("This build plays no music and no voices.\n");
    } else {
        std::printf(
            "MIDI music plays with the General MIDI soundfont of timgm6mb-soundfont, or with the\n"
            "soundfont file that the environment variable CORVAN_SOUNDFONT names.\n");
    }
    std::printf(
        "\n"
        "Options:\n"
        "  --scale N       show the 640x480 picture N times as large (default: as the\n"
        "                  Scaling setting sizes it, or the Scale setting)\n"
        "  --fullscreen    start in fullscreen; --window starts in a window\n"
        "  --debug         print on standard error what fails silently for the player: a\n"
        "                  missing chunk, label, picture or voice, a damaged archive, a\n"
        "                  script that stops (CORVAN_TRACE=1 prints every event)\n"
        "  --help          show this text; --version shows the version\n"
        "\n"
        "Keys: Enter or Space reads on and picks the highlighted row, the arrow keys and the\n"
        "mouse wheel move the highlight, Escape opens the system menu, holding Ctrl skips\n"
        "page and click waits, F11 or Alt+Enter switches fullscreen, F12 or Ctrl+S saves a\n"
        "screenshot in the pictures folder, + and - turn the music up and down, O opens the\n"
        "player settings window; the Menu key or Shift with the right button opens the\n"
        "window's menu.\n"
        "The manual (man 6 corvan) tells the settings, files and environment variables.\n"
        "\n"
        "It reads its settings, SaveDir (the save folder), GameDir (the game folder) and the\n"
        "player's choices Scale, Scaling (auto, whole, sharp or smooth), Smooth, FullScreen,\n"
        "Volume, AutoSpeed and SkipUnread, from the section [Corvan] of\n"
        "$XDG_CONFIG_HOME/Brackwell.ini (~/.config/Brackwell.ini when XDG_CONFIG_HOME is unset).\n"
        "When SaveDir is missing it offers to run the setup (corvan-setup) first.\n");
}

// A picture of the screen for checking the program on a display nobody looks at:
// CORVAN_SCREENSHOT=file.png saves the whole screen after CORVAN_SCREENSHOT_MS (3000) ms.
void scheduleScreenshot(corvan::shell::GameShell& shell) {
    const QString file = qEnvironmentVariable("CORVAN_SCREENSHOT");
    if (file.isEmpty()) return;
    bool ok = false;
    int delay_ms = qEnvironmentVariableIntValue("CORVAN_SCREENSHOT_MS", &ok);
    if (!ok) delay_ms = 3000;
    QTimer::singleShot(delay_ms, &shell.mainWindow(), [&shell, file] {
        QPixmap picture;
        if (QScreen* screen = QGuiApplication::primaryScreen()) picture = screen->grabWindow(0);
        if (picture.isNull()) picture = shell.mainWindow().grab();
        if (!picture.save(file))
            std::fprintf(stderr, "%s: cannot save %s\n", kProgram, qPrintable(file));
    });
}

}  // namespace

int main(int argc, char** argv) {
    corvan::shell::DisplayRequest display;
    bool debug = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            printUsage();
            return 0;
        }
        if (arg == "--version") {
            corvan::printVersion(kProgram);
            return 0;
        }
        if (arg == "--scale") {
            const auto scale = i + 1 < argc ? corvan::parseIntValue(argv[++i]) : std::nullopt;
            if (!scale || *scale < 1 || *scale > 16) {
                std::fprintf(stderr, "%s: --scale takes a whole number from 1 to 16\n", kProgram);
                return 2;
            }
            display.scale = *scale;
        } else if (arg == "--debug") {
            debug = true;
        } else if (arg == "--fullscreen" || arg == "--window") {
            display.fullScreen = arg == "--fullscreen";
        } else if (arg.rfind("-", 0) == 0) {
            // Qt's own options (-platform, -display ...) are Qt's to read.
            continue;
        }
    }
    QApplication app(argc, argv);
    const corvan::JapaneseQtTexts japanese;
    // The installed desktop entry and icon: Wayland finds the entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("corvan"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("corvan")));
#if !CORVAN_SILENT_BUILD
    // Made before the game and gone after it: the game's shutdown still stops the music.
    corvan::shell::SdlAudio audio(kProgram);
#endif
    corvan::shell::GameShell shell(corvan::GameOptions{.withSound = !CORVAN_SILENT_BUILD},
                                   corvan::SettingsFile(), display);
    shell.host().setDebug(debug);
#if !CORVAN_SILENT_BUILD
    shell.host().setAudio(&audio);
    shell.setMusicVolumeSink([&audio](int percent) { audio.setMusicVolume(percent); });
#endif
    QObject::connect(&shell.mainWindow(), &corvan::shell::MainWindow::closed, &app,
                     &QCoreApplication::quit);
    scheduleScreenshot(shell);
    shell.start();
    return app.exec();
}
