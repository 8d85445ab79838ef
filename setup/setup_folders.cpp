#include "setup/setup_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <string>
#include <system_error>

#include "settings/setting_names.h"
#include "volumes/volumes.h"

namespace corvan::setup {
namespace {

// The SaveDir of a game that was never set up, as the game reads it.
constexpr std::string_view kNotSetUp = "NULL";

std::optional<QString> recordedFolder(const SettingsFile& store, std::string_view name) {
    const auto value = store.read(name);
    if (!value || value->empty() || *value == kNotSetUp) return std::nullopt;
    return QFile::decodeName(value->c_str());
}

// The form the game is given: absolute, without "." or ".." steps or a trailing '/', so that it
// names the same folder whatever the game's current folder is. A leading "~" typed into the
// window is the home folder, as a shell would take it.
QString absoluteFolder(QString folder) {
    if (folder == u'~' || folder.startsWith(QStringLiteral("~/"))) {
        folder.replace(0, 1, QDir::homePath());
    }
    return QDir::cleanPath(QDir(folder).absolutePath());
}

std::optional<SetupProblem> checkSaveFolder(const QString& folder) {
    const std::filesystem::path path(QFile::encodeName(folder).toStdString());
    std::error_code made;
    std::filesystem::create_directories(path, made);
    std::error_code ignored;
    if (made || !std::filesystem::is_directory(path, ignored)) {
        const QString reason =
            made ? QString::fromLocal8Bit(made.message()) : QStringLiteral("not a folder");
        return SetupProblem{SetupProblem::Kind::SaveFolderNotMade, folder, reason};
    }
    // Permissions alone do not tell (a read-only mount, an ACL): make a file and remove it.
    QTemporaryFile probe(folder + QStringLiteral("/.corvan-setup-XXXXXX"));
    if (!probe.open()) {
        return SetupProblem{SetupProblem::Kind::SaveFolderReadOnly, folder, probe.errorString()};
    }
    return std::nullopt;
}

bool writeFolder(const SettingsFile& store, std::string_view name, const QString& folder,
                 std::string& error) {
    return store.write(name, QFile::encodeName(folder).toStdString(), error);
}

}  // namespace

bool isSetUp(const SettingsFile& store) {
    const auto saveDir = store.read(setting::kSaveDir);
    return saveDir && *saveDir != kNotSetUp;
}

QStringList findGameFolders(const SettingsFile& store) {
    QStringList candidates;
    if (const auto recorded = recordedFolder(store, setting::kGameDir)) candidates << *recorded;
    candidates << QDir::currentPath();
    for (const Volume& volume : listVolumes()) candidates << volume.folder;
    QStringList found;
    for (const QString& folder : candidates) {
        const QString absolute = absoluteFolder(folder);
        if (!found.contains(absolute) && volumeHoldsArchive(absolute)) found << absolute;
    }
    return found;
}

QString proposedSaveFolder(const SettingsFile& store) {
    if (const auto recorded = recordedFolder(store, setting::kSaveDir)) return *recorded;
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || QDir::isRelativePath(data)) {
        data = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(data + QStringLiteral("/corvan/save"));
}

std::optional<SetupProblem> applySetup(const SetupFolders& folders, const SettingsFile& store) {
    if (folders.game.isEmpty()) return SetupProblem{SetupProblem::Kind::NoGameFolderFound, {}, {}};
    if (folders.save.isEmpty()) return SetupProblem{SetupProblem::Kind::NoSaveFolder, {}, {}};
    const QString game = absoluteFolder(folders.game);
    if (!volumeHoldsArchive(game))
        return SetupProblem{SetupProblem::Kind::ArchiveMissing, game, {}};
    const QString save = absoluteFolder(folders.save);
    if (auto problem = checkSaveFolder(save)) return problem;

    std::string error;
    if (!writeFolder(store, setting::kGameDir, game, error) ||
        !writeFolder(store, setting::kSaveDir, save, error)) {
        return SetupProblem{SetupProblem::Kind::SettingsNotWritten,
                            QFile::decodeName(store.path().c_str()), QString::fromStdString(error)};
    }
    return std::nullopt;
}

QString describeForPlayer(const SetupProblem& problem) {
    using Kind = SetupProblem::Kind;
    switch (problem.kind) {
        case Kind::NoGameFolderFound:
            return QStringLiteral(
                "ゲームのデータ（mg_data.stf）が見つかりません。\n"
                "ゲームＣＤか、その内容をコピーしたフォルダを指定してください。");
        case Kind::NoSaveFolder: return QStringLiteral("セーブフォルダを指定してください。");
        case Kind::ArchiveMissing:
            return QStringLiteral(
                       "フォルダ %1 に mg_data.stf がありません。\n"
                       "ゲームＣＤか、その内容をコピーしたフォルダを指定してください。")
                .arg(problem.path);
        case Kind::SaveFolderNotMade:
            return QStringLiteral("セーブフォルダ %1 を作成できません（%2）。")
                .arg(problem.path, problem.reason);
        case Kind::SaveFolderReadOnly:
            return QStringLiteral("セーブフォルダ %1 に書き込めません（%2）。")
                .arg(problem.path, problem.reason);
        case Kind::SettingsNotWritten:
            return QStringLiteral("設定ファイルに書き込めません。\n%1").arg(problem.reason);
    }
    return {};
}

QString describeForShell(const SetupProblem& problem) {
    using Kind = SetupProblem::Kind;
    switch (problem.kind) {
        case Kind::NoGameFolderFound:
            return QStringLiteral(
                "no mounted volume holds mg_data.stf; name the game folder with --game DIR");
        case Kind::NoSaveFolder: return QStringLiteral("no save folder given");
        case Kind::ArchiveMissing:
            return QStringLiteral("mg_data.stf is missing in %1 (the game folder must hold it)")
                .arg(problem.path);
        case Kind::SaveFolderNotMade:
            return QStringLiteral("the save folder %1 cannot be made: %2")
                .arg(problem.path, problem.reason);
        case Kind::SaveFolderReadOnly:
            return QStringLiteral("the save folder %1 is not writable: %2")
                .arg(problem.path, problem.reason);
        case Kind::SettingsNotWritten:
            return problem.reason;  // the store's own words name the file
    }
    return {};
}

}  // namespace corvan::setup
