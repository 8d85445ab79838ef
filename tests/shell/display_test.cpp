// The game window on today's screens, run on a real X server (Xvfb): the picture at 2x (and 3x
// cut to the 2x that fits) with every click landing on the game pixel under it, fullscreen with
// black bars, a sharp picture where a logical pixel is several device pixels, and every key the
// window knows with what it says over the picture. On a 1366x768 screen (its own ctest entry)
// the window and fullscreen fill the screen with the sharp scaling, painted part by part.

#include <QSignalSpy>
#include <QtTest>

#include "shell/game_shell.h"
#include "shell/picture_layout.h"
#include "shell/picture_note.h"
#include "shell_fixture.h"

namespace corvan::shell::test {
namespace {

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
        const auto shell = startedShell(folders, QString(), {.scale = 3});
        // Xvfb's 1920x1080 takes 2x with a window frame; 3x would be 1920x1440.
        QCOMPARE(shell->mainWindow().size(), QSize(1280, 960));
        QVERIFY2(errors.text().contains(QStringLiteral("scale 3 does not fit the screen")),
                 qPrintable(errors.text()));
        // Without a scale, the automatic scaling keeps 2x: it fills most of the screen.
        const auto automatic = startedShell(folders, QString(), {});
        QCOMPARE(automatic->mainWindow().size(), QSize(1280, 960));
        QCOMPARE(automatic->mainWindow().image1().pictureFit().scaling, Scaling::Whole);
    }

    void givenScale2_thenTheWindowGrowsAndEveryPixelCentreMapsToItsPixel() {
        for (const int scale : {2}) {
            GameFolders folders(twoPageStory());
            const auto shell = startedShell(folders, QString(), {.scale = scale});
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
        const auto shell = startedShell(folders, QString(), {.scale = 1});
        MainWindow& window = shell->mainWindow();
        QTest::keyClick(&window, Qt::Key_F11);
        QVERIFY(window.fullScreenMode());
        const QSize screen = window.screen()->size();
        QTRY_COMPARE(window.size(), screen);
        // Xvfb's 1920x1080: twice the picture, centred.
        const PictureFit fit = fitPicture(screen, QSize(640, 480), Scaling::Auto);
        const QRect target = fit.target;
        QCOMPARE(target.size(), QSize(1280, 960));
        QCOMPARE(fit.scaling, Scaling::Whole);
        QCOMPARE(window.image1().pictureTarget(), target);
        QVERIFY(readIni().contains(QStringLiteral("FullScreen=1")));

        QSignalSpy pressed(&window.image1(), &ScreenView::pressed);
        pressAt(window.image1(), QPointF(target.left() + 2 * 320 + 1, target.top() + 2 * 240 + 1));
        pressAt(window.image1(), QPointF(target.left() - 1, target.top() + 10));  // a bar
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0][1].toPoint(), QPoint(320, 240));

        // Smooth and sharp scaling fill the height.
        for (const Scaling scaling : {Scaling::Smooth, Scaling::Sharp}) {
            window.setScaling(Scaling::Auto, scaling);
            QCOMPARE(window.image1().pictureTarget(), QRect(240, 0, 1440, 1080));
            QCOMPARE(window.image1().pictureFit().scaling, scaling);
        }

