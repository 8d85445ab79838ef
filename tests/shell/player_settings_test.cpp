// The player settings window: opened by the key o, the Menu key's menu and Shift with the right
// button (the right button alone stays the game's), with the values in force; OK writes what
// changed and puts it in force at once, キャンセル writes nothing. The scaling choices as the
// settings store holds them.

#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QtTest>
#include <functional>

#include "shell/game_shell.h"
#include "shell_fixture.h"

namespace corvan::shell::test {
namespace {

// Runs `open`, which shows the settings window modal, and `answer` on it once it shows; true
// when it showed.
bool answered(GameShell& shell, const std::function<void()>& open,
              const std::function<void(PlayerSettingsDialog&)>& answer) {
    bool shown = false;
    QTimer::singleShot(0, [&] {
        PlayerSettingsDialog& dialog = shell.playerSettingsDialog();
        shown = dialog.isVisible();
        answer(dialog);
        if (dialog.isVisible()) dialog.reject();
    });
    open();
    return shown;
}

class PlayerSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { writeIni(QString()); }

    void givenTheKeyO_whenChangesAreConfirmed_thenOnlyTheyAreStoredAndInForceAtOnce() {
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders, QStringLiteral("AutoSpeed=3\n"));
        std::vector<int> volumes;
        shell->setMusicVolumeSink([&](int v) { volumes.push_back(v); });
        MainWindow& window = shell->mainWindow();
        QTRY_COMPARE(shell->game().waitKind, WaitKind::Page);
        const QString before = readIni();

        // What it shows: the values in force. キャンセル writes nothing.
        PlayerSettings shown;
        QVERIFY(answered(
            *shell, [&] { QTest::keyClick(&window, Qt::Key_O); },
            [&](PlayerSettingsDialog& dialog) {
                shown = dialog.chosen();
                dialog.volumeSlider().setValue(30);
                dialog.reject();
            }));
        QCOMPARE(shown, (PlayerSettings{.volume = 80,
                                        .scaling = Scaling::Auto,
                                        .fullScreen = false,
                                        .autoSpeed = 3,
                                        .skipUnread = false}));
        QCOMPARE(readIni(), before);
        QVERIFY(volumes.empty());

        // The story waits while the window is open.
        QVERIFY(answered(
            *shell, [&] { QTest::keyClick(&window, Qt::Key_O); },
            [&](PlayerSettingsDialog& dialog) {
                const auto idleCalls = shell->game().idleCalls;
                QTest::qWait(3 * MainWindow::kIdleMilliseconds);
                QCOMPARE(shell->game().idleCalls, idleCalls);
                dialog.volumeSlider().setValue(30);
                dialog.scalingBox().setCurrentIndex(2);  // シャープ
                dialog.autoSpeedSlider().setValue(8);
                dialog.skipButtons().button(1)->click();
                dialog.accept();
            }));
        const QString ini = readIni();
        for (const char* line : {"Volume=30", "Scaling=sharp", "AutoSpeed=8", "SkipUnread=1"}) {
            QVERIFY2(ini.contains(QLatin1String(line)), qPrintable(ini));
        }
        QVERIFY2(!ini.contains(QStringLiteral("FullScreen")), qPrintable(ini));
        QCOMPARE(volumes, std::vector<int>{30});
        // Sharp scaling: the window as large as the offscreen screen's 800x600 allows.
        QCOMPARE(window.image1().pictureFit().scaling, Scaling::Sharp);
        QVERIFY(window.width() > 640);
        QCOMPARE(window.image1().pictureTarget(), window.image1().rect());

        // Fullscreen, and back by the key.
        QVERIFY(answered(
            *shell, [&] { QTest::keyClick(&window, Qt::Key_O); },
            [&](PlayerSettingsDialog& dialog) {
                dialog.fullScreenBox().setChecked(true);
                dialog.accept();
            }));
        QVERIFY(window.fullScreenMode());
        QVERIFY(readIni().contains(QStringLiteral("FullScreen=1")));
        QTest::keyClick(&window, Qt::Key_F11);
        QVERIFY(!window.fullScreenMode());
    }

    void givenTheMenuKeyOrShiftWithTheRightButton_thenTheWindowsMenuOpensAndLeadsToTheSettings() {
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders);
        MainWindow& window = shell->mainWindow();
        Game& game = shell->game();
        QTRY_COMPARE(game.waitKind, WaitKind::Page);

