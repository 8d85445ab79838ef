// corvanup: copies the game programs corvan and corvan2 from the current folder (the game
// disc's) into the save folder, records the disc as the game folder and can start the game.

#include <QApplication>
#include <cstdio>
#include <cstring>

#include "corvan_version.h"
#include "desktop/japanese_qt.h"
#include "updater/update_form.h"
#include "volumes/volumes.h"

namespace {

constexpr char kUsage[] =
    "Usage: corvanup [--screenshot FILE]\n"
    "Copies corvan and corvan2 from the current folder into the game's save folder.\n"
    "Run it from the game disc's folder, pick the disc in the drive list and press コピー開始.\n"
    "  --screenshot FILE  show the window, save a PNG picture of it to FILE and quit\n"
    "  --help             show this help and quit\n"
    "  --version          show the version and quit\n";

}  // namespace

int main(int argc, char** argv) {
    const char* screenshot = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (corvan::answerHelpOrVersion(argv[i], "corvanup", kUsage)) return 0;
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            screenshot = argv[++i];
            continue;
        }
        std::fprintf(stderr, "corvanup: unknown argument %s\n%s", argv[i], kUsage);
        return 2;
    }

    QApplication app(argc, argv);
    const corvan::JapaneseQtTexts japanese;
    corvanup::UpdateForm form(corvan::listVolumes());
    return corvanup::runUpdater(form, screenshot ? QString::fromLocal8Bit(screenshot) : QString());
}
