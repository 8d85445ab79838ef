#include "updater/update_form.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStringList>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "settings/settings_file.h"
#include "updater/program_copy.h"

namespace corvanup {
namespace {

const QString kTitle = QStringLiteral("コルヴァン・アップデート");
const QString kErrorTitle = QStringLiteral("エラー");
const QString kNotSetUp =
    QStringLiteral("ゲーム設定を読み込めません。\n先にゲームＣＤ上の SETUP を実行してください。");
const QString kInsertDisc =
    QStringLiteral("ゲームディスクの入ったＣＤ－ＲＯＭドライブを指定してください。");
const QString kCannotCopy = QStringLiteral("コピーできません。確認してください。");
const QString kCannotStart = QStringLiteral("ゲームを起動できません。");
const QString kDone = QStringLiteral("アップデート完了しました。");
const QString kCannotRecord = QStringLiteral("設定ファイルに書き込めません。\n%1");
const QString kNotInstalled = QStringLiteral("NULL");

const QStringList kInstructions = {
    QStringLiteral("コルヴァン・アップデート・プログラムをセーブ・"),
    QStringLiteral("フォルダにコピーします。"),
    QString(),
    QStringLiteral("ゲームＣＤを入れたＣＤＲＯＭドライブを指定して、"),
    QStringLiteral("[コピー開始]ボタンを押してください。"),
    QString(),
    QStringLiteral("ＣＤの内容をＨＤＤにコピーしてプレイしている場合"),
    QStringLiteral("や、他のフォルダにコピーしたい場合にはこのセット"),
    QStringLiteral("アップを使わず、手動でコピーしてください。"),
};

constexpr char kSaveDirKey[] = "SaveDir";
constexpr char kGameDirKey[] = "GameDir";
constexpr char kGameProgram[] = "corvan";
constexpr char kQuietGameProgram[] = "corvan2";

// The window's outer size was 329x268 with a 4-pixel sizing border and a 19-pixel caption;
// the window manager draws its own frame around the same client area.
constexpr int kClientWidth = 329 - 2 * 4;
constexpr int kClientHeight = 268 - 2 * 4 - 19;
constexpr int kLeft = 354;
constexpr int kTop = 465;

// A folder named in the game's settings file (read afresh, as the game may have changed it),
// or `fallback` when the file, the section or the value is missing.
QString readFolderSetting(const char* name, const QString& fallback) {
    const auto value = corvan::SettingsFile().read(name);
    return value ? QFile::decodeName(value->c_str()) : fallback;
}

// The entry of the volume whose folder holds the current folder most closely; 0 when none does.
int entryOfCurrentFolder(const QList<Volume>& volumes) {
    const QString current = QDir::currentPath();
    int best = 0;
    qsizetype bestLength = -1;
    for (int i = 0; i < volumes.size(); ++i) {
        QString folder = volumes[i].folder;
        if (!folder.endsWith(u'/')) folder += u'/';
        if ((current + u'/').startsWith(folder) && folder.size() > bestLength) {
            best = i;
            bestLength = folder.size();
        }
    }
    return best;
}

// The labels size themselves to their text: they get their place and at least their size, and
// grow wider where this font's text is wider, so that no character is cut off.
void placeLabel(QLabel* label, const QRect& geometry) {
    const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
    label->setGeometry(geometry.x(), geometry.y(), std::max(geometry.width(), textWidth),
                       geometry.height());
}

}  // namespace

UpdateForm::UpdateForm(const QList<Volume>& volumes, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(kTitle);
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic")});
    font.setPixelSize(12);
    setFont(font);
    resize(kClientWidth, kClientHeight);
    move(kLeft, kTop);

    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setGeometry(8, 160, 305, 25);
    edit1_->setReadOnly(true);

    button1_ = new QPushButton(QStringLiteral("コピー開始"), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setGeometry(8, 192, 75, 41);

    button2_ = new QPushButton(QStringLiteral("終了"), this);
    button2_->setObjectName(QStringLiteral("Button2"));
    button2_->setGeometry(88, 216, 75, 17);

    driveComboBox1_ = new QComboBox(this);
    driveComboBox1_->setObjectName(QStringLiteral("DriveComboBox1"));
    driveComboBox1_->setGeometry(168, 208, 145, 18);
    for (const Volume& volume : volumes) {
        driveComboBox1_->addItem(volumeEntryText(volume), volume.folder);
    }
    driveComboBox1_->setCurrentIndex(entryOfCurrentFolder(volumes));

    memo1_ = new QPlainTextEdit(this);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setGeometry(8, 8, 305, 129);
    memo1_->setReadOnly(true);
    memo1_->setFocusPolicy(Qt::StrongFocus);
    memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1_->document()->setDocumentMargin(2);
    QPalette memoPalette = memo1_->palette();
    memoPalette.setColor(QPalette::Text, Qt::black);
    memo1_->setPalette(memoPalette);
    memo1_->setPlainText(kInstructions.join(u'\n'));

    button3_ = new QPushButton(QStringLiteral("ゲーム開始"), this);
    button3_->setObjectName(QStringLiteral("Button3"));
    button3_->setGeometry(88, 192, 75, 17);

    label1_ = new QLabel(QStringLiteral("コピー先フォルダ"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    placeLabel(label1_, QRect(8, 144, 87, 12));

    label2_ = new QLabel(QStringLiteral("CDROMドライブの指定"), this);
    label2_->setObjectName(QStringLiteral("Label2"));
    placeLabel(label2_, QRect(184, 192, 116, 12));

    QWidget::setTabOrder(edit1_, button1_);
    QWidget::setTabOrder(button1_, button2_);
    QWidget::setTabOrder(button2_, driveComboBox1_);
    QWidget::setTabOrder(driveComboBox1_, memo1_);
    QWidget::setTabOrder(memo1_, button3_);
    edit1_->setFocus();

    connect(button1_, &QPushButton::clicked, this, &UpdateForm::Button1Click);
    connect(button3_, &QPushButton::clicked, this, &UpdateForm::Button3Click);
    connect(button2_, &QPushButton::clicked, this, &UpdateForm::Button2Click);
}

bool UpdateForm::FormCreate() {
    const QString saveDir = readFolderSetting(kSaveDirKey, kNotInstalled);
    if (saveDir == kNotInstalled) {
        showMessage({kTitle, kNotSetUp, QMessageBox::Critical, QMessageBox::Ok});
        return false;
    }
    edit1_->setText(saveDir);
    edit1_->setCursorPosition(0);  // a long folder shows its beginning
    return true;
}

void UpdateForm::Button1Click() {
    // Nothing done before a failure is undone: when corvan2 cannot be copied, corvan has
    // already been replaced and the game folder is left as it was.
    const QString saveDir = readFolderSetting(kSaveDirKey, kNotInstalled);
    const QString volume = driveComboBox1_->currentData().toString();
    if (!corvan::volumeHoldsArchive(volume)) {
        showMessage({kErrorTitle, kInsertDisc, QMessageBox::Warning, QMessageBox::Ok});
        return;
    }
    // A save folder read as "NULL" makes the targets NULL/corvan..., which normally fail.
    for (const char* program : {kGameProgram, kQuietGameProgram}) {
        const QString name = QLatin1String(program);
        QString reason;
        if (!copyProgram(name, saveDir + u'/' + name, reason)) {
            tellFailure(kCannotCopy, reason);
            return;
        }
    }
    std::string error;
    if (!corvan::SettingsFile().write(kGameDirKey, QFile::encodeName(volume).toStdString(),
                                      error)) {
        showMessage({kTitle, kCannotRecord.arg(QString::fromStdString(error)),
                     QMessageBox::Critical, QMessageBox::Ok});
        return;
    }
    showMessage({kTitle, kDone, QMessageBox::Information, QMessageBox::Ok});
}

void UpdateForm::Button3Click() {
    const QString saveDir = readFolderSetting(kSaveDirKey, kNotInstalled);
    // Always the build with sound, by its absolute path, in the updater's own folder (the
    // disc's): a game started for the first time, with no GameDir yet, finds the archive there.
    const QFileInfo program(saveDir + u'/' + QLatin1String(kGameProgram));
    QProcess game;
    game.setProgram(program.absoluteFilePath());
    game.setWorkingDirectory(QDir::currentPath());
    if (!game.startDetached()) {
        // The window stays, so that the player can copy the programs first.
        tellFailure(kCannotStart, QStringLiteral("cannot start %1: %2")
                                      .arg(program.absoluteFilePath(), game.errorString()));
        return;
    }
    close();
}

void UpdateForm::Button2Click() {
    close();
}

void UpdateForm::tellFailure(const QString& text, const QString& reason) {
    std::fprintf(stderr, "corvanup: %s\n", reason.toLocal8Bit().constData());
    showMessage({kErrorTitle, text + u'\n' + reason, QMessageBox::Warning, QMessageBox::Ok});
}

void UpdateForm::showMessage(const Message& message) {
    QMessageBox box(message.icon, message.caption, message.text, message.buttons,
                    isVisible() ? this : nullptr);
    box.exec();
}

int runUpdater(UpdateForm& form, const QString& screenshotFile) {
    if (!form.FormCreate()) return 0;
    form.show();
    if (!screenshotFile.isEmpty()) {
        QTimer::singleShot(0, &form, [&form, screenshotFile] {
            const bool saved = form.grab().save(screenshotFile, "PNG");
            if (!saved) {
                std::fprintf(stderr, "corvanup: cannot write %s\n",
                             QFile::encodeName(screenshotFile).constData());
            }
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}

}  // namespace corvanup