        QTest::keyClick(&window, Qt::Key_Menu);
        QVERIFY(window.contextMenu().isVisible());
        QCOMPARE(window.contextMenu().actions().size(), 3);
        window.contextMenu().hide();

        // Shift with the right button: neither press nor release reaches the game, the menu
        // opens; the right button alone stays the game's system menu.
        QSignalSpy pressed(&window.image1(), &ScreenView::pressed);
        QSignalSpy released(&window.image1(), &ScreenView::released);
        QTest::mouseClick(&window.image1(), Qt::RightButton, Qt::ShiftModifier, QPoint(50, 50));
        QContextMenuEvent shiftClick(QContextMenuEvent::Mouse, QPoint(50, 50),
                                     window.mapToGlobal(QPoint(50, 50)), Qt::ShiftModifier);
        QApplication::sendEvent(&window, &shiftClick);
        QVERIFY(window.contextMenu().isVisible());
        QCOMPARE(pressed.size(), 0);
        QCOMPARE(released.size(), 0);
        QCOMPARE(game.menuKind, MenuKind::None);
        window.contextMenu().hide();
        QContextMenuEvent plainClick(QContextMenuEvent::Mouse, QPoint(50, 50),
                                     window.mapToGlobal(QPoint(50, 50)), Qt::NoModifier);
        QApplication::sendEvent(&window, &plainClick);
        QVERIFY(!window.contextMenu().isVisible());

        // Its first item is the settings window.
        QVERIFY(answered(
            *shell, [&] { window.contextMenu().actions().at(0)->trigger(); },
            [](PlayerSettingsDialog& dialog) { dialog.reject(); }));
    }

    void givenStoredScalings_thenTheWindowAndFullScreenScaleAsTheySay() {
        // Scaling absent: auto; the old Smooth=1 still makes fullscreen smooth; Scaling wins
        // over it; a name in any letter case; a name that is none reads as absent.
        struct Case {
            QString lines;
            Scaling window;
            Scaling fullScreen;
        };
        const Case cases[] = {
            {QString(), Scaling::Auto, Scaling::Auto},
            {QStringLiteral("Smooth=1\n"), Scaling::Auto, Scaling::Smooth},
            {QStringLiteral("Smooth=1\nScaling=whole\n"), Scaling::Whole, Scaling::Whole},
            {QStringLiteral("Scaling=Sharp\n"), Scaling::Sharp, Scaling::Sharp},
            {QStringLiteral("Scaling=crisp\nSmooth=1\n"), Scaling::Auto, Scaling::Smooth},
        };
        for (const Case& c : cases) {
            writeIni(QStringLiteral("[Corvan]\n") + c.lines);
            QtHost host;
            const DisplayChoices choices = readDisplayChoices(host, {});
            QCOMPARE(choices.scaling, c.window);
            QCOMPARE(choices.fullScreenScaling, c.fullScreen);
        }

        // Where whole numbers fill most of the area, auto keeps them; elsewhere it is sharp.
        const QSize picture(640, 480);
        QCOMPARE(fitPicture(QSize(1920, 1080), picture, Scaling::Auto).target,
                 QRect(320, 60, 1280, 960));
        QCOMPARE(fitPicture(QSize(1920, 1200), picture, Scaling::Auto).scaling, Scaling::Whole);
        const PictureFit small = fitPicture(QSize(1366, 768), picture, Scaling::Auto);
        QCOMPARE(small.target, QRect(171, 0, 1024, 768));
        QCOMPARE(small.scaling, Scaling::Sharp);
        QCOMPARE(fitPicture(QSize(1366, 768), picture, Scaling::Whole).target.size(), picture);
        QCOMPARE(windowPictureSize(QSize(1366, 740), picture, Scaling::Auto, QSize(16, 48)),
                 QSize(922, 692));
        QCOMPARE(windowPictureSize(QSize(1920, 1050), picture, Scaling::Auto, QSize(16, 48)),
                 QSize(1280, 960));
    }
};

}  // namespace

std::unique_ptr<QObject> makePlayerSettingsTests() {
    return std::make_unique<PlayerSettingsTest>();
}

}  // namespace corvan::shell::test

#include "player_settings_test.moc"
