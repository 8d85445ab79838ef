// Start-up and shutdown: find the installation's folders in the settings, refuse to run a game
// that was never set up, find the game directory (asking the player when the archive is not
// where the settings say), then initialise the game and start the chunk "main".

#include <filesystem>
#include <system_error>

#include "game/game.h"
#include "render/raster.h"
#include "render/resources.h"

namespace corvan {

namespace {

constexpr std::string_view kTitle = "コルヴァン";
constexpr std::string_view kNotInstalled =
    "セーブドライブが設定されていません。先に setup を実行してください。";
constexpr std::string_view kDirectoryTitle = "コルヴァン起動ディレクトリ";
constexpr std::string_view kArchiveMissing =
    "ファイルが見つかりません(MG_DATA.STF)。\n"
    "このファイルとデータフォルダ(GRA,WAV,MIDI)があるフォルダ（ディレクトリ）を指定してください。";
constexpr std::string_view kArchiveName = "mg_data.stf";

// The archive counts as present when it can be found, in any letter case, as a file.
bool archiveIsIn(FileStore& files, const std::filesystem::path& folder) {
    const auto file = files.find(folder, kArchiveName);
    return file && files.status(*file).regularFile;
}

}  // namespace

void Game::FormCreate() {
    quitRequested = false;
    const std::string saveDir = host_.readSetting(setting::kSaveDir).value_or("NULL");
    std::error_code ec;
    std::string gameDir =
        host_.readSetting(setting::kGameDir).value_or(std::filesystem::current_path(ec).string());
    if (saveDir == "NULL") {
        host_.showMessage(kTitle, kNotInstalled, MessageIcon::Stop, MessageButtons::Ok);
        quitRequested = true;
        return;
    }
    saveFolder = std::filesystem::path(saveDir.empty() ? "/" : saveDir);

    for (;;) {
        if (archiveIsIn(host_.files(), gameDir)) {
            gameDirectory = gameDir;
            host_.writeSetting(setting::kGameDir, gameDir);
            InitGame();
            return;
        }
        const MessageAnswer answer = host_.showMessage(
            kDirectoryTitle, kArchiveMissing, MessageIcon::Exclamation, MessageButtons::OkCancel);
        if (answer != MessageAnswer::Ok) {
            quitRequested = true;
            return;
        }
        // The folder of whatever archive file the player picked; cancelling asks again.
        if (const auto picked = host_.chooseFile(kArchiveName, "ゲームファイル", "*.stf")) {
            gameDir = std::filesystem::path(*picked).parent_path().string();
        }
    }
}

void Game::InitGame() {
    settings = readGameSettings(host_);
    clearMark = settings.clearMark;
    // A screen no larger than the game's picture gets a borderless window, which cannot float
    // the message window. The window is centred by its bordered outer size even so.
    const WindowPoint desktop = host_.screenSize();
    mainWindowBordered = desktop.x > kScreenWidth && desktop.y > kScreenHeight;
    movableFrame = settings.movableFrame && mainWindowBordered;
    constexpr WindowPoint kOuterSize{648, 512};
    host_.placeMainWindow({(desktop.x - kOuterSize.x) / 2, (desktop.y - kOuterSize.y) / 2},
                          kOuterSize, mainWindowBordered);
    frameFont = FontSpec{"ＭＳＰゴシック", 16, true};
    layers.diza = loadResource("DIZA");
    layers.frameBackdrop = loadResource("TEXT_BG");
    layers.heart = loadResource("HEART");
    layers.selectBackground = loadResource("SELECTBG");
    ResetRunState();
    vars.clearGameVariables();
    aMarks.fill(0);
    bMarks.fill(0);
    vars.setV(Variables::kClearMarkValue, clearMark);
    // The marks in memory now equal the seen record, and E0-E255 come from it.
    UpdateSeenRecord();
    SoundSetup();
    if (!LoadDirectory()) {
        host_.showMessage(kDirectoryTitle, kArchiveMissing, MessageIcon::Exclamation,
                          MessageButtons::Ok);
        quitRequested = true;
        return;
    }
    chapterName = {'m', 'a', 'i', 'n', 0, 0, 0, 0};
    LoadChunk("main");
}

void Game::ApplySettings() {
    const bool wasMovable = movableFrame;
    settings = readGameSettings(host_);
    movableFrame = settings.movableFrame && mainWindowBordered;
    if (movableFrame == wasMovable) return;
    // The frame changes place with its bare backdrop; the page's text is not drawn again.
    layers.frameBackdrop = loadResource("TEXT_BG");
    if (movableFrame) {
        frameFontColour = 0xFFFFFF;
        draw(layers.textFrame, 0, 0, layers.frameBackdrop);
        host_.showTextWindow(layers.textFrame);
    } else {
        host_.hideTextWindow();
        BuildFrameBackdrop();
        draw(layers.textFrame, 0, 0, layers.frameBackdrop);
        draw(screen, kFrameLeft, kFrameTop, layers.textFrame);
        host_.repaint(screen);
    }
}

void Game::FormDestroy() {
    PlayMusic(0);
}

}  // namespace corvan
