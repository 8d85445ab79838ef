// Starting the program: the refusal when the game was never set up and the setup offered then,
// the search for the archive through the file-open dialog, the settings fixtures that every
// program reads alike, and the programs' --help.

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <iostream>
#include <sstream>

#include "setup/setup_dialog.h"
#include "shell/game_shell.h"
#include "shell_fixture.h"
#include "support/settings_fixture_rows.h"

namespace corvan::shell::test {
namespace {

const QString kNotSetUp =
    QStringLiteral("セーブドライブが設定されていません。先に setup を実行してください。");

// Fills in the setup window once it is open (it is modal: this runs from its event loop) with
// the save folder, and presses 設定.
void setUpWhenTheWindowOpens(const QString& saveFolder) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, saveFolder] {
        auto* dialog = qobject_cast<setup::SetupDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        poll->deleteLater();
        poll->stop();
        dialog->findChild<QLineEdit*>(QStringLiteral("saveFolder"))->setText(saveFolder);
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("設定")) button->click();
        }
    });
    poll->start(10);
}

class StartUpTest : public QObject {
    Q_OBJECT
private slots:
    void init() { writeIni(QString()); }

    void givenSaveDirNull_whenThePlayerDeclinesTheSetup_thenTheProgramEndsNamingFileAndKeys() {
        GameFolders folders(twoPageStory());
        writeIni(QStringLiteral("[Corvan]\nSaveDir=NULL\nGameDir=%1\n").arg(folders.gameDir()));
        GameShell shell({});
        std::vector<QtHost::MessageRequest> boxes;
        shell.host().setMessageHook([&](const QtHost::MessageRequest& request) {
            boxes.push_back(request);
            return request.buttons == QMessageBox::Ok ? QMessageBox::Ok : QMessageBox::Cancel;
        });
        QSignalSpy closed(&shell.mainWindow(), &MainWindow::closed);
        CapturedErrors errors;
        shell.start();
        QCOMPARE(boxes.size(), 2u);
        QCOMPARE(boxes[0].caption, QStringLiteral("コルヴァン"));
        QCOMPARE(boxes[0].text, kNotSetUp);
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(boxes[1].caption, QStringLiteral("コルヴァン"));
        QVERIFY2(boxes[1].text.startsWith(QStringLiteral("今すぐセットアップを実行しますか？")),
                 qPrintable(boxes[1].text));
        QCOMPARE(boxes[1].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QVERIFY(!shell.mainWindow().isVisible());
        QTRY_COMPARE(closed.count(), 1);
        QVERIFY(shell.mainWindow().gameEnded());
        for (const QString& named : {iniPath(), QStringLiteral("SaveDir="),
                                     QStringLiteral("GameDir="), QStringLiteral("corvan-setup")}) {
            QVERIFY2(errors.text().contains(named), qPrintable(errors.text()));
        }
    }

    void givenNoSaveDir_whenThePlayerRunsTheSetup_thenBothAreWrittenAndTheGameStarts() {
        GameFolders folders(twoPageStory());
        writeIni(QStringLiteral("; mine\n[Corvan]\nDelay=1\n"));
        qputenv("CORVANUP_VOLUMES", QFile::encodeName(folders.gameDir()));
        GameShell shell({});
        QStringList boxes;
        shell.host().setMessageHook([&](const QtHost::MessageRequest& request) {
            boxes << request.text;
            return QMessageBox::Ok;
        });
        setUpWhenTheWindowOpens(folders.saveDir());
        shell.start();
        qunsetenv("CORVANUP_VOLUMES");
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0], kNotSetUp);
        QCOMPARE(readIni(), QStringLiteral("; mine\n[Corvan]\nDelay=1\nGameDir=%1\nSaveDir=%2\n")
                                .arg(folders.gameDir(), folders.saveDir()));
        QVERIFY(shell.mainWindow().isVisible());
        QTRY_COMPARE(shell.game().waitKind, WaitKind::Page);
        QCOMPARE(shell.game().saveFolder.string(), folders.saveDir().toStdString());
    }

    void givenNoArchiveInGameDir_whenThePlayerPicksItInTheDialog_thenTheGameStartsThere() {
        GameFolders empty({});
        GameFolders folders(twoPageStory());
        writeIni(QStringLiteral("[Corvan]\nSaveDir=%1\nGameDir=%2\nDelay=1\n")
                     .arg(folders.saveDir(), empty.gameDir()));
        GameShell shell({});
        std::vector<QtHost::MessageRequest> boxes;
        std::vector<QtHost::FileRequest> dialogs;
        shell.host().setMessageHook([&](const QtHost::MessageRequest& request) {
            boxes.push_back(request);
            return QMessageBox::Ok;
        });
        shell.host().setFileHook([&](const QtHost::FileRequest& request) {
            dialogs.push_back(request);
            return folders.archive();
        });
        shell.start();
        QCOMPARE(boxes.size(), 1u);
        QCOMPARE(boxes[0].caption, QStringLiteral("コルヴァン起動ディレクトリ"));
        QVERIFY(
            boxes[0].text.startsWith(QStringLiteral("ファイルが見つかりません(MG_DATA.STF)。\n")));
        QCOMPARE(boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(boxes[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(dialogs.size(), 1u);
        QCOMPARE(QFileInfo(dialogs[0].startName).fileName(), QStringLiteral("mg_data.stf"));
        QCOMPARE(dialogs[0].filter, QStringLiteral("ゲームファイル (*.stf)"));
        QCOMPARE(shell.host().readSetting("GameDir").value_or(""), folders.gameDir().toStdString());
        QVERIFY(shell.mainWindow().isVisible());
        QTRY_COMPARE(shell.game().waitKind, WaitKind::Page);
    }

    void givenNoArchiveInGameDir_whenThePlayerCancelsTheQuestion_thenTheProgramEnds() {
        GameFolders empty({});
        writeIni(QStringLiteral("[Corvan]\nSaveDir=%1\nGameDir=%2\n")
                     .arg(empty.saveDir(), empty.gameDir()));
        GameShell shell({});
        int asked = 0;
        shell.host().setMessageHook([&](const QtHost::MessageRequest&) {
            ++asked;
            return QMessageBox::Cancel;
        });
        shell.host().setFileHook([](const QtHost::FileRequest&) {
            qWarning("the file dialog must not open after Cancel");
            return QString();
        });
        QSignalSpy closed(&shell.mainWindow(), &MainWindow::closed);
        shell.start();
        QCOMPARE(asked, 1);
        QTRY_COMPARE(closed.count(), 1);
        QCOMPARE(shell.host().readSetting("GameDir").value_or(""), empty.gameDir().toStdString());
    }

    void givenEachSettingsFixture_whenStarted_thenFoldersAndSpeedAsTheFileSays_data() {
        corvan::test::addSettingsFixtureRows();
    }

    // The game's half of the programs' agreement (tests/settings/fixtures_replay_test.cpp).
    void givenEachSettingsFixture_whenStarted_thenFoldersAndSpeedAsTheFileSays() {
        QFETCH(int, index);
        const corvan::test::SettingsFixture& fixture = corvan::test::kSettingsFixtures[index];
        GameFolders folders(twoPageStory());
        const QString save =
            folders.saveDir() + u'/' + QString::fromUtf8(corvan::test::kFixtureSaveFolder);
        QVERIFY(QDir().mkpath(save));
        writeIni(QString::fromStdString(corvan::test::fixtureText(
            fixture.text, save.toStdString(), folders.gameDir().toStdString())));
        GameShell shell({});
        QStringList boxes;
        shell.host().setMessageHook([&](const QtHost::MessageRequest& request) {
            boxes << request.text;
            return QMessageBox::Cancel;
        });
        const CapturedErrors errors;  // the declined setup's advice
        shell.start();
        if (!fixture.installed) {
            QCOMPARE(boxes.size(), 2);  // the refusal, then the setup offered and declined
            QCOMPARE(boxes[0], kNotSetUp);
            return;
        }
        QCOMPARE(boxes, QStringList());
        QCOMPARE(QString::fromStdString(shell.game().saveFolder.string()), save);
        QVERIFY(QFileInfo::exists(save + QStringLiteral("/seen.cv")));
        QCOMPARE(shell.game().settings.speedFactor, fixture.speedFactor);
    }

    void givenEitherProgram_whenAskedForHelp_thenItPrintsUsageAndSucceeds_data() {
        QTest::addColumn<QString>("program");
        QTest::newRow("corvan") << QStringLiteral(CORVAN_PROGRAM);
        QTest::newRow("corvan2") << QStringLiteral(CORVAN2_PROGRAM);
    }

    void givenEitherProgram_whenAskedForHelp_thenItPrintsUsageAndSucceeds() {
        QFETCH(QString, program);
        QProcess process;
        process.start(program, {QStringLiteral("--help")});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        QVERIFY2(out.startsWith(QStringLiteral("Usage: ") + QFileInfo(program).fileName()),
                 qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("Brackwell.ini")), qPrintable(out));
    }
};

}  // namespace

std::unique_ptr<QObject> makeStartUpTests() {
    return std::make_unique<StartUpTest>();
}

}  // namespace corvan::shell::test

#include "start_up_test.moc"
