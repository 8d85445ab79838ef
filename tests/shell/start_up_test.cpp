// Starting the program: the refusal when the game was never set up, the search for the archive
// through the file-open dialog, the settings fixtures that every program reads alike, and the
// programs' --help.

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include "shell/game_shell.h"
#include "shell_fixture.h"
#include "support/settings_fixture_rows.h"

namespace corvan::shell::test {
namespace {

class StartUpTest : public QObject {
    Q_OBJECT
private slots:
    void init() { writeIni(QString()); }

    void givenSaveDirNull_whenStarted_thenAStopBoxRefusesAndTheProgramEnds() {
        GameFolders folders(twoPageStory());
        writeIni(QStringLiteral("[Corvan]\nSaveDir=NULL\nGameDir=%1\n").arg(folders.gameDir()));
        GameShell shell({});
        std::vector<QtHost::MessageRequest> boxes;
        shell.host().setMessageHook([&](const QtHost::MessageRequest& request) {
            boxes.push_back(request);
            return QMessageBox::Ok;
        });
        QSignalSpy closed(&shell.mainWindow(), &MainWindow::closed);
        shell.start();
        QCOMPARE(boxes.size(), 1u);
        QCOMPARE(boxes[0].caption, QStringLiteral("コルヴァン"));
        QCOMPARE(
            boxes[0].text,
            QStringLiteral("セーブドライブが設定されていません。先に setup を実行してください。"));
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!shell.mainWindow().isVisible());
        QTRY_COMPARE(closed.count(), 1);
        QVERIFY(shell.mainWindow().gameEnded());
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
        QTRY_COMPARE(shell.game().waitKind, 1);
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
        shell.start();
        if (!fixture.installed) {
            QCOMPARE(boxes, QStringList{QStringLiteral(
                                "セーブドライブが設定されていません。先に setup を実行してください。")});
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
