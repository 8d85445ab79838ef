// corvan and corvan2: the game program. Both are built from this file; corvan2 is the silent
// build (CORVAN_SILENT_BUILD), which never plays music or voices.

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstring>

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
    std::printf("Usage: %s [--debug]\n\n", kProgram);
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
        "  --debug  print on standard error what fails silently for the player: a missing\n"
        "           chunk, label, picture or voice, a damaged archive, a script that stops\n"
        "           (CORVAN_TRACE=1 prints every event)\n"
        "\n"
        "The program reads its settings, SaveDir (the save folder) and GameDir (the game\n"
        "folder), from the section [Corvan] of $XDG_CONFIG_HOME/Brackwell.ini\n"
        "(~/.config/Brackwell.ini when XDG_CONFIG_HOME is unset).\n");
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
    bool debug = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printUsage();
            return 0;
        }
        if (std::strcmp(argv[i], "--debug") == 0) debug = true;
    }
    QApplication app(argc, argv);
#if !CORVAN_SILENT_BUILD
    // Made before the game and gone after it: the game's shutdown still stops the music.
    corvan::shell::SdlAudio audio(kProgram);
#endif
    corvan::shell::GameShell shell(corvan::GameOptions{.withSound = !CORVAN_SILENT_BUILD});
    shell.host().setDebug(debug);
#if !CORVAN_SILENT_BUILD
    shell.host().setAudio(&audio);
#endif
    QObject::connect(&shell.mainWindow(), &corvan::shell::MainWindow::closed, &app,
                     &QCoreApplication::quit);
    scheduleScreenshot(shell);
    shell.start();
    return app.exec();
}
