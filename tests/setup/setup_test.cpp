// The setup: its command line run as a program (what it writes, and how it refuses), and its
// window driven offscreen. Every test has its own settings file, game folders and data folder in
// a temporary folder; the mounted volumes are replaced by CORVANUP_VOLUMES.

#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "setup/setup_dialog.h"
#include "setup/setup_folders.h"

namespace {

using corvan::SettingsFile;
using corvan::setup::SetupDialog;

const QString kMyLines =
    QStringLiteral("; my notes\n[Corvan]\nBGM=1\nSaveDir=NULL\n\n[Other]\nKey=value\n");

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(bytes);
}

QString readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The window with its message boxes written down and its folder picker answered.
class RecordingDialog : public SetupDialog {
public:
    using SetupDialog::SetupDialog;
    QStringList warnings;
    QString pickedFolder;

    // Presses a button of the window, found by its text.
    void press(const QString& text) {
        for (QPushButton* button : findChildren<QPushButton*>()) {
            if (button->text() == text) return button->click();
        }
        QFAIL(qPrintable(QStringLiteral("no button ") + text));
    }
    QString gameStatus() const { return findChild<QLabel*>(QStringLiteral("gameStatus"))->text(); }

protected:
    void showWarning(const QString& text) override { warnings << text; }
    QString chooseFolder(const QString&, const QString&) override { return pickedFolder; }
};

class SetupTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root_;
    QString at(const QString& name) const { return root_->path() + u'/' + name; }
    QString ini() const { return at(QStringLiteral("config/Brackwell.ini")); }
    SettingsFile store() const { return SettingsFile(QFile::encodeName(ini()).toStdString()); }
    QString read(const char* name) const {
        return QFile::decodeName(store().read(name).value_or("(none)").c_str());
    }

    // Runs corvan-setup with these arguments in the data folder, as "nobody" when `unprivileged`
    // and this test is root (who may write anywhere). Exit code and standard error.
    std::pair<int, QString> runSetup(const QStringList& args, bool unprivileged = false) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), at(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), at(QStringLiteral("data")));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(at(QStringLiteral("data")));
        if (unprivileged) {
            process.setChildProcessModifier([] {
                if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                    ::_exit(99);
                }
            });
        }
        process.start(QStringLiteral(CORVAN_SETUP_PROGRAM), args);
        if (!process.waitForFinished(30000)) return {-1, QStringLiteral("did not finish")};
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
    }