        QTest::keyClick(&window, Qt::Key_Return, Qt::AltModifier);
        QVERIFY(!window.fullScreenMode());
        QTRY_COMPARE(window.size(), QSize(640, 480));
        QVERIFY(readIni().contains(QStringLiteral("FullScreen=0")));
    }

    void givenMoreDevicePixelsThanLogicalOnes_thenEveryDevicePixelIsAGamePixelsColour() {
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders, QString(), {.scale = 1});
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
        const auto shell = startedShell(folders, QStringLiteral("SkipUnread=1\n"), {.scale = 1});
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

        // Holding Ctrl ends the waits as they come, to the end of the story, with its mark shown
        // over the picture while it skips.
        QVERIFY(!window.readingMark().isVisible());
        QTest::keyPress(&window, Qt::Key_Control);
        QTRY_VERIFY(window.readingMark().isVisible());
        QCOMPARE(window.readingMark().text(), QStringLiteral("スキップ"));
        QTRY_VERIFY(!game.scriptRunning);
        QTest::keyRelease(&window, Qt::Key_Control);
        QVERIFY(!window.readingMark().isVisible());
    }

    void givenScreenshotAndVolumeKeys_thenAPictureIsSavedAndTheVolumeStoredOnlyWhenChanged() {
        QTemporaryDir pictures;
        qputenv("XDG_PICTURES_DIR", QFile::encodeName(pictures.path()));
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders, QString(), {.scale = 2});
        std::vector<int> volumes;
        shell->setMusicVolumeSink([&](int v) { volumes.push_back(v); });
        MainWindow& window = shell->mainWindow();
        PictureNote& notice = window.notice();
        QVERIFY(!readIni().contains(QStringLiteral("Volume")));

        QTest::keyClick(&window, Qt::Key_F12);
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
        const QStringList saved = QDir(pictures.path()).entryList({QStringLiteral("corvan-*.png")});
        QCOMPARE(saved.size(), 2);
        QCOMPARE(QImage(QDir(pictures.path()).filePath(saved[0])).size(), QSize(640, 480));

        // Each says so over the picture, with the file's name; the picture saved is the game's
        // screen without it, and the window shows it only over the picture.
        QVERIFY(notice.isVisible());
        const QStringList said = notice.text().split(QLatin1Char('\n'));
        QCOMPARE(said.size(), 2);
        QCOMPARE(said[0], QStringLiteral("スクリーンショットを保存しました"));
        QVERIFY2(saved.contains(said[1]), qPrintable(said[1]));
        const QImage savedImage =
            QImage(QDir(pictures.path()).filePath(said[1])).convertToFormat(QImage::Format_RGB32);
        const Bitmap& screen = shell->game().screen;
        const QImage gameImage(screen.row(0), 640, 480, static_cast<qsizetype>(screen.stride()),
                               QImage::Format_BGR888);
        QCOMPARE(savedImage, gameImage.convertToFormat(QImage::Format_RGB32));
        const QRect noticeArea = notice.geometry();
        const QImage withNotice = window.image1().grab(noticeArea).toImage();
        notice.hide();
        QVERIFY(window.image1().grab(noticeArea).toImage() != withNotice);

        QTest::keyClick(&window, Qt::Key_Plus);
        QCOMPARE(notice.text(), QStringLiteral("音楽の音量 90"));
        QTest::keyClick(&window, Qt::Key_Plus);
        QTest::keyClick(&window, Qt::Key_Plus);  // already at 100
        QCOMPARE(notice.text(), QStringLiteral("音楽の音量 100"));
        QTest::keyClick(&window, Qt::Key_Minus);
        QCOMPARE(volumes, (std::vector<int>{90, 100, 90}));
        QVERIFY(readIni().contains(QStringLiteral("Volume=90")));
        QVERIFY(notice.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!notice.isVisible(), 10000);

        // A folder nothing can be written into: the notice says it failed, and where.
        qputenv("XDG_PICTURES_DIR", "/proc");
        QTest::keyClick(&window, Qt::Key_F12);
        QCOMPARE(notice.text(),
                 QStringLiteral("スクリーンショットを保存できませんでした\n保存先: /proc"));
        qunsetenv("XDG_PICTURES_DIR");
    }

    void givenA1366x768Screen_thenTheWindowAndFullScreenFillItSharplyAndClicksReachThePixelShown() {
        if (QGuiApplication::primaryScreen()->size() != QSize(1366, 768)) {
            QSKIP("runs on a 1366x768 screen");
        }
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders, QString(), {});
        MainWindow& window = shell->mainWindow();
        // 1x would leave most of the screen unused: the window takes what the screen allows.
        QVERIFY2(window.width() > 640 && window.height() > 480,
                 qPrintable(QStringLiteral("%1x%2").arg(window.width()).arg(window.height())));
        QCOMPARE(window.image1().pictureTarget(), window.image1().rect());
        QCOMPARE(window.image1().pictureFit().scaling, Scaling::Sharp);
        checkSharpPixelsUnderClicks(window.image1(), shell->game().screen);

        QTest::keyClick(&window, Qt::Key_F11);
        QTRY_COMPARE(window.size(), QSize(1366, 768));
        QCOMPARE(window.image1().pictureTarget(), QRect(171, 0, 1024, 768));
        QCOMPARE(window.image1().pictureFit().scaling, Scaling::Sharp);
        checkSharpPixelsUnderClicks(window.image1(), shell->game().screen);
    }

    void givenASharpPicture_whenAPartIsDamaged_thenOnlyThatPartIsPaintedAsAWholePaintWouldBe() {
        if (QGuiApplication::primaryScreen()->size() != QSize(1366, 768)) {
            QSKIP("runs on a 1366x768 screen");
        }
        GameFolders folders(twoPageStory());
        const auto shell = startedShell(folders, QString(), {});
        MainWindow& window = shell->mainWindow();
        ScreenView& view = window.image1();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(shell->game().waitKind, WaitKind::Page);
        Bitmap& screen = shell->game().screen;
        paintStripes(screen, true);
        view.repaint();

        // A red block drawn and reported, a small green one drawn but not reported.
        for (int y = 100; y < 132; ++y) {
            for (int x = 100; x < 132; ++x) setPixel(screen, x, y, 0xFF, 0, 0);
        }
        for (int y = 299; y < 302; ++y) {
            for (int x = 399; x < 402; ++x) setPixel(screen, x, y, 0, 0xFF, 0);
        }
        view.repaintPicture({100, 100, 132, 132});
        const QImage onScreen = window.screen()->grabWindow(view.winId()).toImage();
        const QImage whole = view.grab().toImage();
        const double scale = view.pictureTarget().width() / 640.0;
        const QRect block = QRectF(100 * scale, 100 * scale, 32 * scale, 32 * scale)
                                .toAlignedRect()
                                .adjusted(-1, -1, 1, 1);
        // The filter's arithmetic may round a span painted alone one level apart.
        const auto near = [](QColor a, QColor b) {
            return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
                   std::abs(a.blue() - b.blue()) <= 2;
        };
        for (int y = block.top(); y <= block.bottom(); ++y) {
            for (int x = block.left(); x <= block.right(); ++x) {
                QVERIFY2(near(onScreen.pixelColor(x, y), whole.pixelColor(x, y)),
                         qPrintable(QStringLiteral("%1,%2: %3 painted alone, %4 in the whole")
                                        .arg(x)
                                        .arg(y)
                                        .arg(onScreen.pixelColor(x, y).name(),
                                             whole.pixelColor(x, y).name())));
            }
        }
        const QPoint green = QPointF(400.5 * scale, 300.5 * scale).toPoint();
        QCOMPARE(whole.pixelColor(green), QColor(0, 0xFF, 0));
        QVERIFY(onScreen.pixelColor(green) != QColor(0, 0xFF, 0));
    }

