#include "setup/setup_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "setup/setup_folders.h"
#include "volumes/volumes.h"

namespace corvan::setup {
namespace {

const QString kTitle = QStringLiteral("コルヴァン セットアップ");
const QString kIntro = QStringLiteral(
    "コルヴァンを遊ぶための設定をします。\n"
    "ゲームのデータ（ゲームＣＤ、またはその内容をコピーしたフォルダ）と、"
    "セーブデータを保存するフォルダを指定して、[設定] を押してください。");
const QString kGameLabel =
    QStringLiteral("ゲームのデータがあるフォルダ（mg_data.stf のあるフォルダ）");
const QString kSaveLabel = QStringLiteral("セーブフォルダ（ないときは作成します）");
const QString kBrowse = QStringLiteral("参照...");

QPushButton* browseButton(const QString& name, QWidget* parent) {
    auto* button = new QPushButton(kBrowse, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

SetupDialog::SetupDialog(SettingsFile store, const QStringList& gameFolders,
                         const QString& proposedSave, QWidget* parent)
    : QDialog(parent), store_(std::move(store)) {
    setWindowTitle(kTitle);

    auto* intro = new QLabel(kIntro, this);
    intro->setWordWrap(true);

    gameFolder_ = new QComboBox(this);
    gameFolder_->setObjectName(QStringLiteral("gameFolder"));
    gameFolder_->setEditable(true);
    gameFolder_->setInsertPolicy(QComboBox::NoInsert);
    gameFolder_->setMinimumContentsLength(40);
    gameFolder_->addItems(gameFolders);
    auto* chooseGame = browseButton(QStringLiteral("chooseGameFolder"), this);
    gameStatus_ = new QLabel(this);
    gameStatus_->setObjectName(QStringLiteral("gameStatus"));
    gameStatus_->setWordWrap(true);

    saveFolder_ = new QLineEdit(proposedSave, this);
    saveFolder_->setObjectName(QStringLiteral("saveFolder"));
    auto* chooseSave = browseButton(QStringLiteral("chooseSaveFolder"), this);

    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->addButton(QStringLiteral("設定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);

    auto* folders = new QGridLayout;
    folders->addWidget(new QLabel(kGameLabel, this), 0, 0, 1, 2);
    folders->addWidget(gameFolder_, 1, 0);
    folders->addWidget(chooseGame, 1, 1);
    folders->addWidget(gameStatus_, 2, 0, 1, 2);
    folders->addWidget(new QLabel(kSaveLabel, this), 3, 0, 1, 2);
    folders->addWidget(saveFolder_, 4, 0);
    folders->addWidget(chooseSave, 4, 1);
    folders->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addSpacing(8);
    layout->addLayout(folders);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(gameFolder_, &QComboBox::currentTextChanged, this, &SetupDialog::updateGameStatus);
    connect(chooseGame, &QPushButton::clicked, this, [this] {
        const QString folder =
            chooseFolder(QStringLiteral("ゲームのデータがあるフォルダ"), gameFolder());
        if (!folder.isEmpty()) gameFolder_->setCurrentText(QDir::toNativeSeparators(folder));
    });
    connect(chooseSave, &QPushButton::clicked, this, [this] {
        const QString folder = chooseFolder(QStringLiteral("セーブフォルダ"), saveFolder());
        if (!folder.isEmpty()) saveFolder_->setText(QDir::toNativeSeparators(folder));
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &SetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SetupDialog::reject);
    updateGameStatus();
}

QString SetupDialog::gameFolder() const {
    return gameFolder_->currentText().trimmed();
}

QString SetupDialog::saveFolder() const {
    return saveFolder_->text().trimmed();
}

void SetupDialog::accept() {
    if (const auto problem = applySetup({gameFolder(), saveFolder()}, store_)) {
        showWarning(describeForPlayer(*problem));
        return;
    }
    QDialog::accept();
}

void SetupDialog::showWarning(const QString& text) {
    QMessageBox::warning(this, kTitle, text);
}

QString SetupDialog::chooseFolder(const QString& caption, const QString& start) {
    return QFileDialog::getExistingDirectory(this, caption, start);
}

void SetupDialog::updateGameStatus() {
    const QString folder = gameFolder();
    if (folder.isEmpty()) {
        gameStatus_->setText(
            QStringLiteral("ゲームのデータが見つかりません。ゲームＣＤを入れるか、[参照...] で"
                           "その内容をコピーしたフォルダを指定してください。"));
    } else if (volumeHoldsArchive(folder)) {
        gameStatus_->setText(QStringLiteral("mg_data.stf があります。"));
    } else {
        gameStatus_->setText(QStringLiteral("このフォルダには mg_data.stf がありません。"));
    }
}

}  // namespace corvan::setup