private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        QVERIFY(root_->isValid());
        for (const char* folder : {"config", "game", "empty", "data"}) {
            QVERIFY(QDir().mkpath(at(QString::fromLatin1(folder))));
        }
        // The disc's own upper-case name: found in any letter case.
        writeFile(at(QStringLiteral("game/MG_DATA.STF")), "STF");
        writeFile(ini(), kMyLines.toUtf8());
        qputenv("XDG_DATA_HOME", QFile::encodeName(at(QStringLiteral("data"))));
        qputenv("CORVANUP_VOLUMES",
                QFile::encodeName(at(QStringLiteral("empty")) + u':' + at(QStringLiteral("game"))));
    }

    void cleanup() {
        // Every folder writable again, so that the temporary folder can go.
        QFile::setPermissions(root_->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(at(QStringLiteral("save")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        root_.reset();
        qunsetenv("CORVANUP_VOLUMES");
        qunsetenv("XDG_DATA_HOME");
    }

    void givenBothFolders_whenRunWithoutWindow_thenBothWrittenAndTheOtherLinesKept() {
        const auto [code, errors] =
            runSetup({QStringLiteral("--game"), at(QStringLiteral("game/")),
                      QStringLiteral("--save"), at(QStringLiteral("save/new"))});
        QCOMPARE(errors, QString());
        QCOMPARE(code, 0);
        QCOMPARE(readFile(ini()),
                 QStringLiteral("; my notes\n[Corvan]\nBGM=1\nSaveDir=%1\nGameDir=%2\n"
                                "\n[Other]\nKey=value\n")
                     .arg(at(QStringLiteral("save/new")), at(QStringLiteral("game"))));
        QVERIFY(QFileInfo(at(QStringLiteral("save/new"))).isDir());
        QCOMPARE(QDir(at(QStringLiteral("save/new")))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void givenOnlyARelativeSaveFolder_whenRunWithoutWindow_thenTheDiscIsFoundOnAVolume() {
        const auto [code, errors] = runSetup({QStringLiteral("--save"), QStringLiteral("saves")});
        QCOMPARE(errors, QString());
        QCOMPARE(code, 0);
        QCOMPARE(read("GameDir"), at(QStringLiteral("game")));
        QCOMPARE(read("SaveDir"), at(QStringLiteral("data/saves")));
    }

    void givenABadFolder_whenRunWithoutWindow_thenRefusedNamingItAndNothingWritten_data() {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("save");
        QTest::addColumn<bool>("unprivileged");
        QTest::addColumn<QString>("error");
        QTest::newRow("no archive") << QStringLiteral("empty") << QStringLiteral("save") << false
                                    << QStringLiteral("mg_data.stf is missing in %1/empty");
        QTest::newRow("save folder below a file")
            << QStringLiteral("game") << QStringLiteral("game/MG_DATA.STF/save") << false
            << QStringLiteral("the save folder %1/game/MG_DATA.STF/save cannot be made: ");
        QTest::newRow("read-only save folder")
            << QStringLiteral("game") << QStringLiteral("save") << true
            << QStringLiteral("the save folder %1/save is not writable: ");
    }

    void givenABadFolder_whenRunWithoutWindow_thenRefusedNamingItAndNothingWritten() {
        QFETCH(QString, game);
        QFETCH(QString, save);
        QFETCH(bool, unprivileged);
        QFETCH(QString, error);
        if (unprivileged) {
            // Folders the child may look into but not write into (as "nobody" when root).
            QVERIFY(QDir().mkpath(at(save)));
            QVERIFY(QFile::setPermissions(
                at(save), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
            QVERIFY(QFile::setPermissions(root_->path(), QFile::ReadOwner | QFile::WriteOwner |
                                                             QFile::ExeOwner | QFile::ExeOther));
            for (const char* folder : {"game", "config"}) {
                QFile::setPermissions(at(QString::fromLatin1(folder)),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther);
            }
        }
        const auto [code, errors] = runSetup(
            {QStringLiteral("--game"), at(game), QStringLiteral("--save"), at(save)}, unprivileged);
        QCOMPARE(code, 1);
        QVERIFY2(errors.startsWith(QStringLiteral("corvan-setup: ") + error.arg(root_->path())),
                 qPrintable(errors));
        QCOMPARE(readFile(ini()), kMyLines);
        if (!unprivileged) QVERIFY(!QFileInfo::exists(at(QStringLiteral("save"))));
    }

    void
    givenTheDiscOnAVolume_whenTheWindowOpens_thenItAndTheDataFolderAreProposedAndSetWritesThem() {
        // The recorded GameDir and the volume name the same folder: it is listed once.
        writeFile(
            ini(),
            QStringLiteral("[Corvan]\nGameDir=%1/\n").arg(at(QStringLiteral("game"))).toUtf8());
        const QStringList found = corvan::setup::findGameFolders(store());
        QCOMPARE(found, QStringList{at(QStringLiteral("game"))});
        const QString save = corvan::setup::proposedSaveFolder(store());
        QCOMPARE(save, at(QStringLiteral("data/corvan/save")));

        RecordingDialog dialog(store(), found, save);
        dialog.show();
        QCOMPARE(dialog.gameStatus(), QStringLiteral("mg_data.stf があります。"));
        dialog.press(QStringLiteral("設定"));
        QCOMPARE(dialog.warnings, QStringList());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(read("GameDir"), at(QStringLiteral("game")));
        QCOMPARE(read("SaveDir"), at(QStringLiteral("data/corvan/save")));
        QVERIFY(QFileInfo(save).isDir());
    }

    void givenAFolderWithoutTheArchive_whenSetPressed_thenWarnedAndAfterPickingTheDiscAccepted() {
        RecordingDialog dialog(store(), {}, at(QStringLiteral("save")));
        dialog.show();
        QVERIFY2(dialog.gameStatus().startsWith(QStringLiteral("ゲームのデータが見つかりません。")),
                 qPrintable(dialog.gameStatus()));
        dialog.findChild<QComboBox*>(QStringLiteral("gameFolder"))
            ->setCurrentText(at(QStringLiteral("empty")));
        QCOMPARE(dialog.gameStatus(),
                 QStringLiteral("このフォルダには mg_data.stf がありません。"));
        dialog.press(QStringLiteral("設定"));
        QCOMPARE(dialog.warnings,
                 QStringList{QStringLiteral("フォルダ %1 に mg_data.stf がありません。\n"
                                            "ゲームＣＤか、その内容をコピーしたフォルダを指定して"
                                            "ください。")
                                 .arg(at(QStringLiteral("empty")))});
        QVERIFY(dialog.isVisible());
        QCOMPARE(readFile(ini()), kMyLines);

        dialog.pickedFolder = at(QStringLiteral("game"));
        dialog.findChild<QPushButton*>(QStringLiteral("chooseGameFolder"))->click();
        QCOMPARE(dialog.gameStatus(), QStringLiteral("mg_data.stf があります。"));
        dialog.press(QStringLiteral("設定"));
        QCOMPARE(dialog.warnings.size(), 1);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(read("GameDir"), at(QStringLiteral("game")));
        QCOMPARE(read("SaveDir"), at(QStringLiteral("save")));
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetupTest tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "setup_test.moc"
