#include "shell/first_start.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "settings/setting_names.h"
#include "setup/setup_dialog.h"
#include "setup/setup_folders.h"
#include "shell/qt_host.h"

namespace corvan::shell {
namespace {

constexpr std::string_view kTitle = "コルヴァン";
constexpr std::string_view kOffer =
    "今すぐセットアップを実行しますか？\n"
    "ゲームのデータ（ゲームＣＤ、またはその内容をコピーしたフォルダ）とセーブフォルダを"
    "設定すると、ゲームを始められます。";

void explainWhatToWrite(const SettingsFile& store) {
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::absolute(store.path(), ec);
    std::cerr << "corvan: the game is not set up. Run corvan-setup, or write " << setting::kSaveDir
              << "=<the save folder> and " << setting::kGameDir
              << "=<the folder holding mg_data.stf> in the section [Corvan] of "
              << (ec ? store.path() : file).string() << '\n';
}

}  // namespace

bool offerSetup(QtHost& host, QWidget* parent) {
    const SettingsFile& store = host.settingsFile();
    if (host.showMessage(kTitle, kOffer, MessageIcon::Information, MessageButtons::OkCancel) ==
        MessageAnswer::Ok) {
        setup::SetupDialog dialog(store, setup::findGameFolders(store),
                                  setup::proposedSaveFolder(store), parent);
        if (dialog.exec() == QDialog::Accepted) return true;
    }
    explainWhatToWrite(store);
    return false;
}

}  // namespace corvan::shell
