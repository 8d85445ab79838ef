// The game window on today's screens, run on a real X server (Xvfb): the picture at 2x (and 3x
// cut to the 2x that fits) with every click landing on the game pixel under it, fullscreen with
// black bars, a sharp picture where a logical pixel is several device pixels, and every key the
// window knows.

#include <QSignalSpy>
#include <QtTest>

#include "shell/game_shell.h"
#include "shell/picture_layout.h"
#include "shell_fixture.h"

namespace corvan::shell::test {
namespace {

std::unique_ptr<GameShell> startedOn(const GameFolders& folders, DisplayRequest display,
                                     const QString& extraSettings = QString()) {
    folders.writeSettings(QStringLiteral("Delay=1\n") + extraSettings);
    auto shell =
        std::make_unique<GameShell>(GameOptions{.withSound = false}, SettingsFile(), display);
    shell->host().setMessageHook([](const QtHost::MessageRequest& request) {
        qWarning("unexpected message box: %s", qPrintable(request.text));
        return QMessageBox::Cancel;
    });
    shell->start();
    return shell;
}

void pressAt(ScreenView& view, QPointF at) {
    QMouseEvent event(QEvent::MouseButtonPress, at, view.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &event);
}

// A choice of three rows after a page, and a second page after the choice.
std::vector<std::pair<std::string, std::string>> choiceStory() {
    return {{"main",
             "一ページ目。▼\n*select 3\n北\n南\n西\n:CASE1\n北へ。▼\n:CASE2\n南へ。▼\n:CASE3\n"
             "西へ。▼\n:end\n"}};
}

class DisplayTest : public QObject {
    Q_OBJECT
private slots:
    void init() { writeIni(QString()); }

    void givenAScaleTooLargeForTheScreen_thenTheLargestThatFitsIsUsedAndSaid() {
        GameFolders folders(twoPageStory());
        CapturedErrors errors;
        const auto shell = startedOn(folders, {.scale = 3});
        // Xvfb's 1920x1080 takes 2x with a window frame; 3x would be 1920x1440.
        QCOMPARE(shell->mainWindow().size(), QSize(1280, 960));
        QVERIFY2(errors.text().contains(QStringLiteral("scale 3 does not fit the screen")),
                 qPrintable(errors.text()));
    }

    void givenScale2_thenTheWindowGrowsAndEveryPixelCentreMapsToItsPixel() {
        for (const int scale : {2}) {
            GameFolders folders(twoPageStory());
            const auto shell = startedOn(folders, {.scale = scale});
            MainWindow& window = shell->mainWindow();
            QCOMPARE(window.size(), QSize(640 * scale, 480 * scale));
            QCOMPARE(window.image1().pictureTarget(), QRect(0, 0, 640 * scale, 480 * scale));
            QCOMPARE(shell->messageWindow().size(), QSize(576 * scale, 96 * scale));

            QSignalSpy pressed(&window.image1(), &ScreenView::pressed);
            const QList<QPoint> pixels = {{0, 0}, {639, 479}, {320, 240}, {1, 478}};
            for (const QPoint& pixel : pixels) {
                pressAt(window.image1(),
                        QPointF((pixel.x() + 0.5) * scale, (pixel.y() + 0.5) * scale));
                // The last device pixel of the scaled pixel still belongs to it.
                pressAt(window.image1(), QPointF(pixel.x() * scale + scale - 0.01,
                                                 pixel.y() * scale + scale - 0.01));
            }
            QCOMPARE(pressed.size(), 2 * pixels.size());
            for (int i = 0; i < pressed.size(); ++i) {
                QCOMPARE(pressed[i][1].toPoint(), pixels[i / 2]);
            }

            // Each game pixel is a crisp square of scale x scale.
            Bitmap& screen = shell->game().screen;
            for (int x = 0; x < 640; ++x) screen.row(0)[x * 3 + 2] = x % 2 == 0 ? 0xFF : 0x00;
            const QImage shown = window.image1().grab().toImage();
            for (int x = 0; x < 6 * scale; ++x) {
                const int red = (x / scale) % 2 == 0 ? 0xFF : 0x00;
                QCOMPARE(shown.pixelColor(x, scale - 1).red(), red);
            }
        }
    }

    void givenFullScreenByF11_thenThePictureKeepsItsShapeBetweenBarsAndTheChoiceIsKept() {
        GameFolders folders(twoPageStory());
        const auto shell = startedOn(folders, {.scale = 1});
        MainWindow& window = shell->mainWindow();
        QTest::keyClick(&window, Qt::Key_F11);
        QVERIFY(window.fullScreenMode());
        const QSize screen = window.screen()->size();
        QTRY_COMPARE(window.size(), screen);
        // Xvfb's 1920x1080: twice the picture, centred.
        const QRect target = pictureRect(screen, QSize(640, 480), false);
        QCOMPARE(target.size(), QSize(1280, 960));
        QCOMPARE(window.image1().pictureTarget(), target);
        QVERIFY(readIni().contains(QStringLiteral("FullScreen=1")));

        QSignalSpy pressed(&window.image1(), &ScreenView::pressed);
        pressAt(window.image1(), QPointF(target.left() + 2 * 320 + 1, target.top() + 2 * 240 + 1));
        pressAt(window.image1(), QPointF(target.left() - 1, target.top() + 10));  // a bar
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0][1].toPoint(), QPoint(320, 240));

