// The main window: its fixed 640x480 client, Image1 showing the game's screen surface, the
// mouse reaching the game, and the shutdown when the window closes.

#include <QSignalSpy>
#include <QtTest>

#include "shell/game_shell.h"
#include "shell_fixture.h"

namespace corvan::shell::test {
namespace {

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { writeIni(QString()); }

    void givenAStartedGame_thenTheWindowIsAFixed640x480ClientCaptionedCorvan() {
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders);
        MainWindow& window = shell->mainWindow();
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("コルヴァン"));
        QCOMPARE(window.size(), QSize(640, 480));
        QCOMPARE(window.minimumSize(), QSize(640, 480));
        QCOMPARE(window.maximumSize(), QSize(640, 480));
        QVERIFY(window.bordered());
        QCOMPARE(window.image1().geometry(), QRect(0, 0, 640, 480));
        QCOMPARE(window.timer1().interval(), 60);
    }

    void givenScreenPixels_whenRepainted_thenImage1ShowsTheirColours() {
        GameShell shell({});
        shell.mainWindow().show();
        Bitmap& screen = shell.game().screen;
        // Blue, green, red bytes, as the game stores them.
        std::uint8_t* topLeft = screen.row(0);
        topLeft[0] = 0x11, topLeft[1] = 0x22, topLeft[2] = 0x33;
        std::uint8_t* bottomRight = screen.row(479) + 639 * 3;
        bottomRight[0] = 0xFF, bottomRight[1] = 0x00, bottomRight[2] = 0x80;
        shell.host().repaint(screen);
        const QImage shown = shell.mainWindow().image1().grab().toImage();
        QCOMPARE(shown.size(), QSize(640, 480));
        QCOMPARE(shown.pixelColor(0, 0), QColor(0x33, 0x22, 0x11));
        QCOMPARE(shown.pixelColor(639, 479), QColor(0x80, 0x00, 0xFF));
        QCOMPARE(shown.pixelColor(320, 240), QColor(Qt::black));
    }

    void givenAPageWait_whenImage1IsLeftClicked_thenTheWaitEndsAndTheStoryGoesOn() {
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders);
        Game& game = shell->game();
        QTRY_COMPARE(game.waitKind, WaitKind::Page);
        const auto pageEnd = game.scriptPos;
        click(shell->mainWindow().image1(), Qt::LeftButton, QPoint(320, 240));
        QCOMPARE(game.waitKind, WaitKind::None);
        QTRY_COMPARE(game.waitKind, WaitKind::Page);
        QVERIFY(game.scriptPos > pageEnd);
    }

    void givenAPageWait_whenRightOrMiddleClicked_thenTheWaitStays() {
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders);
        Game& game = shell->game();
        QTRY_COMPARE(game.waitKind, WaitKind::Page);
        click(shell->mainWindow().image1(), Qt::MiddleButton, QPoint(100, 100));
        click(shell->mainWindow().image1(), Qt::RightButton, QPoint(300, 300));
        QCOMPARE(game.waitKind, WaitKind::Page);
    }

    void givenAPageWait_whenTheSecondPressOfADoubleClickComes_thenItTurnsThePageToo() {
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders);
        Game& game = shell->game();
        ScreenView& image1 = shell->mainWindow().image1();
        QTRY_COMPARE(game.waitKind, WaitKind::Page);
        click(image1, Qt::LeftButton, QPoint(50, 50));
        QTRY_COMPARE(game.waitKind, WaitKind::Page);
        sendMouse(image1, QEvent::MouseButtonDblClick, Qt::LeftButton, QPoint(50, 50));
        QCOMPARE(game.waitKind, WaitKind::None);
        sendMouse(image1, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(50, 50));
    }

    void givenARunningGame_whenTheWindowCloses_thenTheGameShutsDownOnce() {
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders);
        MainWindow& window = shell->mainWindow();
        QSignalSpy closed(&window, &MainWindow::closed);
        QTRY_COMPARE(shell->game().waitKind, WaitKind::Page);
        window.close();
        QVERIFY(window.gameEnded());
        QCOMPARE(closed.count(), 1);
        QVERIFY(!window.timer1().isActive());
        // Nothing reaches the game any more.
        const auto idleCalls = shell->game().idleCalls;
        click(window.image1(), Qt::LeftButton, QPoint(10, 10));
        QCOMPARE(shell->game().waitKind, WaitKind::Page);
        QTest::qWait(60);
        QCOMPARE(shell->game().idleCalls, idleCalls);
        window.endGame();
        QCOMPARE(closed.count(), 1);
    }

    void givenACallIntoTheGame_whenTheWindowClosesDuringIt_thenTheShutdownWaitsForTheCall() {
        GameShell shell({});
        MainWindow& window = shell.mainWindow();
        window.show();
        bool endedInside = true;
        shell.mainWindow().callGame([&](Game&) {
            window.close();
            endedInside = window.gameEnded();
        });
        QVERIFY(!endedInside);
        QVERIFY(window.gameEnded());
    }

    void givenACallLettingEventsThrough_thenTheTimerRunsButTheIdleHandlerDoesNot() {
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders);
        Game& game = shell->game();
        QTRY_COMPARE(game.waitKind, WaitKind::Page);
        std::int64_t idleBefore = 0, idleAfter = 0;
        std::int32_t ticksBefore = 0, ticksAfter = 0;
        shell->mainWindow().callGame([&](Game& g) {
            idleBefore = g.idleCalls;
            ticksBefore = g.tickCount;
            QTest::qWait(200);
            // A busy machine may hold the 60 ms timer back: wait for its tick, not for a time.
            QTRY_VERIFY(g.tickCount > ticksBefore);
            idleAfter = g.idleCalls;
            ticksAfter = g.tickCount;
        });
        QCOMPARE(idleAfter, idleBefore);
        QVERIFY(ticksAfter > ticksBefore);
        QTRY_VERIFY(game.idleCalls > idleAfter);
    }

    void givenAnEndlessLoopAndDebug_thenStandardErrorNamesItsChunkAndLineOnce() {
        GameFolders folders(std::vector<std::pair<std::string, std::string>>{
            {"main", "*flag_on 3\n:w\n*if_off 20 w\n"}});
        CapturedErrors errors;
        folders.writeSettings();
        GameShell shell(GameOptions{});
        shell.host().setDebug(true);
        shell.start();
        QTRY_VERIFY(shell.game().scriptLooping());
        QTest::qWait(100);  // the loop goes on, told only once
        QCOMPARE(errors.text(), QStringLiteral("corvan: script-loop main:3\n"));
    }

    void givenAPageWait_thenTheIdleTimerRestsAndTheNextCallDrawsTheNumbersItRestedThrough() {
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders);
        Game& game = shell->game();
        QTRY_COMPARE(game.waitKind, WaitKind::Page);
        QTRY_VERIFY(shell->mainWindow().idleResting());
        const std::int64_t calls = game.idleCalls;
        Random expected = game.random;
        QTest::qWait(300);
        sendMouse(shell->mainWindow().image1(), QEvent::MouseMove, Qt::NoButton, QPoint(5, 5));
        const std::int64_t rested = game.idleCalls - calls;
        QVERIFY2(rested >= 10, qPrintable(QString::number(rested)));
        for (std::int64_t i = 0; i < rested; ++i) expected.next();
        QCOMPARE(game.random.state(), expected.state());
        // A click gives the story work again: the idle handler runs on.
        click(shell->mainWindow().image1(), Qt::LeftButton, QPoint(320, 240));
        QVERIFY(!shell->mainWindow().idleResting());
        QTRY_COMPARE(game.waitKind, WaitKind::Page);
    }

    void givenAPlacement_whenUnbordered_thenTheWindowIsFramelessThereWithTheSameClient() {
        GameShell shell({});
        MainWindow& window = shell.mainWindow();
        window.show();
        shell.host().placeMainWindow({-4, -16}, {648, 512}, false);
        QVERIFY(window.isVisible());
        QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(window.pos(), QPoint(-4, -16));
        QCOMPARE(window.size(), QSize(640, 480));
        shell.host().placeMainWindow({188, 128}, {648, 512}, true);
        QVERIFY(!window.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(window.pos(), QPoint(188, 128));
        QCOMPARE(window.size(), QSize(640, 480));
    }
};

}  // namespace

std::unique_ptr<QObject> makeMainWindowTests() {
    return std::make_unique<MainWindowTest>();
}

}  // namespace corvan::shell::test

#include "main_window_test.moc"