private:
    static void setPixel(Bitmap& screen, int x, int y, int red, int green, int blue) {
        std::uint8_t* p = screen.row(y) + x * 3;
        p[0] = static_cast<std::uint8_t>(blue);
        p[1] = static_cast<std::uint8_t>(green);
        p[2] = static_cast<std::uint8_t>(red);
    }

    // White and black columns (or rows): white at even positions.
    static void paintStripes(Bitmap& screen, bool columns) {
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                const int v = (columns ? x : y) % 2 == 0 ? 0xFF : 0x00;
                setPixel(screen, x, y, v, v, v);
            }
        }
    }

    // Along a row and a column of the shown picture: each screen pixel shows mostly the colour
    // of the game pixel that a click there reaches (white or black stripes: about half white or
    // more for a white pixel, where the screen pixel's middle falls on the edge of two), and it
    // is sharp: a third or more of the screen pixels show a game
    // pixel's colour unblended, where smooth scaling would blend nearly all.
    static void checkSharpPixelsUnderClicks(ScreenView& view, Bitmap& screen) {
        const QRect target = view.pictureTarget();
        for (const bool columns : {true, false}) {
            paintStripes(screen, columns);
            const QImage shown = view.grab().toImage();
            const int length = columns ? target.width() : target.height();
            int pure = 0;
            for (int i = 0; i < length; ++i) {
                const QPoint at = columns ? QPoint(target.left() + i, target.center().y())
                                          : QPoint(target.center().x(), target.top() + i);
                const auto pixel = picturePixel(at, target, QSize(640, 480));
                QVERIFY(pixel.has_value());
                const bool white = (columns ? pixel->x() : pixel->y()) % 2 == 0;
                const int value = shown.pixelColor(at).green();
                QVERIFY2(white ? value >= 124 : value <= 131,
                         qPrintable(QStringLiteral("screen %1 shows %2 for pixel %3")
                                        .arg(i)
                                        .arg(value)
                                        .arg(columns ? pixel->x() : pixel->y())));
                if (value <= 4 || value >= 251) ++pure;
            }
            QVERIFY2(pure * 3 >= length,
                     qPrintable(QStringLiteral("%1 of %2 unblended").arg(pure).arg(length)));
        }
    }
};

}  // namespace

std::unique_ptr<QObject> makeDisplayTests() {
    return std::make_unique<DisplayTest>();
}

}  // namespace corvan::shell::test

#include "display_test.moc"