        // Smooth scaling fills the height.
        window.setSmooth(true);
        QCOMPARE(window.image1().pictureTarget(), pictureRect(screen, QSize(640, 480), true));
        QCOMPARE(window.image1().pictureTarget().height(), screen.height());

        QTest::keyClick(&window, Qt::Key_Return, Qt::AltModifier);
        QVERIFY(!window.fullScreenMode());
        QTRY_COMPARE(window.size(), QSize(640, 480));
        QVERIFY(readIni().contains(QStringLiteral("FullScreen=0")));
    }

    void givenMoreDevicePixelsThanLogicalOnes_thenEveryDevicePixelIsAGamePixelsColour() {
        GameFolders folders(twoPageStory());
        const auto shell = startedOn(folders, {.scale = 1});
        const QPixmap grabbed = shell->mainWindow().image1().grab();
        if (grabbed.devicePixelRatio() <= 1.0) QSKIP("runs with QT_SCALE_FACTOR=2");
        Bitmap& screen = shell->game().screen;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                std::uint8_t* p = screen.row(y) + x * 3;
                p[0] = p[1] = p[2] = (x + y) % 2 == 0 ? 0xFF : 0x00;
            }
        }
        const QImage shown = shell->mainWindow().image1().grab().toImage();
        const int ratio = static_cast<int>(grabbed.devicePixelRatio());
        for (int y = 0; y < 8 * ratio; ++y) {
            for (int x = 0; x < 8 * ratio; ++x) {
                const int want = (x / ratio + y / ratio) % 2 == 0 ? 0xFF : 0x00;
                QCOMPARE(shown.pixelColor(x, y).green(), want);
            }
        }
    }

    void givenKeys_thenTheyReadOnPickRowsOpenTheMenuAndSkip() {
        GameFolders folders(choiceStory());
        // Skipping reads on through pages not read before too, as this player asked.
        const auto shell = startedOn(folders, {.scale = 1}, QStringLiteral("SkipUnread=1\n"));
        MainWindow& window = shell->mainWindow();
        Game& game = shell->game();
        QTRY_COMPARE(game.waitKind, WaitKind::Page);
        QTest::keyClick(&window, Qt::Key_Space);
        QTRY_COMPARE(game.menuKind, MenuKind::Choice);

        // Down twice, up once, wrapping from the first row to the last: the second row, by
        // arrows and by the wheel alike.
        QTest::keyClick(&window, Qt::Key_Down);
        QCOMPARE(game.hoveredRow, 1);
        QTest::keyClick(&window, Qt::Key_Up);
        QCOMPARE(game.hoveredRow, 3);
        QWheelEvent wheel(QPointF(10, 10), window.mapToGlobal(QPointF(10, 10)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&window.image1(), &wheel);
        QCOMPARE(game.hoveredRow, 2);
        QTest::keyClick(&window, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(game.menuKind, MenuKind::None);
        QTRY_COMPARE(game.waitKind, WaitKind::Page);
        QCOMPARE(game.lastChunk, std::string("main"));
        QVERIFY(QByteArray(reinterpret_cast<const char*>(game.lineBuffer.data()))
                    .contains(QByteArray("\x93\xEC", 2)));  // 南: the second row's branch

        // Escape is the right button: the system menu opens and closes.
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(game.menuKind, MenuKind::System);
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(game.menuKind, MenuKind::None);
        QCOMPARE(game.waitKind, WaitKind::Page);

        // Holding Ctrl ends the waits as they come, to the end of the story.
        QTest::keyPress(&window, Qt::Key_Control);
        QTRY_VERIFY(!game.scriptRunning);
        QTest::keyRelease(&window, Qt::Key_Control);
    }

    void givenScreenshotAndVolumeKeys_thenAPictureIsSavedAndTheVolumeStoredOnlyWhenChanged() {
        QTemporaryDir pictures;
        qputenv("XDG_PICTURES_DIR", QFile::encodeName(pictures.path()));
        GameFolders folders(twoPageStory());
        const auto shell = startedOn(folders, {.scale = 2});
        std::vector<int> volumes;
        shell->setMusicVolumeSink([&](int v) { volumes.push_back(v); });
        MainWindow& window = shell->mainWindow();
        QVERIFY(!readIni().contains(QStringLiteral("Volume")));

        QTest::keyClick(&window, Qt::Key_F12);
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
        const QStringList saved = QDir(pictures.path()).entryList({QStringLiteral("corvan-*.png")});
        QCOMPARE(saved.size(), 2);
        QCOMPARE(QImage(QDir(pictures.path()).filePath(saved[0])).size(), QSize(640, 480));

        QTest::keyClick(&window, Qt::Key_Plus);
        QTest::keyClick(&window, Qt::Key_Plus);
        QTest::keyClick(&window, Qt::Key_Plus);  // already at 100
        QTest::keyClick(&window, Qt::Key_Minus);
        QCOMPARE(volumes, (std::vector<int>{90, 100, 90}));
        QVERIFY(readIni().contains(QStringLiteral("Volume=90")));
        qunsetenv("XDG_PICTURES_DIR");
    }
};

}  // namespace

std::unique_ptr<QObject> makeDisplayTests() {
    return std::make_unique<DisplayTest>();
}

}  // namespace corvan::shell::test

#include "display_test.moc"
