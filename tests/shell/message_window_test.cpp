// The movable message window: a borderless 576x96 window first at (2, 2) that shows the text
// frame and is dragged by its own mouse, never passing clicks to the story.

#include <QtTest>

#include "shell/game_shell.h"
#include "shell_fixture.h"

namespace corvan::shell::test {
namespace {

class MessageWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { writeIni(QString()); }

    void givenAFrame_whenShown_thenABorderless576x96WindowAt2_2ShowsIt() {
        GameShell shell({});
        MessageWindow& window = shell.messageWindow();
        QVERIFY(!window.isVisible());
        Bitmap frame(576, 96);
        std::uint8_t* pixel = frame.row(95) + 575 * 3;
        pixel[0] = 0x40, pixel[1] = 0x80, pixel[2] = 0xC0;
        shell.host().showTextWindow(frame);
        QVERIFY(window.isVisible());
        QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(window.size(), QSize(576, 96));
        QCOMPARE(window.pos(), QPoint(2, 2));
        QCOMPARE(shell.host().textWindowPosition(), (WindowPoint{2, 2}));
        const QImage shown = window.image1().grab().toImage();
        QCOMPARE(shown.pixelColor(575, 95), QColor(0xC0, 0x80, 0x40));
        QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::black));
    }

    void givenAMovedWindow_whenHiddenAndShownAgain_thenItKeepsItsPlace() {
        GameShell shell({});
        shell.host().showTextWindow(Bitmap(576, 96));
        shell.host().moveTextWindow({100, 300});
        shell.host().hideTextWindow();
        QVERIFY(!shell.messageWindow().isVisible());
        shell.host().showTextWindow(Bitmap(576, 96));
        QVERIFY(shell.messageWindow().isVisible());
        QCOMPARE(shell.host().textWindowPosition(), (WindowPoint{100, 300}));
    }

    void givenTheShownWindow_whenDragged_thenItFollowsThePointerOnEveryFourthMove() {
        GameShell shell({});
        shell.host().showTextWindow(Bitmap(576, 96));
        MessageWindow& window = shell.messageWindow();
        ScreenView& image1 = window.image1();
        sendMouse(image1, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(10, 10));
        for (int i = 0; i < 3; ++i) {
            sendMouse(image1, QEvent::MouseMove, Qt::LeftButton, QPoint(30, 25));
        }
        QCOMPARE(window.pos(), QPoint(2, 2));
        sendMouse(image1, QEvent::MouseMove, Qt::LeftButton, QPoint(30, 25));
        QCOMPARE(window.pos(), QPoint(22, 17));
        sendMouse(image1, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(30, 25));
        for (int i = 0; i < 4; ++i) {
            sendMouse(image1, QEvent::MouseMove, Qt::NoButton, QPoint(60, 60));
        }
        QCOMPARE(window.pos(), QPoint(22, 17));
    }

    void givenAPageWait_whenTheMessageWindowIsClicked_thenTheWaitStays() {
        GameFolders folders(twoPageStory());
        folders.writeSettings(QStringLiteral("Delay=1\n"));
        GameShell shell({});
        shell.start();
        QTRY_COMPARE(shell.game().waitKind, WaitKind::Page);
        shell.host().showTextWindow(Bitmap(576, 96));
        click(shell.messageWindow().image1(), Qt::LeftButton, QPoint(100, 50));
        QCOMPARE(shell.game().waitKind, WaitKind::Page);
    }

    void givenTheShownWindow_whenTheMainWindowCloses_thenItIsHiddenToo() {
        GameShell shell({});
        shell.mainWindow().show();
        shell.host().showTextWindow(Bitmap(576, 96));
        shell.mainWindow().close();
        QVERIFY(!shell.messageWindow().isVisible());
    }
};

}  // namespace

std::unique_ptr<QObject> makeMessageWindowTests() {
    return std::make_unique<MessageWindowTest>();
}

}  // namespace corvan::shell::test

#include "message_window_test.moc"
